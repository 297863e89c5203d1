#!/usr/bin/env bash
# Builds the fuzz targets (the `fuzz` preset: clang-14 with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one after the
# other for SECONDS (default 8, about a minute for all). Any input that
# crashes, leaks, hangs or runs out of memory is kept in
# fuzz/regressions/<target>/, where the normal build's CTest replays it, and
# the script ends with status 1.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#   scripts/fuzz.sh 600          # the longer run: ten minutes per target
#
# The corpora grow in build/fuzz/corpus/<target> from run to run; the log of
# each run is build/fuzz/logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-8}
shift || true
all=(xml_tags conversions ini templates certificate a4_sheets a5_sheets two_halves pdf_writer)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null
fuzz/make_corpus.sh >/dev/null

# The targets write the day log and Halmor.ini for every input: a folder in
# memory keeps that from wearing on the disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
export LC_ALL=C LANG=C
mkdir -p build/fuzz/logs build/fuzz/artifacts

status=0
printf '%-12s %10s %8s %8s %8s  %s\n' target runs exec/s cov ft result
for t in "${targets[@]}"; do
  binary=build/fuzz/fuzz/fuzz_$t
  [ -x "$binary" ] || { echo "unknown fuzz target: $t" >&2; exit 2; }
  artifacts=build/fuzz/artifacts/$t
  rm -rf "$artifacts"
  mkdir -p "$artifacts"
  extra=()
  case $t in
    # Texts, not whole files: short inputs find more per second.
    xml_tags | conversions | ini | templates) extra+=(-max_len=4096) ;;
  esac
  log=build/fuzz/logs/$t.log
  set +e
  "$binary" build/fuzz/corpus/"$t" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -malloc_limit_mb=1024 -dict=build/fuzz/lumaro.dict \
    -artifact_prefix="$artifacts/" -print_final_stats=1 "${extra[@]}" >"$log" 2>&1
  rc=$?
  set -e
  # The last status line: "#RUNS DONE cov: N ft: N ... exec/s: N ...".
  line=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  runs=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$line")
  cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$line")
  ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$line")
  execs=$(sed -nE 's/^stat::average_exec_per_sec:[[:space:]]*([0-9]+)/\1/p' "$log" | tail -1)
  found=$(find "$artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
          -o -name 'oom-*' \) | wc -l)
  result=ok
  if [ "$rc" -ne 0 ] || [ "$found" -gt 0 ]; then
    result="FINDING (exit $rc), see $log"
    status=1
    mkdir -p fuzz/regressions/"$t"
    find "$artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
         -o -name 'oom-*' \) -exec cp {} fuzz/regressions/"$t"/ \;
  fi
  printf '%-12s %10s %8s %8s %8s  %s\n' "$t" "${runs:-?}" "${execs:-?}" "${cov:-?}" "${ft:-?}" \
    "$result"
done
if [ $status -ne 0 ]; then
  echo "Gefundene Eingaben liegen in fuzz/regressions/<Ziel>/ (dort von CTest nachgespielt)." >&2
fi
exit $status
