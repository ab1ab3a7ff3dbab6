#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one after another,
# and prints a line per target: runs, coverage (edges), features, findings.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
build=$1
seconds=$2
shift 2
wanted=" $* "
status=0
printf '%-20s %10s %8s %8s  %s\n' target runs edges features findings
while read -r name seeds; do
    [[ -z $name ]] && continue
    [[ $wanted != "  " && $wanted != *" $name "* ]] && continue
    corpus=$build/fuzz-corpus/$name
    artifacts=$build/fuzz-artifacts/$name
    mkdir -p "$corpus" "$artifacts"
    log=$build/fuzz-$name.log
    # shellcheck disable=SC2086 # seeds are several folders
    nice "$build/bin/$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
        -artifact_prefix="$artifacts/" "$corpus" $seeds >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    findings=$(find "$artifacts" -type f | wc -l)
    if [[ $rc -ne 0 ]]; then
        status=1
        findings="$findings (exit $rc, see $log)"
    fi
    printf '%-20s %10s %8s %8s  %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$findings"
done <"$build/fuzz-targets.txt"
exit $status
