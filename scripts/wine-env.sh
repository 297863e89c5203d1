# Sourced by the Windows scripts: the environment of every Wine call of the
# tests. The prefix lives in the build folder, so nothing touches the user's
# own ~/.wine; CUPS_SERVER names a path where no server listens, so the
# printers of this machine (or of the Linux tests' private cupsd) never
# appear among the Windows printers; no X display is used (the prefix has
# Wine's null display driver). CMake gives CTest the same variables
# (LUMARO_WINE_ENV in CMakeLists.txt).
lumaro_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export LUMARO_WINDOWS_BUILD="${LUMARO_WINDOWS_BUILD:-$lumaro_root/build/windows}"
export WINEPREFIX="$LUMARO_WINDOWS_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="
export CUPS_SERVER="$LUMARO_WINDOWS_BUILD/no-cups.sock"
unset DISPLAY WAYLAND_DISPLAY
# Debian's wine64 package puts its loader outside PATH.
LUMARO_WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
LUMARO_WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export LUMARO_WINE LUMARO_WINESERVER
