#!/usr/bin/env bash
# The belt-drive window of the real program under Xvfb: started with --drive from a directory
# whose name is not ASCII, the driving pulley's teeth typed over with xdotool, closed as a window
# manager closes it; Drive.txt beside the program then holds them, and a second start restores
# them (its close saves them again, not the defaults).
# Usage: drive_end_to_end.sh PROGRAM CLOSE_WINDOW          the Linux korvale
#        drive_end_to_end.sh --wine KORVALE_EXE             Korvale.exe /drive under Wine
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../support/session.sh"
runner=() option=--drive close=""
if [ "$1" = "--wine" ]; then runner=("$here/../../../scripts/wine-run.sh") option=/drive; shift; fi
program=$1
close_window=${2:-}
directory="$work/齿轮 korvale"
mkdir "$directory"
cp "$program" "$directory/"
copy="$directory/$(basename "$program")"

run() {
  "${runner[@]}" "$copy" "$option" >/dev/null 2>&1 &
  app=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Korvale (belt drive|带传动)$' |
             head -n 1)
  [ -n "$window" ] || fail "no drive window"
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
  sleep 0.5
  # The profile list has the focus first; Tab goes to the driving pulley's teeth.
  xdotool key --delay 50 Tab
  if [ -n "${1:-}" ]; then
    xdotool key --delay 50 ctrl+a
    xdotool type --delay 50 "$1"
  fi
  if [ -n "$close_window" ]; then "$close_window" "$window"; else xdotool key --window "$window" alt+F4; fi
  expect_end 0
}

run 30
grep -qx 'z1=30' "$directory/Drive.txt" || fail "not saved: $(cat "$directory/Drive.txt")"
run
grep -qx 'z1=30' "$directory/Drive.txt" || fail "not restored: $(cat "$directory/Drive.txt")"
echo "the drive window saved the typed teeth to Drive.txt and restored them"
