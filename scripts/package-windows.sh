#!/usr/bin/env bash
# Builds the package a practice installs: build/package/lumaro-<version>-windows-x64.zip
# with lumaro.exe (release build, MinGW-w64, static, stripped) and LIESMICH.txt
# (German, UTF-8 with byte order mark, CR LF), and checks that the program
# needs no DLL but Windows' own.
#
#   scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(Lumaro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=build/windows-release
out=build/package
name="lumaro-$version-windows-x64"

cmake --preset windows-release >/dev/null
cmake --build --preset windows-release -j2 --target lumaro
x86_64-w64-mingw32-strip -o "$build/lumaro-stripped.exe" "$build/lumaro.exe"

# Windows' own DLLs only: a static C++ runtime, no MinGW, zlib or pthread DLL.
allowed='^(KERNEL32|USER32|GDI32|gdiplus|WINSPOOL\.DRV|COMCTL32|SHELL32|ole32|msvcrt|ADVAPI32)(\.dll)?$'
dlls=$(x86_64-w64-mingw32-objdump -p "$build/lumaro-stripped.exe" | sed -n 's/^\s*DLL Name: //p')
echo "lumaro.exe braucht: $(echo $dlls)"
if echo "$dlls" | grep -Evi "$allowed" >/dev/null; then
  echo "package-windows.sh: lumaro.exe braucht eine DLL, die Windows nicht mitbringt:" >&2
  echo "$dlls" | grep -Evi "$allowed" >&2
  exit 1
fi

rm -rf "$out/$name" "$out/$name.zip"
mkdir -p "$out/$name"
cp "$build/lumaro-stripped.exe" "$out/$name/lumaro.exe"
{
  printf '\xEF\xBB\xBF'
  sed -e "s/@VERSION@/$version/" -e 's/$/\r/' platform/win32/LIESMICH.txt
} >"$out/$name/LIESMICH.txt"
# Fixed times and no extra attributes: the same sources give the same zip.
touch -d "@$(git log -1 --format=%ct 2>/dev/null || echo 0)" "$out/$name"/*
(cd "$out/$name" && zip -q -X -D "../$name.zip" lumaro.exe LIESMICH.txt)
echo "$out/$name.zip ($(stat -c %s "$out/$name.zip") Bytes; lumaro.exe $(stat -c %s "$out/$name/lumaro.exe") Bytes)"
