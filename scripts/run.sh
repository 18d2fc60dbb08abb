#!/usr/bin/env bash
# Builds the program alone (no tests) and starts it in the working folder run/, which keeps
# its own copy of System_folder (settings and authors) between runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TOOLS=OFF
cmake --build "$root/build" --parallel "$(nproc)" --target Kavo_Program
"$root/scripts/prepare-workdir.sh" "$root/System_folder" "$root/run"
cd "$root/run"
exec "$root/build/Kavo_Program"
