#!/usr/bin/env bash
# Start-up time of Zantoria: from the start to its main window shown, under
# the X server in DISPLAY (with a window manager), as the median of N runs.
#
# Usage: bench/start-time.sh N fresh|keep PROGRAM
#   fresh: a new home each run (an installed copy's first start)
#   keep:  one home for all runs
set -euo pipefail
n=$1 mode=$2 program=$3
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for _ in $(seq "$n"); do
    if [ "$mode" = fresh ]; then
        rm -rf "$home"
        home=$(mktemp -d)
    fi
    start=$(date +%s%N)
    HOME=$home QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name '『Zantoria』' >/dev/null 2>&1; do sleep 0.005; done
    echo $((($(date +%s%N) - start) / 1000000))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    while xdotool search --name '『Zantoria』' >/dev/null 2>&1; do sleep 0.05; done
    sleep 0.3
done | sort -n | awk '{ t[NR] = $1 } END { printf "median %d ms (min %d, max %d)\n", t[int((NR + 1) / 2)], t[1], t[NR] }'
