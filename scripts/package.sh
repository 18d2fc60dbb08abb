#!/usr/bin/env bash
# Builds the release Debian package build-release/kavo-program_<version>_<arch>.deb: the
# program alone (no tests, benchmarks or tools), optimised with Debian's hardening flags,
# and stripped.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" --package
# The flags Debian builds its packages with (dpkg-buildflags), all hardening on; without
# -g, since the package is stripped: debug information only costs compile time here.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TOOLS=OFF
# Only what the package holds: the program, kavo-olympiad, the manual pages and the
# changelog. CPack checks that the default target is built, which is the same set here.
cmake --build "$root/build-release" --parallel "$(nproc)" \
    --target Kavo_Program kavo-olympiad kavo_docs
(cd "$root/build-release" && cpack -G DEB)
ls "$root"/build-release/kavo-program_*.deb
