#!/usr/bin/env bash
# The real korvale ended by signals where its save fails: as an unprivileged user, the calculator
# beside itself in a folder the user cannot write (root's, 0755), the drive window over a
# Drive.txt the user may read but not write. One signal: the save is tried, its failure told on
# standard error, and the program ends within a second with status 1, no box in the way. A second
# signal straight after the first: the program ends at once, by that signal.
# Usage: ended_unsaved_test.sh KORVALE
. "$(dirname "$0")/../../support/session.sh"
chmod 755 "$work"
folder="$work/app"
mkdir "$folder"
cp "$1" "$folder/"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  printf 'profile=5M\n' >"$folder/Drive.txt"
  chown nobody "$folder/Drive.txt"
else
  printf 'profile=5M\n' >"$folder/Drive.txt"
fi
chmod 444 "$folder/Drive.txt"
[ "$(id -u)" -eq 0 ] || chmod 555 "$folder"

# window; option; signals; exit status (a pattern: 143 and 130 are SIGTERM's and SIGINT's); what
# standard error holds
while IFS=';' read -r title option signals status said; do
  "${as_user[@]}" env HOME="$work" "$folder/korvale" $option >"$work/err" 2>&1 &
  app=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1) || true
  [ -n "$window" ] || fail "no window $title"
  sleep 0.3
  for signal in $signals; do kill -s "$signal" "$app"; done
  for _ in $(seq 10); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "$title, $signals: still running a second later"
  ended=0
  wait "$app" || ended=$?
  app=""
  [[ "$ended" =~ ^($status)$ ]] || fail "$title, $signals: status $ended, expected $status"
  grep -q "$said" "$work/err" || fail "$title, $signals: standard error says: $(cat "$work/err")"
done <<'ROWS'
^Korvale$;;TERM;1;korvale: Run-time error '70':
^Korvale$;;TERM INT;130|143;
^Korvale .+$;--drive;HUP;1;Cannot save ".*Drive.txt": Permission denied
^Korvale .+$;--drive;TERM INT;130|143;
ROWS
echo "ended by signals where the save fails: told on standard error, ended within a second"
