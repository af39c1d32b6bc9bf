#!/bin/sh
# The time-boxed search: each fuzzer in turn (one at a time: the machine is shared), starting
# from its checked-in seeds. New inputs go to BUILD/corpus/NAME, crashers to BUILD/findings/NAME.
# Usage: fuzz/run.sh BUILD SECONDS_PER_TARGET [NAME...]
set -u
build=$1; seconds=$2; shift 2
src=$(cd "$(dirname "$0")" && pwd)
names=${*:-$(cd "$build/fuzz" && ls fuzz_* | sed 's/^fuzz_//')}
status=0
for name in $names; do
    mkdir -p "$build/corpus/$name" "$build/findings/$name"
    log="$build/findings/$name.log"
    "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$name/" \
        "$build/corpus/$name" "$src/corpus/$name" >"$log" 2>&1 || status=1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    found=$(ls "$build/findings/$name" | wc -l)
    echo "$name: ${runs:-?} executions, $found findings"
done
exit $status
