#!/bin/bash
# bench/cli-speed.sh [BUILD_DIR] [ROUNDS] [RUNS]: zantoria-cli beside the
# floors it is measured against, each group of commands run in turn within a
# round (hyperfine, RUNS runs each) and the rounds repeated, so that the load
# of the machine falls on all alike. Prints the median of all runs of each
# command and its ratio to the group's first command.
#
# Needs hyperfine, jp2a, djpeg (libjpeg-turbo-progs) and python3.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-5}
runs=${3:-40}
cli=$build/program/zantoria-cli
for tool in hyperfine jp2a djpeg python3; do
    command -v "$tool" > /dev/null || { echo "cli-speed: $tool is missing" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/cli_inputs" "$work"
# A cache of its own; the first picture pays for the font system once.
export XDG_CACHE_HOME=$work/cache
"$cli" pic2text "$work/small.bmp" > /dev/null

group() { # name, then the commands; the first is what the others are put beside
    local name=$1
    shift
    for round in $(seq "$rounds"); do
        hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$work/$name-$round.json" "$@" > /dev/null
    done
}
cd "$work"
group start "$build/bench/qt_start_print" "$cli --help" "$cli fold three.txt"
group bmp "$build/bench/qt_start_print" "$cli pic2text small.bmp" "$build/bench/qt_start_draw"
group jpeg "jp2a --width=2000 --height=2000 photo.jpg" "djpeg -grayscale photo.jpg" "$cli pic2text photo.jpg"
group fold "sed s/\ *\$// art.txt" "cat art.txt" "$cli fold --leading --trailing --inner --blank-lines art.txt"

python3 - "$work" "$build" <<'PY'
import glob, json, statistics, sys
work, build = sys.argv[1], sys.argv[2]
for name in ("start", "bmp", "jpeg", "fold"):
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
