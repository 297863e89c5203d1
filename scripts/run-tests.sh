#!/usr/bin/env bash
# Builds Lumaro with its tests and runs them all:
#  1. release build: the unit tests of every module, the replay of the kept
#     fuzz inputs, the trace comparison of the examples, and the end-to-end
#     tests of the real program (a private CUPS server, faults of disk and
#     spooler);
#  2. the same suite under AddressSanitizer + UndefinedBehaviorSanitizer;
#  3. the Windows build (lumaro.exe, the core and the Win32 adapters) under
#     Wine: their unit tests and the end-to-end runs of lumaro.exe;
#  4. every fuzz target briefly (LUMARO_FUZZ_SECONDS each, default 8).
# LUMARO_SKIP_WINDOWS=1 / LUMARO_SKIP_FUZZ=1 leave out stages 3 and 4.
# Any failure ends the script with a non-zero status, and so does a stage that
# runs no test at all (each build is configured with its tests on, whatever an
# earlier configuration such as that of scripts/run-examples.sh left in the
# cache). The last line counts the tests of all stages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

jobs=$(nproc)
summary=()
total_passed=0
total_failed=0

# Runs ctest, echoing its output, and adds its counts to the totals.
run_ctest() {
  local stage=$1
  shift
  local log
  log=$(mktemp)
  set +e
  "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  set -e
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  rm -f "$log"
  if [ -n "$line" ]; then
    local failed total
    failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    total_passed=$((total_passed + total - failed))
    total_failed=$((total_failed + failed))
  fi
  summary+=("$stage: ${line:-no ctest summary} (exit $rc)")
  if [ -z "$line" ] && [ "$rc" -eq 0 ]; then
    # ctest ran nothing it could count: no test of this stage proved anything.
    return 1
  fi
  return "$rc"
}

status=0

echo "== release =="
cmake --preset release -DLUMARO_BUILD_TESTS=ON >/dev/null
cmake --build --preset release -j"$jobs"
run_ctest release ctest --preset release -j"$jobs" --no-tests=error || status=1

echo "== asan =="
cmake --preset asan -DLUMARO_BUILD_TESTS=ON >/dev/null
cmake --build --preset asan -j"$jobs"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
run_ctest asan ctest --preset asan -j"$jobs" --no-tests=error || status=1

if [ "${LUMARO_SKIP_WINDOWS:-0}" != 1 ]; then
  echo "== windows (Wine) =="
  export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all
  run_ctest windows scripts/windows-tests.sh -j"$jobs" || status=1
fi

# A kept input is replayed by CTest above and fails the run for good. A new
# finding of this short, random run is shown loudly and kept in
# fuzz/regressions/ for the replay; it fails the command only with
# LUMARO_FUZZ_STRICT=1, since the same minute of fuzzing may find it on one
# run and not on the next.
if [ "${LUMARO_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzz =="
  if scripts/fuzz.sh "${LUMARO_FUZZ_SECONDS:-8}"; then
    summary+=("fuzz: no finding")
  else
    summary+=("fuzz: NEW FINDING, kept in fuzz/regressions/ (see build/fuzz/logs/)")
    if [ "${LUMARO_FUZZ_STRICT:-0}" = 1 ]; then status=1; fi
  fi
fi

echo
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
exit "$status"
