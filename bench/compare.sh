#!/usr/bin/env bash
# Whole-process comparison: quillbox-cli as a user runs it against the tool a user would pick
# instead, on generated trees kept under BUILD/trees between runs. Each pair of commands runs
# alternately RUNS times (default 5) after one warm-up run of each; the median of the per-pair
# ratios decides a target, and the spread says how far the runs scattered.
#
#   bench/compare.sh BUILD [ROW...]     rows: refresh-100k search-three search-one refresh-1m
set -euo pipefail

build=${1:?usage: compare.sh BUILD [ROW...]}
shift
build=$(cd "$build" && pwd)
rows=("$@")
[ ${#rows[@]} -gt 0 ] || rows=(refresh-100k search-three search-one refresh-1m)
runs=${RUNS:-5}

cli=${QUILLBOX_CLI:-$build/src/cli/quillbox-cli}
trees=$build/trees
work=$build/compare
"$build/bench/quillbox-bench-trees" "$trees"
rm -rf "$work"
mkdir -p "$work/home"

# Both sides write their output to a file: GNU grep stops at its first match when its output is
# /dev/null, and a user reads the output anyway.
qb_out=$work/quillbox.out
ref_out=$work/reference.out

# The quillbox-cli arguments of a row.
qb_args() {
    case $1 in
    refresh-*) args=(refresh "$trees/$1") ;;
    search-three) args=(search "$trees/search-10k" "ALPHA+BRAVO+CHARLIE") ;;
    search-one) args=(search "$trees/search-10k" ALPHA) ;;
    esac
}
run_quillbox() { "$cli" --home "$work/home" "${args[@]}" > "$qb_out"; }

run_reference() {
    case $1 in
    refresh-*) find "$trees/$1" -type f > "$ref_out" ;;
    search-three)
        grep -rlZF ALPHA "$trees/search-10k" | xargs -0 grep -lZF BRAVO |
            xargs -0 -r grep -lF CHARLIE > "$ref_out" ;;
    search-one) grep -rlF ALPHA "$trees/search-10k" > "$ref_out" ;;
    esac
}

# Seconds a function takes, from the shell's own clock (no process started to read it), and the
# processor seconds (user + system) of the processes it ran. On a machine shared with other work
# the processor seconds scatter less than the clock.
elapsed() {
    local t0=$EPOCHREALTIME
    "$@"
    local t1=$EPOCHREALTIME
    # A builtin without a pipe or a subshell: a forked shell would know no children.
    times > "$work/times"
    awk -v t0="$t0" -v t1="$t1" 'NR == 2 { gsub(/[ms]/, " "); printf "%.4f %.4f", t1 - t0, $1 * 60 + $2 + $3 * 60 + $4 }' \
        "$work/times"
}

# Peak resident memory of one run, in MB.
peak_mb() { /usr/bin/time -f %M -o "$work/peak" "$@" > /dev/null && awk '{ printf "%.0f", $1 / 1024 }' "$work/peak"; }

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The same found files on both sides (in any order), or the same number of files for a refresh.
check_same() {
    local row=$1
    case $row in
    search-*)
        if ! cmp -s <(sort "$qb_out") <(sort "$ref_out"); then
            echo "  WARNING: quillbox and the reference found different files"
        fi
        ;;
    refresh-*)
        local dir=$trees/${row}
        local records files
        records=$("$cli" --home "$work/home" list "$dir" | wc -l)
        files=$(wc -l < "$ref_out")
        [ "$records" -eq "$files" ] || echo "  WARNING: $records records but $files files"
        ;;
    esac
}

declare -A target=([refresh-100k]=1.5 [search-three]=1.0 [search-one]=0.8 [refresh-1m]=2.0)
declare -A memory_target=([refresh-1m]=250)
declare -A title=(
    [refresh-100k]="refresh, unchanged tree of 100,000 files   vs find -type f"
    [search-three]="search ALPHA+BRAVO+CHARLIE, 10,000 files  vs grep -rlZF | xargs grep"
    [search-one]="search ALPHA, 10,000 files                 vs grep -rlF"
    [refresh-1m]="refresh, unchanged tree of 1,000,000 files vs find -type f"
)

echo "Whole-process comparison: $runs alternating runs each, warm cache, $(nproc) cores"
for row in "${rows[@]}"; do
    [ -n "${target[$row]:-}" ] || { echo "unknown row $row" >&2; exit 2; }
    # Warm-up: fills the cache and, on the first run, creates the collection.
    qb_args "$row"
    run_quillbox || { echo "quillbox-cli failed on $row" >&2; exit 1; }
    run_reference "$row" || true
    check_same "$row"
    ours=() theirs=() ratios=() ourCpu=() theirCpu=()
    for ((i = 0; i < runs; i++)); do
        read -r a ac <<< "$(elapsed run_quillbox)"
        read -r b bc <<< "$(elapsed run_reference "$row")"
        ours+=("$a") theirs+=("$b") ourCpu+=("$ac") theirCpu+=("$bc")
        ratios+=("$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.3f", a / b }')")
    done
    m=$(median "${ratios[@]}")
    lo=$(printf '%s\n' "${ratios[@]}" | sort -g | head -1)
    hi=$(printf '%s\n' "${ratios[@]}" | sort -g | tail -1)
    verdict=$(awk -v m="$m" -v t="${target[$row]}" 'BEGIN { print (m <= t) ? "met" : "NOT met" }')
    echo "${title[$row]}"
    printf '  quillbox %.3f s (%s to %s)  reference %.3f s (%s to %s)\n' \
        "$(median "${ours[@]}")" "$(printf '%s\n' "${ours[@]}" | sort -g | head -1)" \
        "$(printf '%s\n' "${ours[@]}" | sort -g | tail -1)" "$(median "${theirs[@]}")" \
        "$(printf '%s\n' "${theirs[@]}" | sort -g | head -1)" "$(printf '%s\n' "${theirs[@]}" | sort -g | tail -1)"
    printf '  ratio median %.2fx (runs %s to %s), target at most %sx: %s\n' "$m" "$lo" "$hi" "${target[$row]}" "$verdict"
    printf '  processor time (user + system) median: quillbox %.3f s, reference %.3f s\n' \
        "$(median "${ourCpu[@]}")" "$(median "${theirCpu[@]}")"
    peak=$(peak_mb "$cli" --home "$work/home" "${args[@]}")
    if [ -n "${memory_target[$row]:-}" ]; then
        mverdict=$( [ "$peak" -le "${memory_target[$row]}" ] && echo met || echo "NOT met")
        echo "  quillbox peak memory $peak MB, target at most ${memory_target[$row]} MB: $mverdict"
    else
        echo "  quillbox peak memory $peak MB"
    fi
done
