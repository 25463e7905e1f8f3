#!/usr/bin/env bash
# The real korvale in a Wayland session: Weston's headless back end beside Xvfb (as XWayland sits
# beside a Wayland desktop), XDG_SESSION_TYPE=wayland. Chosen by nobody, the window opens on the X
# display, where it stays above the others (QT_QPA_PLATFORM unset, or set and empty); with
# QT_QPA_PLATFORM=wayland it goes to Weston.
# Usage: wayland_test.sh KORVALE
. "$(dirname "$0")/../../support/session.sh"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --socket=korvale-test --idle-time=0 >"$work/weston.log" 2>&1 &
weston=$!
trap 'kill "$weston" 2>/dev/null || true; end_session' EXIT
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/korvale-test" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/korvale-test" ] || fail "Weston did not start: $(cat "$work/weston.log")"
cp "$1" "$work/"
export WAYLAND_DISPLAY=korvale-test XDG_SESSION_TYPE=wayland
for chosen in unset empty; do
  if [ $chosen = unset ]; then unset QT_QPA_PLATFORM; else export QT_QPA_PLATFORM=; fi
  start_app "$work/korvale"
  xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not above ($chosen)"
  kill -TERM "$app"
  expect_end 0
done
unset QT_QPA_PLATFORM

(cd "$work" && QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client exec ./korvale) 2>"$work/wayland.log" &
app=$!
for _ in $(seq 100); do grep -q 'set_title("Korvale")' "$work/wayland.log" && break; sleep 0.1; done
grep -q 'set_title("Korvale")' "$work/wayland.log" || fail "no window on Weston"
[ -z "$(xdotool search --name '^Korvale$' 2>/dev/null)" ] || fail "a window on the X display"
kill -TERM "$app"
expect_end 0
echo "korvale in a Wayland session: on top on the X display; on Weston when asked to be"
