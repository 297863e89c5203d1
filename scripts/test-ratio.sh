#!/usr/bin/env bash
# Size of the tests against the size of the code, in lines of the files git
# tracks (so build folders never count). Tests: every *_test.cpp, the test
# helpers beside them (test_*.cpp/.h, *test_support*, testing_*.h), the
# programs only the Windows tests run (platform/win32/tools/: Wine's printers,
# the window and a held file driven from outside) and every source under
# tests/ (the fakes, the end-to-end tests in Python). Code: the program's own .cpp/.h files, without
# bench/ and fuzz/ (tools and checks, neither product nor unit test).
set -eu
cd "$(dirname "$0")/.."

is_test() {
    case "$1" in
        tests/*.cpp | tests/*.h | tests/*.py | tests/*.sh) return 0 ;;
        *_test.cpp | */test_*.cpp | */test_*.h | *test_support*.cpp | *test_support*.h) return 0 ;;
        */testing_*.h) return 0 ;;
        platform/win32/tools/*.cpp | platform/win32/tools/*.h) return 0 ;;
    esac
    return 1
}

lines() { if [ $# -gt 0 ]; then cat -- "$@" | wc -l; else echo 0; fi; }

tests=()
code=()
while IFS= read -r f; do
    if is_test "$f"; then
        tests+=("$f")
        continue
    fi
    case "$f" in
        bench/* | fuzz/* | tests/*) ;;
        *.cpp | *.h) code+=("$f") ;;
    esac
done < <(git ls-files)

t=$(lines "${tests[@]}")
c=$(lines "${code[@]}")
awk -v t="$t" -v c="$c" 'BEGIN { printf "tests/code = %.2f\n", (c > 0 ? t / c : 0) }'
