#!/usr/bin/env bash
# Installs the Debian packages Vantela needs to build, run and test. Quiet and quick when all is there.
set -euo pipefail

packages=(
    cmake make g++ pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev libfontconfig-dev libxcb1-dev
    libtomlplusplus-dev libpoppler-qt6-dev libngspice0-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth openbox xdotool wmctrl x11-utils
    dbus-daemon at-spi2-core
    desktop-file-utils appstream
    dpkg-dev file
)
if [ "${1:-}" = "--bench" ]; then
    packages+=(unrtf pandoc hyperfine)
fi
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
