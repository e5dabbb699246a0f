#!/usr/bin/env bash
# Installs the Debian packages a build (and, with "test", the test suite) needs; only
# what is missing, through sudo when not root.
set -euo pipefail

packages=(cmake make g++ pkg-config qt6-base-dev fonts-ipafont-gothic)
[[ ${1:-} == package ]] && packages+=(dpkg-dev file lintian desktop-file-utils)
if [[ ${1:-} == test || ${1:-} == bench ]]; then
    packages+=(xvfb xauth x11-utils xdotool faketime imagemagick python3 python3-dbusmock dbus
               dpkg-dev file lintian desktop-file-utils clang libclang-rt-14-dev)
fi
if [[ ${1:-} == bench ]]; then
    packages+=(x11-apps libx11-dev libxdamage-dev)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
((EUID == 0)) || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
