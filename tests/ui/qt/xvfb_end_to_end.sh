#!/usr/bin/env bash
# The real korvale under Xvfb, driven with xdotool as a person would: type into the teeth entry,
# move with Tab to the pitch field and type there, check that the window stays above others,
# close it as a window manager would, and check the bytes it saved beside the executable.
# Usage: xvfb_end_to_end.sh KORVALE CLOSE_WINDOW
set -euo pipefail
korvale=$1
close_window=$2

. "$(dirname "$0")/../../../scripts/lib/xvfb.sh"
start_xvfb
work=$(mktemp -d)
app=""
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$korvale" "$work/korvale"

(cd / && exec "$work/korvale") >/dev/null 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvale$' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window"; exit 1; }

state=$(xprop -id "$window" _NET_WM_STATE)
case "$state" in
  *_NET_WM_STATE_ABOVE*) ;;
  *) echo "FAIL: not above other windows: $state"; exit 1 ;;
esac

xdotool windowfocus --sync "$window"
xdotool type --delay 40 "3"
xdotool key --delay 40 Tab Tab Tab ctrl+a BackSpace
xdotool type --delay 40 "8M"
sleep 0.3

"$close_window" "$window"
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then echo "FAIL: the window did not close"; exit 1; fi

expected=$(printf '"203"\r\n"8M"\r\n' | od -An -tx1)
actual=$(od -An -tx1 "$work/Rede.txt" 2>/dev/null || echo "no file")
if [ "$actual" != "$expected" ]; then
  echo "FAIL: Rede.txt holds [$actual], expected [$expected]"
  exit 1
fi
echo "korvale under Xvfb: typed, stayed on top, closed, saved"
