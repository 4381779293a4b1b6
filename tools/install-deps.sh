#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: when everything is already there it prints nothing and exits.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git ccache
    qtbase5-dev qtbase5-private-dev qttools5-dev qttools5-dev-tools
    qtwebengine5-dev libqt5webchannel5-dev libqt5svg5-dev qtmultimedia5-dev
    liblog4cplus-dev libcpp-httplib-dev libssl-dev openssl ca-certificates
    xvfb xauth x11-utils x11-apps imagemagick fonts-dejavu-core fonts-wqy-microhei
    libqt5x11extras5-dev libxcb1-dev libxcb-shape0-dev libxcb-shm0-dev xcompmgr xdotool
    libqt5multimedia5-plugins pulseaudio pulseaudio-utils libpulse-dev libudev-dev
    libkf5archive-dev nlohmann-json3-dev dpkg-dev
    clang libclang-rt-14-dev llvm-14 lld
    stress-ng
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
