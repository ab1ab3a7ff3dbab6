#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one after another,
# and prints a line per target: runs, coverage (edges), features, the largest
# input it ran, findings. Each target starts from its corpus in the repository,
# the test files, and a grown seed: its first seeds repeated up to its longest
# input, so the readers' size limits are reached from the first run.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
build=$1
seconds=$2
shift 2
wanted=" $* "
status=0
printf '%-22s %10s %8s %8s %9s  %s\n' target runs edges features largest findings
while read -r name maxlen seeds; do
    [[ -z $name ]] && continue
    [[ $wanted != "  " && $wanted != *" $name "* ]] && continue
    corpus=$build/fuzz-corpus/$name
    artifacts=$build/fuzz-artifacts/$name
    grown=$build/fuzz-grown/$name
    mkdir -p "$corpus" "$artifacts" "$grown"
    seed=$grown/seed-$maxlen
    if [[ ! -s $seed ]]; then
        rm -f "$grown"/seed*
        # shellcheck disable=SC2086
        sample=$(find $seeds -type f -size -64k 2>/dev/null | sort | head -20)
        if [[ -n $sample ]]; then
            # shellcheck disable=SC2086
            while [[ $(stat -c %s "$seed" 2>/dev/null || echo 0) -lt $((maxlen - 70000)) ]]; do
                cat $sample >>"$seed"
            done
            truncate -s $((maxlen - 1)) "$seed"
        fi
    fi
    log=$build/fuzz-$name.log
    # shellcheck disable=SC2086 # seeds are several folders
    nice "$build/bin/$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -max_len="$maxlen" \
        -rss_limit_mb=2048 -artifact_prefix="$artifacts/" "$corpus" $seeds "$grown" >"$log" 2>&1
    rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    findings=$(find "$artifacts" -type f | wc -l)
    # shellcheck disable=SC2086
    largest=$(find "$corpus" $seeds "$grown" -type f -printf '%s\n' 2>/dev/null | sort -n | tail -1)
    ((largest > maxlen)) && largest=$maxlen # longer ones are cut to the longest input
    if [[ $rc -ne 0 ]]; then
        status=1
        findings="$findings (exit $rc, see $log)"
    fi
    printf '%-22s %10s %8s %8s %9s  %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${largest:-?}" "$findings"
done <"$build/fuzz-targets.txt"
exit $status
