#!/usr/bin/env bash
# Builds Lumaro with its tests and runs them all: the unit tests of every
# module and the end-to-end tests of the real program against a private CUPS
# server. Then the core's unit tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

jobs=$(nproc)
cmake --preset release >/dev/null
cmake --build --preset release -j"$jobs"
ctest --preset release -j"$jobs"
