#!/usr/bin/env bash
# The real korvale where no display can be opened: no X display set, one that does not answer, a
# Wayland display that is not there. Each time one line on standard error and exit status 1.
# Usage: no_display_test.sh PROGRAM
set -uo pipefail
program=$1
failed=0
while read -r setting; do
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $setting "$program" 2>&1 </dev/null)
  status=$?
  if [ "$status" -ne 1 ] || [ "$output" != "korvale: no display could be opened" ]; then
    echo "FAIL with ${setting:-nothing set}: status $status, said: $output"
    failed=1
  fi
done <<'ROWS'
XDG_RUNTIME_DIR=/nonexistent
DISPLAY=:9999
QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR=/nonexistent
ROWS
[ "$failed" -eq 0 ] && echo "no display: one line, exit status 1"
exit "$failed"
