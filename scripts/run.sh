#!/usr/bin/env bash
# Builds the program and starts it in the working folder run/, which keeps its own copy
# of System_folder (settings and authors) between runs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
"$root/scripts/prepare-workdir.sh" "$root/System_folder" "$root/run"
cd "$root/run"
exec "$root/build/Kavo_Program"
