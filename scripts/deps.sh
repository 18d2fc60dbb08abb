#!/usr/bin/env bash
# Installs the Debian packages the build and the program need, when missing; with --tests
# also those only the tests need.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core fonts-dejavu-extra
    desktop-file-utils dpkg-dev file xdg-utils
    libxml2-utils
)
# Only the tests need these: the accessibility check runs axe-core in Chromium, the olympiad
# tests run gift-pegjs and xmllint; the npm packages go into the build folder.
test_packages=(chromium libxml2-utils)
if [ "${1:-}" = "--tests" ]; then
    packages+=("${test_packages[@]}")
    # A Node.js installed from elsewhere brings its own npm and serves as well.
    command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    # A Debian installed with a root password has no sudo: say what to do instead.
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Install them as root first: su -c 'apt-get update && apt-get install -y ${missing[*]}'" >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
