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

# The same tests again, built with the address and undefined-behaviour checkers: a read or
# write past a buffer, a use after free or an overflowing shift stops the test that did it.
# The package's install tests run once, above.
asan="$root/build-asan"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DKAVO_BUILD_TESTS=ON -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TOOLS=OFF
cmake --build "$asan" --parallel "$(nproc)"
ln -sfn "$npm_dir" "$asan/npm"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$asan" --output-on-failure --timeout 600 --parallel "$(nproc)" -LE install
