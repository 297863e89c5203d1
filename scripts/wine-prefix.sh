#!/usr/bin/env bash
# Prepares the tests' Wine prefix (build/windows/wineprefix): created on first
# use, then the settings below, then the test printer driver. Needs the
# windows build's wine_printers.exe. Safe to run again; it redoes only what a
# change of this script or of the PPD calls for.
#
# Settings:
#  - Wine's null display driver: windows, timers and message boxes work with
#    no X server;
#  - the Windows fonts the documents name, mapped onto Debian's metric
#    stand-ins (the same faces the Linux build uses);
#  - PostScript printer drivers without CUPS: Wine's wineps.drv with the
#    "Generic PostScript Printer" PPD of cups-ppdc, A4 by default, installed as
#    "Lumaro Test PS" and, printing to the sheet's edges, "Lumaro Test PS
#    randlos". Printers on them are added by the tests themselves, each with a
#    file path as its port (or FILE:), so every job lands in a file.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

build="$LUMARO_WINDOWS_BUILD"
tool="$build/platform/win32/wine_printers.exe"
[ -x "$tool" ] || { echo "wine-prefix.sh: $tool fehlt (cmake --build --preset windows)" >&2; exit 1; }
mkdir -p "$build/printers"

reg="$build/printers/lumaro-prefix.reg"
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Verdana"="DejaVu Sans"
"Arial"="Liberation Sans"
"Times New Roman"="Liberation Serif"
"Courier New"="Liberation Mono"
REG

# The PPDs: cups-ppdc's generic PostScript printer with A4 as its default,
# once with its margins (a printer as practices have them) and once printing
# to the sheet's edges, like the built-in PDF printer, so that a job's layout
# can be compared with the PDF printer's on Linux.
ppdc -d "$build/printers/ppdc" /usr/share/cups/drv/sample.drv
ppd="$build/printers/lumaro-test.ppd"
sed -e 's/^\*Default\(PageSize\|PageRegion\|ImageableArea\|PaperDimension\): Letter/*Default\1: A4/' \
  "$build/printers/ppdc/generic.ppd" >"$ppd.new"
grep -q '^\*DefaultPageSize: A4' "$ppd.new"
mv "$ppd.new" "$ppd"
edges="$build/printers/lumaro-test-edges.ppd"
sed -e 's|^\*ImageableArea A4/A4: .*|*ImageableArea A4/A4: "0 0 595 842"|' "$ppd" >"$edges.new"
grep -q '^\*ImageableArea A4/A4: "0 0 595 842"' "$edges.new"
mv "$edges.new" "$edges"

stamp="$WINEPREFIX/lumaro-prefix.stamp"
want=$(cat "$0" "$ppd" "$edges" | sha256sum | cut -d' ' -f1)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi

"$LUMARO_WINESERVER" -k >/dev/null 2>&1 || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$LUMARO_WINE" wineboot --init >/dev/null 2>&1 || true
fi
"$LUMARO_WINE" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
"$LUMARO_WINE" "$tool" driver "Lumaro Test PS" "Z:${ppd//\//\\}" </dev/null
"$LUMARO_WINE" "$tool" driver "Lumaro Test PS randlos" "Z:${edges//\//\\}" </dev/null
# The display driver is chosen when Wine's desktop starts: start afresh.
"$LUMARO_WINESERVER" -k >/dev/null 2>&1 || true
"$LUMARO_WINESERVER" -w >/dev/null 2>&1 || true
echo "$want" >"$stamp"
echo "Wine-Präfix eingerichtet: $WINEPREFIX"
