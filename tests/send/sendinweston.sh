#!/usr/bin/env bash
# A send inside a Wayland session: weston, nested in the tests' X server (its
# X11 back end gives it a seat, so a window it maps gets the keyboard), runs
# XWayland, and the send suite's Wayland case runs there with a Wayland
# session's environment. Skipped (exit 77) without weston and XWayland.
# weston's window manager leaves _NET_ACTIVE_WINDOW unanswered, so only a
# window that has the keyboard already can be sent to there.
#
#   sendinweston.sh TEST_DIR [TEST_FUNCTION...]   (default: sendInsideWayland)
set -u
test_dir=$1
shift
[ $# -gt 0 ] || set -- sendInsideWayland
if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null || [ -z "${DISPLAY:-}" ]; then
    echo "needs weston, Xwayland and an X server to nest them in: skipped"
    exit 77
fi
runtime=$(mktemp -d)
chmod 700 "$runtime"
XDG_RUNTIME_DIR="$runtime" weston --backend=x11-backend.so --xwayland --socket=zantoria-test \
    --idle-time=0 --width=1024 --height=768 >"$runtime/log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT
inner=
for _ in $(seq 150); do
    inner=$(grep -o "xserver listening on display :[0-9]*" "$runtime/log" | grep -o ":[0-9]*$")
    [ -n "$inner" ] && break
    sleep 0.1
done
[ -n "$inner" ] || { echo "weston did not start its XWayland:"; cat "$runtime/log"; exit 1; }
# Its window manager is up once it names its check window.
for _ in $(seq 100); do
    DISPLAY="$inner" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
env WAYLAND_DISPLAY=zantoria-test XDG_RUNTIME_DIR="$runtime" XDG_SESSION_TYPE=wayland DISPLAY="$inner" \
    QT_QPA_PLATFORM=xcb ZANTORIA_IN_WESTON=1 "$test_dir/tst_sendx11" "$@"
