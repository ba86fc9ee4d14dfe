#!/usr/bin/env bash
# A send inside a Wayland session: weston, nested in the tests' X server
# (its X11 back end gives it a seat, so windows it maps get the keyboard),
# runs XWayland; the stand-in chat window and the send suite's Wayland case
# run on that XWayland with the environment of a Wayland session. Skipped
# (exit 77) when weston or XWayland is not installed.
#
#   sendinweston.sh TEST_DIR [TEST_FUNCTION...]   (default: sendInsideWayland)
#
# Only a window that has the keyboard already can be sent to there: weston's
# window manager for XWayland leaves _NET_ACTIVE_WINDOW requests unanswered,
# so the send cannot bring a window forward as it does under other window
# managers, and says the window did not take the text.
set -u
test_dir=$1
shift
[ $# -gt 0 ] || set -- sendInsideWayland
if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null; then
    echo "weston or Xwayland is not installed: skipped"
    exit 77
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "no X server to nest weston in: skipped"
    exit 77
fi
runtime=$(mktemp -d)
chmod 700 "$runtime"
log="$runtime/weston.log"
XDG_RUNTIME_DIR="$runtime" weston --backend=x11-backend.so --xwayland --socket=zantoria-test \
    --idle-time=0 --width=1024 --height=768 >"$log" 2>&1 &
weston_pid=$!
cleanup() {
    kill "$weston_pid" 2>/dev/null
    wait "$weston_pid" 2>/dev/null
    rm -rf "$runtime"
}
trap cleanup EXIT
inner=
for _ in $(seq 150); do
    inner=$(grep -o "xserver listening on display :[0-9]*" "$log" | grep -o ":[0-9]*$")
    [ -n "$inner" ] && break
    sleep 0.1
done
if [ -z "$inner" ]; then
    echo "weston did not start its XWayland:"
    cat "$log"
    exit 1
fi
# XWayland starts when its first client connects; the window manager of
# weston is up once it names its check window.
for _ in $(seq 100); do
    DISPLAY="$inner" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
env WAYLAND_DISPLAY=zantoria-test XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland DISPLAY="$inner" \
    QT_QPA_PLATFORM=xcb ZANTORIA_IN_WESTON=1 "$test_dir/tst_sendx11" "$@"
