#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Widget tests run on
# Qt's offscreen platform; tests that need a real X server run under an Xvfb
# with a window manager that this script starts (and stops again).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

# The server picks a display number nobody else uses on this machine and
# tells it through a file descriptor.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    rm -f "$display_file"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
if [ ! -s "$display_file" ]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
display=":$(head -n 1 "$display_file")"
for _ in $(seq 50); do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
DISPLAY="$display" openbox >/dev/null 2>&1 &
wm_pid=$!
# The window manager is up once it names its check window on the root;
# tests started before would find windows it has still to take over.
for _ in $(seq 100); do
    DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
if ! DISPLAY="$display" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    echo "the window manager did not start" >&2
    exit 1
fi

cd build
DISPLAY="$display" ctest --output-on-failure --timeout 300 --repeat until-pass:3 "$@"
