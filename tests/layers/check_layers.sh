#!/usr/bin/env bash
# The two floors of the source tree. Window code lives only in folders named
# ui/, and
#  (a) no file outside a ui/ folder includes a header from one; only src/app/
#      and bench/, which put the whole program together, include both floors;
#  (b) the windows of one feature (src/lamp/ui/, src/editors/icon/ui/...)
#      include nothing from another feature's ui/ folder: they reach other
#      windows through Forms and the interfaces at the feature roots. The
#      shared window parts, src/ui/ and src/ui/menu/, may be included from
#      any ui/ folder, and include no feature's windows themselves.
# Every include that breaks a rule is printed as FILE:LINE: why, and the check
# fails when there is one.
#
#   check_layers.sh ROOT        checks the tree at ROOT (src/, tests/, bench/, fuzz/)
#   check_layers.sh --self-test checks that a small tree with each fault fails,
#                               naming every faulty include and no other
set -euo pipefail

check() {
    local root=$1
    cd "$root"
    local dirs=() files
    for d in src tests bench fuzz; do [ -d "$d" ] && dirs+=("$d"); done
    files=$(find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.cpp' \) -not -path 'tests/data/*' | sort)
    [ -n "$files" ] || { echo "no sources under $root" >&2; return 2; }
    # The first input is the list of files (to resolve includes), then the files.
    printf '%s\n' "$files" | awk '
        function normal(path,    parts, n, i, out, k) {
            n = split(path, parts, "/")
            k = 0
            for (i = 1; i <= n; ++i) {
                if (parts[i] == "" || parts[i] == ".") continue
                if (parts[i] == ".." && k > 0) { --k; continue }
                out[++k] = parts[i]
            }
            path = ""
            for (i = 1; i <= k; ++i) path = path (i > 1 ? "/" : "") out[i]
            return path
        }
        # The file an include names: beside the including file, else under an include root.
        function resolve(file, name,    dir, c) {
            dir = file
            sub(/[^\/]*$/, "", dir)
            c = normal(dir name)
            if (c in known) return c
            if (("src/" name) in known) return "src/" name
            if (("tests/" name) in known) return "tests/" name
            return ""
        }
        function inUi(path) { return path ~ /(^|\/)ui\// }
        # The feature whose windows a file in a ui/ folder holds ("src" for the shared parts).
        function feature(path) {
            match(path, /\/ui\//)
            return substr(path, 1, RSTART - 1)
        }
        NR == FNR { known[$0] = 1; next }
        /^[ \t]*#[ \t]*include[ \t]*["<]/ {
            name = $0
            sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", name)
            sub(/[">].*$/, "", name)
            target = resolve(FILENAME, name)
            if (target == "" || !inUi(target)) next
            if (!inUi(FILENAME)) {
                if (FILENAME !~ /^(src\/app|bench)\//) {
                    printf "%s:%d: includes the window header %s from outside a ui/ folder\n", FILENAME, FNR, target
                    faults++
                }
            } else if (FILENAME ~ /^src\// && target ~ /^src\//) {
                from = feature(FILENAME)
                to = feature(target)
                if (to != "src" && to != from) {
                    printf "%s:%d: includes %s, the windows of another feature (%s/ui/); reach them through Forms\n",
                           FILENAME, FNR, target, to
                    faults++
                }
            }
        }
        END { exit (faults > 0) }
    ' - $files
}

self_test() {
    local tree
    tree=$(mktemp -d)
    trap 'rm -rf "$tree"' RETURN
    write() { mkdir -p "$tree/$(dirname "$1")"; printf '%s\n' "${@:2}" >"$tree/$1"; }
    write src/ui/Forms.h '#pragma once'
    write src/ui/menu/MenuWindow.h '#include "ui/Forms.h"'
    write src/lamp/LampRunner.h '#pragma once'
    write src/lamp/ui/LampWindow.h '#include "lamp/LampRunner.h"' '#include "ui/Forms.h"' '#include "ui/menu/MenuWindow.h"'
    write src/report/ui/ReportWindow.cpp '#include "ReportWindow.h"' '#include "lamp/LampRunner.h"' \
        '#include "lamp/ui/LampWindow.h"' '#  include "../../ui/Forms.h"'
    write src/report/ui/ReportWindow.h '#pragma once'
    write src/ui/Shared.cpp '#include "ui/Forms.h"' '#include <QWidget>' '#include "report/ui/ReportWindow.h"'
    write src/core/Bad.cpp '#include "core/Bad.h"' '#include "ui/Forms.h"' '#include "../ui/menu/MenuWindow.h"'
    write src/core/Bad.h '#pragma once'
    write src/app/Startup.cpp '#include "lamp/ui/LampWindow.h"' '#include "report/ui/ReportWindow.h"'
    write bench/startup.cpp '#include "lamp/ui/LampWindow.h"'
    write tests/support/ui/Rig.h '#include "ui/Forms.h"'
    write tests/support/Fakes.h '#include "support/ui/Rig.h"'
    write tests/ui/tst_Lamp.cpp '#include "support/ui/Rig.h"' '#include "lamp/ui/LampWindow.h"' '#include "report/ui/ReportWindow.h"'
    write tests/data/layers/Sample.cpp '#include "ui/Forms.h"'
    local expected got status=0
    expected=$(printf '%s\n' \
        'src/core/Bad.cpp:2: includes the window header src/ui/Forms.h from outside a ui/ folder' \
        'src/core/Bad.cpp:3: includes the window header src/ui/menu/MenuWindow.h from outside a ui/ folder' \
        'src/report/ui/ReportWindow.cpp:3: includes src/lamp/ui/LampWindow.h, the windows of another feature (src/lamp/ui/); reach them through Forms' \
        'src/ui/Shared.cpp:3: includes src/report/ui/ReportWindow.h, the windows of another feature (src/report/ui/); reach them through Forms' \
        'tests/support/Fakes.h:1: includes the window header tests/support/ui/Rig.h from outside a ui/ folder')
    got=$( (check "$tree") ) || status=$?
    if [ "$status" -ne 1 ] || [ "$(sort <<<"$got")" != "$(sort <<<"$expected")" ]; then
        echo "the layer check answered $status with:" >&2
        echo "$got" >&2
        echo "instead of 1 with:" >&2
        echo "$expected" >&2
        return 1
    fi
    echo "layer check self-test: ok"
}

case "${1:-}" in
--self-test) self_test ;;
"") echo "usage: $0 ROOT | --self-test" >&2; exit 2 ;;
*) check "$1" && echo "layers: ok" ;;
esac
