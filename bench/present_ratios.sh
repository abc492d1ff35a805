#!/bin/sh
# Runs bench_present and prints each panel's presentation time as a multiple of a plain copy
# of the back buffer, with the target it has to stay under; exits 1 when a path is over its target.
# Each figure is the least CPU time of 9 runs: other programs on a busy machine only ever add to a
# run (descheduling, a cache they emptied), so the least is the steadiest measure of the code.
# Usage: bench/present_ratios.sh [path/to/bench_present] [extra benchmark flags...]
set -eu
bin=${1:-build/bench_present}
[ $# -gt 0 ] && shift
"$bin" --benchmark_format=csv --benchmark_repetitions=9 "$@" 2>/dev/null |
awk -F, '
    $1 ~ /^"?BM_/ && $1 !~ /_(mean|median|stddev|cv)"?$/ {
        name = $1; gsub(/"/, "", name)
        if (!(name in time)) { time[name] = $4; if (name !~ /^BM_Copy/) order[++n] = name }
        else if ($4 < time[name]) time[name] = $4
    }
    END {
        target["BM_Present/rgb565"] = 1.2; target["BM_Present/rgb565_512"] = 1.5
        target["BM_Present/gray2"] = 4; target["BM_Present/rotated"] = 4
        target["BM_Present/flipped"] = 4; target["BM_Present/gray4"] = 5
        copy = time["BM_Copy"]
        if (copy <= 0) { print "present_ratios: no copy time measured" > "/dev/stderr"; exit 1 }
        printf "%-24s %10s %8s %8s\n", "path", "cpu ns", "x copy", "target"
        printf "%-24s %10.0f %8.2f %8s\n", "memcpy 153600", copy, 1, "-"
        bad = 0
        for (i = 1; i <= n; i++) {
            r = time[order[i]] / copy
            mark = (r <= target[order[i]]) ? "" : "  OVER"
            if (mark != "") bad = 1
            printf "%-24s %10.0f %8.2f %8.1f%s\n", order[i], time[order[i]], r, target[order[i]], mark
        }
        exit bad
    }'
