#!/usr/bin/env bash
# Builds Lumaro and prints every bundled example on the built-in PDF printer.
# Each example folder is copied first, since the program deletes what it printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

# The same configuration as the test command's (tests on), so that the two
# commands share one build; only the program itself is built here.
cmake --preset release -DLUMARO_BUILD_TESTS=ON >/dev/null
cmake --build --preset release -j"$(nproc)" --target lumaro

out="$PWD/build/examples"
rm -rf "$out"
mkdir -p "$out"
status=0
for example in examples/*/; do
  name=$(basename "$example")
  [ -f "$example/Halmor.ini" ] || continue
  work="$out/work/$name"
  mkdir -p "$work"
  cp -r "$example"/. "$work"/
  set +e
  QT_QPA_PLATFORM=offscreen build/release/lumaro --folder "$work" --pdf "$out/pdf/$name" \
    --unattended --trace "$out/$name.trace.jsonl"
  rc=$?
  set -e
  echo "$name: Exit-Status $rc"
  [ "$rc" -eq 0 ] || status=1
done
echo
echo "Die PDF-Dateien liegen in $out/pdf/<Beispiel>/ :"
find "$out/pdf" -name '*.pdf' | sort
exit $status
