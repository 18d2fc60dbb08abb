#!/bin/sh
# Usage: prepare-workdir.sh SHIPPED_SYSTEM_FOLDER WORKDIR
# Makes WORKDIR/System_folder hold every file of the shipped one: each missing file is
# copied, no existing file is overwritten (it holds the user's settings and authors),
# and the copies are left writable. Used by scripts/run.sh and by the installed launcher.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 SHIPPED_SYSTEM_FOLDER WORKDIR" >&2; exit 2; }
shipped="$1"
[ -d "$shipped" ] || { echo "$0: no folder $shipped" >&2; exit 1; }
mkdir -p "$2/System_folder"
target_root="$(cd "$2/System_folder" && pwd)"
cd "$shipped"
find . -type d | while IFS= read -r dir; do
    mkdir -p "$target_root/$dir"
    chmod u+rwx "$target_root/$dir"
done
find . -type f | while IFS= read -r file; do
    target="$target_root/$file"
    if [ ! -e "$target" ] && [ ! -L "$target" ]; then
        # Copied beside its place and renamed, so an interrupted copy never leaves a
        # truncated template that a later run would keep.
        partial="$target.partial.$$"
        cp "$file" "$partial"
        chmod u+rw "$partial"
        mv -f "$partial" "$target"
    fi
done
