#!/usr/bin/env bash
# Configures and builds everything in build/: the program, the tests, the benchmarks and the
# screenshot tool (after installing what they need).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --tests
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVO_BUILD_TESTS=ON -DKAVO_BUILD_BENCH=ON -DKAVO_BUILD_TOOLS=ON
cmake --build "$root/build" --parallel "$(nproc)"
