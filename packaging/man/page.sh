#!/bin/sh
# Usage: page.sh LANG SOURCE VERSION OUT
# Makes the manual page of one language from its two-language source: the lines marked
# "LANG|" lose the mark, those of the other language go, the rest stay; then OUT.gz, packed
# as Debian wants it (gzip -9, no name or time stamp inside).
set -eu
lang="$1"
source="$2"
version="$3"
out="$4"
sed -e "/^[a-z][a-z]|/{/^$lang|/!d;}" -e "s/^$lang|//" -e "s/@VERSION@/$version/g" "$source" >"$out"
gzip -9nc "$out" >"$out.gz"
