#!/usr/bin/env bash
# Installs the Debian packages Lumaro needs to build, test and run, and only
# those that are missing. Run as root on Debian 12.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev libgl-dev
  zlib1g-dev libfontconfig-dev
  libgtest-dev googletest
  fonts-dejavu-core fonts-liberation2
  cups-daemon cups-client
  poppler-utils python3
)
if [ "${1:-}" = "--tests" ]; then
  packages+=(xvfb xauth util-linux gdb clang-14 libclang-rt-14-dev)
  packages+=(g++-mingw-w64-x86-64-posix wine64 libz-mingw-w64-dev)
  packages+=(qpdf ghostscript)
  # The Windows program's tests under Wine: the test printer's PPD
  # (cups-ppdc), font files looked up as Wine finds them (fontconfig), the
  # package (zip); Ghostscript turns the printed PostScript into PDF.
  packages+=(wine cups-ppdc fontconfig zip)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere fehlende Pakete: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Bitte als root ausführen (apt-get install)." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
