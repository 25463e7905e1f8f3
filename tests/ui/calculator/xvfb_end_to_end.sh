#!/usr/bin/env bash
# The real program under Xvfb, driven with xdotool as a person would: it is copied into a
# directory whose name is not ASCII and started from elsewhere; the test types into the teeth
# entry, moves with Tab to the pitch field and types there, checks that the window stays above
# others, closes it, and checks the bytes saved beside the executable.
# Usage: xvfb_end_to_end.sh PROGRAM [CLOSE_WINDOW]      the Linux korvale, closed as a window
#                                                      manager would, through CLOSE_WINDOW
#        xvfb_end_to_end.sh PROGRAM --signal NAME       the Linux korvale, ended by a signal (TERM,
#                                                      HUP, INT), as a logout ends it
#        xvfb_end_to_end.sh PROGRAM --kill-display      the Linux korvale, its display killed
#                                                      after the typing: the inputs are saved
#        xvfb_end_to_end.sh PROGRAM CLOSE_WINDOW --restore BYTES
#                                                      started over a Rede.txt of these bytes
#                                                      (printf's form) that overflows: the report
#                                                      is dismissed, the window closed untouched,
#                                                      and the very bytes are saved back
#        xvfb_end_to_end.sh --wine KORVALE_EXE          Korvale.exe under Wine, closed with Alt+F4
# With --in-place first, the program runs where it stands (an installed copy) instead.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../support/session.sh"
in_place=false runner=() signal="" kill_display=false restore=""
if [ "$1" = "--in-place" ]; then in_place=true; shift; fi
if [ "$1" = "--wine" ]; then runner=("$here/../../../scripts/wine-run.sh"); shift; fi
program=$1
close_window=${2:-}
case "$close_window" in
  --signal) signal=$3 close_window="" ;;
  --kill-display) kill_display=true close_window="" ;;
esac
if [ "${3:-}" = "--restore" ]; then restore=$4; fi

directory="$work/齿轮 korvale"
if $in_place; then
  directory=$(cd "$(dirname "$program")" && pwd)
else
  mkdir "$directory"
  cp "$program" "$directory/"
fi
copy="$directory/$(basename "$program")"

expected=$(printf '"203"\r\n"8M"\r\n' | od -An -tx1)
if [ -n "$restore" ]; then
  printf "$restore" >"$directory/Rede.txt"
  expected=$(od -An -tx1 "$directory/Rede.txt")
fi

# A panel along the bottom, as desktops have: the window must be centred in the rest of the
# screen (the work area), never partly beneath the panel. A client of its own keeps the setting,
# which the X server drops whenever its last client goes.
xprop -root -spy >/dev/null 2>&1 &
sleep 0.2
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, 1024, 568"

start_app bash -c 'cd / && exec "$@"' - "${runner[@]}" "$copy"

if [ ${#runner[@]} -eq 0 ]; then
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ $(((X + WIDTH / 2 - 512) ** 2 + (Y + HEIGHT / 2 - 284) ** 2)) -le 100 ] ||
    fail "not centred in the work area: ${WIDTH}x$HEIGHT at $X,$Y"
fi

if [ -n "$restore" ]; then
  # The overflow is reported over the window, once; then the window is closed untouched.
  windows() { xdotool search --onlyvisible --name '^Korvale$' | wc -l; }
  for _ in $(seq 50); do [ "$(windows)" -ge 2 ] && break; sleep 0.1; done
  [ "$(windows)" -ge 2 ] || fail "no report of the restored overflow"
  xdotool key --delay 100 Return
  sleep 0.5
  [ "$(windows)" -eq 1 ] || fail "more than one report"
  window=$(xdotool search --onlyvisible --name '^Korvale$' | head -n 1)
fi

xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not above the others"

if [ -z "$restore" ]; then
  xdotool windowfocus --sync "$window"
  xdotool type --delay 40 "3"
  xdotool key --delay 40 Tab Tab Tab ctrl+a BackSpace
  xdotool type --delay 40 "8M"
  sleep 0.3
fi

expected_status=0
if $kill_display; then
  # The display goes away as in a crash or a dropped connection; Qt ends the program with 1.
  kill -KILL "$XVFB_PID"
  expected_status=1
elif [ -n "$signal" ]; then
  kill -s "$signal" "$app"
elif [ -n "$close_window" ]; then
  "$close_window" "$window"
else
  xdotool key alt+F4
fi
expect_end "$expected_status"

actual=$(od -An -tx1 "$directory/Rede.txt" 2>/dev/null || echo "no file")
[ "$actual" = "$expected" ] || fail "Rede.txt holds [$actual], expected [$expected]"
echo "$(basename "$program") under Xvfb: ${restore:+restored an overflow, }typed, stayed on top, closed${signal:+ by SIG$signal}$($kill_display && echo " by the display's end"), saved beside itself"
