#!/usr/bin/env bash
# The installed Zantoria, started from a staging directory as a user starts
# it from the menu, with a home of its own: its window opens, the samples are
# copied into the user's data, and nothing is written beside the programs.
#
# Usage: installed-start.sh STAGED_PREFIX   (needs DISPLAY and xdotool)
set -euo pipefail
prefix=$1
home=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$home"' EXIT

before=$(find "$prefix" | sort | md5sum)
# As root every directory is writable: the staged layout alone must decide.
HOME=$home XDG_DATA_HOME='' QT_QPA_PLATFORM=xcb "$prefix/bin/zantoria" &
pid=$!
data=$home/.local/share/zantoria
for _ in $(seq 100); do
    xdotool search --name '『Zantoria』' >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool search --name '『Zantoria』' >/dev/null || { echo "no window"; exit 1; }

fail() { echo "$*"; exit 1; }
tips=$(find "$data/data/Zantoria秘笈/Words" "$data/data/Zantoria秘笈/Pictures" -name '*.txt' | wc -l)
[ "$tips" -gt 0 ] || fail "no sample tips in $data"
[ -f "$data/Plugin/Spacefold.ini" ] || fail "no plug-in description in $data"
[ -d "$data/Temp" ] || fail "no Temp in $data"
[ -n "$(find "$data/data/磨牙资源" -name '*.bmp')" ] || fail "no sample pictures in $data"
[ "$(find "$prefix" | sort | md5sum)" = "$before" ] || fail "something was written below $prefix"
echo "started; $tips sample tips in $data"
