#!/usr/bin/env bash
# Installs the Debian packages that are missing: those the program needs to build and run;
# with --package also those that make the Debian package, with --tests also those of the
# tests and benchmarks (the package checks included).
set -euo pipefail

# The program: compiler, CMake, Qt (with its platform plugins and its own translations for
# Qt's dialogs), libxml2 for Moodle XML, the font, and xdg-open for links and the preview.
packages=(
    build-essential cmake pkg-config libxml2-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev qt6-translations-l10n
    fonts-dejavu-core fonts-dejavu-extra xdg-utils
)
for option in "$@"; do
    case "$option" in
    --package) packages+=(dpkg-dev file) ;;
    --tests)
        packages+=(libgtest-dev libgmock-dev libbenchmark-dev desktop-file-utils dpkg-dev file)
        # The package test: lintian, AppStream's validator, man with groff, bash-completion
        # and the MIME database tools.
        packages+=(lintian appstream man-db groff-base bash-completion shared-mime-info)
        # The window frames test: an X server without a screen, the openbox window manager,
        # and libxcb to read the frames from the server.
        packages+=(xvfb openbox libxcb1-dev)
        # The accessibility check runs axe-core in Chromium, the olympiad tests gift-pegjs and
        # xmllint; the npm packages go into the build folder.
        packages+=(chromium libxml2-utils)
        # A Node.js installed from elsewhere brings its own npm and serves as well.
        command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
        ;;
    *) echo "usage: $0 [--package] [--tests]" >&2; exit 2 ;;
    esac
done

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
