#!/usr/bin/env bash
# Builds the release Debian package build-release/kavo-program_<version>_<arch>.deb: the
# program alone (no tests, benchmarks or tools), optimised and stripped.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --package
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release \
    -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TOOLS=OFF
cmake --build "$root/build-release" --parallel "$(nproc)" --target Kavo_Program kavo-olympiad
(cd "$root/build-release" && cpack -G DEB)
ls "$root"/build-release/kavo-program_*.deb
