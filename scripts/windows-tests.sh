#!/usr/bin/env bash
# Builds the Qt-free core for 64-bit Windows with MinGW-w64 and runs its unit
# tests under Wine (the "windows" preset): support, xml, printing, templates,
# the documents and app. Exits non-zero when anything fails to build or any
# test fails; the last line of ctest's summary tells how many passed.
#
#   scripts/windows-tests.sh [-jN]      (default: -j2)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${1:--j2}"
build=build/windows

# Wine's state lives in the build folder, so the run never touches the
# user's own ~/.wine and a fresh checkout starts from a fresh prefix.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all

if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
  ! { [ -x /usr/lib/wine/wine64 ] || command -v wine64 >/dev/null; }; then
  echo "MinGW-w64 oder Wine fehlt: scripts/setup.sh --tests ausführen." >&2
  exit 1
fi

cmake --preset windows -DLUMARO_BUILD_TESTS=ON >/dev/null
cmake --build --preset windows "$jobs"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

# The first start of Wine creates the prefix, which takes several seconds
# and must not happen in two tests at once.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
  "$wineserver" -w || true
fi

# One wine server for the whole run. Left to itself it stops shortly after
# the last test program ends, and a test starting in that moment dies with
# "recvmsg: Connection reset by peer" instead of running. Wine's own services
# start with the first program and then stay with the server: started here,
# with no output attached, so that no test's output pipe is held open by them
# and ctest does not wait for it forever.
"$wineserver" -p </dev/null >/dev/null 2>&1
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

# ctest's summary ("100% tests passed, 0 tests failed out of N") is its own
# last lines; its exit status is that of the script. A build without tests
# fails here instead of passing with none.
ctest --preset windows "$jobs" --no-tests=error
