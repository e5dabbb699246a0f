#!/usr/bin/env bash
# Installs the Debian packages that a build needs ("run"), and those that the tests
# ("test"), the benchmarks ("bench") or the package ("package") need too: only what is
# missing, through sudo when not root.
set -euo pipefail

packages=(cmake make g++ pkg-config qt6-base-dev qt6-tools-dev qt6-l10n-tools libpulse-dev qt6-translations-l10n
          fonts-ipafont-gothic)
case ${1:-run} in
    test | bench)
        packages+=(xvfb xauth x11-utils xdotool faketime imagemagick openbox weston qt6-wayland python3
                   python3-dbusmock dbus dpkg-dev file lintian desktop-file-utils appstream
                   clang libclang-rt-dev util-linux pulseaudio pulseaudio-utils)
        [[ $1 == bench ]] && packages+=(x11-apps libx11-dev libxdamage-dev)
        ;;
    package) packages+=(dpkg-dev file lintian desktop-file-utils appstream) ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
        echo "These Debian packages are missing and this user cannot install them (not root, no sudo):" >&2
        echo "  ${missing[*]}" >&2
        echo "Ask an administrator to run: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
install() {
    # sudo drops the environment, so the setting goes in through env.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
if ! install; then
    echo "Could not install these Debian packages: ${missing[*]}" >&2
    echo "Install them as an administrator (apt-get install ${missing[*]}) and run this again." >&2
    exit 1
fi
