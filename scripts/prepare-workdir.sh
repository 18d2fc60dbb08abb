#!/bin/sh
# Usage: prepare-workdir.sh SHIPPED_SYSTEM_FOLDER WORKDIR
# Makes WORKDIR/System_folder hold every file of the shipped one: each missing file is
# copied, no existing file is overwritten (it holds the user's settings and authors),
# and the copies are left writable.
set -eu
shipped="$1"
workdir="$2"
mkdir -p "$workdir/System_folder"
cd "$shipped"
find . -type d | while IFS= read -r dir; do
    mkdir -p "$workdir/System_folder/$dir"
    chmod u+rwx "$workdir/System_folder/$dir"
done
find . -type f | while IFS= read -r file; do
    target="$workdir/System_folder/$file"
    if [ ! -e "$target" ]; then
        cp "$file" "$target"
        chmod u+rw "$target"
    fi
done
