#!/usr/bin/env bash
# The menu entry is valid, and the file type makes *.kr3 files ours.
set -euo pipefail
data=$1
desktop-file-validate "$data/kr31.desktop"
grep -q '^Name\[ja\]=' "$data/kr31.desktop"
grep -q '^Exec=kr31 %f$' "$data/kr31.desktop"
grep -q '^MimeType=application/x-kr31-program;$' "$data/kr31.desktop"
mime=$(mktemp -d)
trap 'rm -rf "$mime"' EXIT
mkdir -p "$mime/packages"
cp "$data/kr31-mime.xml" "$mime/packages/"
update-mime-database "$mime" >/dev/null 2>&1
grep -q 'application/x-kr31-program:\*\.kr3' "$mime/globs2"
grep -q 'xml:lang="ja"' "$data/kr31-mime.xml"
echo "desktop entry and file type: ok"
