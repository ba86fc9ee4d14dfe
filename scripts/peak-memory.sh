#!/usr/bin/env bash
# Peak memory and time of reading hostile pictures: large pictures in small
# files, drawn by the project's own tool (build/tools/hostile_pictures), each
# converted by `zantoria-cli pic2text` and read by the picture panel
# (build/tools/panel_picture), measured with /usr/bin/time -v. Every accepted
# picture must stay within its pixel count plus 64 MiB; a picture refused as
# too large counts as bounded. Exit status 1 when one goes beyond.
#
# Usage: scripts/peak-memory.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target zantoria-cli hostile_pictures panel_picture >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t pictures < <("$build/tools/hostile_pictures" "$work")
width=16384
height=3906
limit_kb=$(((width * height + 64 * 1024 * 1024) / 1024))

measure() { # label, command...
    local label=$1
    shift
    local status=0
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/err.txt" || status=$?
    local peak elapsed outcome
    peak=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$work/time.txt")
    elapsed=$(sed -n 's/^\s*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
    if [ "$status" -eq 0 ]; then
        outcome=accepted
    elif grep -q -e 'too large' -e '图片太大了' "$work/err.txt"; then
        outcome="refused as too large"
    else
        outcome="failed: $(head -c 200 "$work/err.txt")"
        failed=1
    fi
    local verdict=ok
    if [ "$peak" -gt "$limit_kb" ]; then
        verdict="OVER the bound"
        failed=1
    fi
    printf '%-40s %-9s %8d KiB  %-22s %s\n' "$label" "$elapsed" "$peak" "$outcome" "$verdict"
}

failed=0
printf 'bound: %d KiB (%d x %d pixels + 64 MiB)\n' "$limit_kb" "$width" "$height"
printf '%-40s %-9s %12s  %-22s %s\n' picture time peak outcome verdict
for picture in "${pictures[@]}"; do
    name=$(basename "$picture")
    measure "pic2text $name" "$build/program/zantoria-cli" pic2text -o /dev/null "$picture"
    measure "pic2text --ordered $name" "$build/program/zantoria-cli" pic2text --gray '@#%*+=-. ' --ordered \
        "$picture"
    measure "panel $name" "$build/tools/panel_picture" "$picture"
done
exit "$failed"
