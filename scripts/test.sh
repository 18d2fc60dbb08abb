#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --tests
"$root/scripts/build.sh"
# The test tools from npm go into the build folder, installed anew when the lock file changes.
npm_dir="$root/build/npm"
if ! cmp -s "$root/tests/npm/package-lock.json" "$npm_dir/installed-lock.json"; then
    rm -rf "$npm_dir"
    mkdir -p "$npm_dir"
    cp "$root/tests/npm/package.json" "$root/tests/npm/package-lock.json" "$npm_dir/"
    (cd "$npm_dir" && npm ci --no-audit --no-fund)
    cp "$root/tests/npm/package-lock.json" "$npm_dir/installed-lock.json"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$root/build" --output-on-failure --timeout 300 --parallel "$(nproc)"
