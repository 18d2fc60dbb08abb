#!/usr/bin/env bash
# Builds the screenshot tool and takes the README's screenshots from the real windows under
# the offscreen platform, into docs/screenshots/; the same windows on scaled screens go to
# build/screenshots/ for review.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TOOLS=ON
cmake --build "$root/build" --parallel "$(nproc)" --target kavo_screenshots
tool="$root/build/tools/kavo_screenshots"
"$tool" "$root/docs/screenshots" "$root/System_folder"
for screen in 1366x768 1920x1080; do
    for scale in 1.25 1.5 2; do
        "$tool" --screen "$screen" --scale "$scale" "$root/build/screenshots/$screen@$scale" \
            "$root/System_folder"
    done
done
