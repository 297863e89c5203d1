#!/usr/bin/env bash
# Builds Lumaro for 64-bit Windows with MinGW-w64 (the "windows" preset) and
# runs its tests under Wine: the unit tests of the core and of the Win32
# adapters, and the end-to-end runs of lumaro.exe. Exits non-zero when anything
# fails to build or any test fails; the last line of ctest's summary tells how
# many passed.
#
#   scripts/windows-tests.sh [-jN]      (default: -j2)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

jobs="${1:--j2}"

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || [ ! -x "$LUMARO_WINE" ]; then
  echo "MinGW-w64 oder Wine fehlt: scripts/setup.sh --tests ausführen." >&2
  exit 1
fi

cmake --preset windows -DLUMARO_BUILD_TESTS=ON >/dev/null
cmake --build --preset windows "$jobs"
scripts/wine-prefix.sh

# One wine server for the whole run. Left to itself it stops shortly after
# the last test program ends, and a test starting in that moment dies with
# "recvmsg: Connection reset by peer" instead of running. Wine's own services
# start with the first program and then stay with the server: started here,
# with no output attached, so that no test's output pipe is held open by them
# and ctest does not wait for it forever.
"$LUMARO_WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # (one may be up already)
trap '"$LUMARO_WINESERVER" -k >/dev/null 2>&1 || true' EXIT
"$LUMARO_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true

# ctest's summary ("100% tests passed, 0 tests failed out of N") is its own
# last lines; its exit status is that of the script. A build without tests
# fails here instead of passing with none.
ctest --preset windows "$jobs" --no-tests=error
