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
  # A German C locale, under which the conversions must keep the program's own
  # separators (the test skips where none is installed).
  packages+=(locales)
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

if [ "${1:-}" = "--tests" ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Bitte als root ausführen (locale-gen de_DE.UTF-8)." >&2
    exit 1
  fi
  sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
