#!/usr/bin/env bash
# Builds the program and takes the README's screenshots from the real windows under the
# offscreen platform, into docs/screenshots/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
QT_QPA_PLATFORM=offscreen "$root/build/tools/kavo_screenshots" "$root/docs/screenshots" \
    "$root/System_folder"
