#!/bin/bash
# bench/cli-speed.sh [BUILD_DIR] [ROUNDS] [RUNS] [EARLIER_CLI]: zantoria-cli beside the
# floors it is measured against, each group of commands run in turn within a
# round (hyperfine, RUNS runs each, a quarter of that for the large
# inputs) and the rounds repeated, so that the load
# of the machine falls on all alike. Prints the median of all runs of each
# command and its ratio to the group's first command. EARLIER_CLI, another
# build of zantoria-cli, runs beside it in every group.
#
# Needs hyperfine, jp2a, djpeg (libjpeg-turbo-progs) and python3.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}
runs=${3:-40}
cli=$build/program/zantoria-cli
before=${4:-}
for tool in hyperfine jp2a djpeg python3; do
    command -v "$tool" > /dev/null || { echo "cli-speed: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/cli_inputs" "$work"
# A cache of its own; the first picture pays for the font system once.
export XDG_CACHE_HOME=$work/cache
"$cli" pic2text "$work/small.bmp" > /dev/null

group() { # name, runs, the floors (the first is what the rest is put beside), --, zantoria-cli's arguments
    local name=$1 n=$2
    shift 2
    local commands=()
    while [ "$1" != -- ]; do
        commands+=("$1")
        shift
    done
    shift
    for args in "$@"; do
        commands+=("$cli $args")
        if [ -n "$before" ]; then
            commands+=("$before $args")
        fi
    done
    for round in $(seq "$rounds"); do
        if ! hyperfine -N --style none --warmup 2 --runs "$n" --export-json "$work/$name-$round.json" \
            "${commands[@]}" > /dev/null 2> "$work/hyperfine.log"; then
            cat "$work/hyperfine.log" >&2
            exit 1
        fi
    done
}
cd "$work"
quarter=$(((runs + 3) / 4))
group start "$runs" "$build/bench/qt_start_print" -- "--help" "fold three.txt"
group bmp "$runs" "$build/bench/qt_start_print" "$build/bench/qt_start_draw" -- "pic2text small.bmp"
group jpeg "$quarter" "jp2a --width=2000 --height=2000 photo.jpg" "djpeg -grayscale photo.jpg" -- "pic2text photo.jpg"
# The same picture at 80 columns; djpeg decodes it in colour, as pic2text
# does, which is the part of its time that decoding takes.
group jpeg80 "$quarter" "jp2a --width=80 photo.jpg" "djpeg -outfile /dev/null photo.jpg" -- \
    "pic2text --width 80 photo.jpg" "pic2text --width 80 --braille photo.jpg"
group fold "$quarter" "sed s/\ *\$// art.txt" "cat art.txt" -- "fold --leading --trailing --inner --blank-lines art.txt"

python3 - "$work" "$build" <<'PY'
import glob, json, statistics, sys
work, build = sys.argv[1], sys.argv[2]
for name in ("start", "bmp", "jpeg", "jpeg80", "fold"):
    times = {}
    for path in sorted(glob.glob(f"{work}/{name}-*.json")):
        for result in json.load(open(path))["results"]:
            times.setdefault(result["command"], []).extend(result["times"])
    commands = list(times)
    base = statistics.median(times[commands[0]])
    print(f"{name}:")
    for command in commands:
        median = statistics.median(times[command])
        shown = command.replace(build + "/", "").replace("program/", "")
        print(f"  {median * 1000:8.2f} ms  {median / base:5.2f} x  {shown}")
PY
