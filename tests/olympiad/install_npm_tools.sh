#!/usr/bin/env bash
# Installs the npm tools of the olympiad tests into the given folder (the build folder's
# npm/), once: gift-pegjs, a GIFT parser we did not write.
set -euo pipefail
prefix="$1"
if [ -f "$prefix/node_modules/gift-pegjs/package.json" ] &&
    grep -q '"version": "1.0.2"' "$prefix/node_modules/gift-pegjs/package.json"; then
    exit 0
fi
mkdir -p "$prefix"
npm install --prefix "$prefix" --no-audit --no-fund --loglevel=error gift-pegjs@1.0.2
