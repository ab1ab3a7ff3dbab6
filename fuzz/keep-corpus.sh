#!/usr/bin/env bash
# Merges what a fuzz run found into the corpus kept in the repository
# (fuzz/corpus/NAME): only inputs that reach new code, none above 64 KB, so
# the folders stay small; the grown seeds are made again at every run.
#   fuzz/keep-corpus.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
while read -r name _; do
    [[ -z $name ]] && continue
    mkdir -p "$here/corpus/$name"
    "$build/bin/$name" -merge=1 -max_len=65536 "$here/corpus/$name" "$build/fuzz-corpus/$name" >/dev/null 2>&1
    printf '%-22s %5s files %6s\n' "$name" "$(find "$here/corpus/$name" -type f | wc -l)" "$(du -sh "$here/corpus/$name" | cut -f1)"
done <"$build/fuzz-targets.txt"
