#!/usr/bin/env bash
# korvale-calc whose output cannot be written, run as a shell runs it: to a full disk, to a closed
# standard output, and into a pipe whose reader has gone while SIGPIPE is ignored (as it is for a
# program started by many a service, and always on Windows). Each time one line on standard error
# naming the failure, exit status 3, and an end within seconds however long the output would be.
# Usage: output_failures.sh KORVALE_CALC [RUNNER...]     RUNNER: scripts/wine-run.sh under Wine
set -uo pipefail
program=$1
shift
runner=("$@")
failed=0
err=$(mktemp)
trap 'rm -f "$err"' EXIT
# Ignored here, ignored in the program, which inherits it.
trap '' PIPE
# what the output meets; the teeth asked for
while IFS=';' read -r meets teeth; do
  run=(timeout 60 "${runner[@]}" "$program" pulley 5M "$teeth")
  case "$meets" in
    full) "${run[@]}" 2>"$err" >/dev/full; status=$? ;;
    closed) "${run[@]}" 2>"$err" >&-; status=$? ;;
    gone) "${run[@]}" 2>"$err" | head -c 1 >/dev/null; status=${PIPESTATUS[0]} ;;
  esac
  said=$(tr -d '\r' <"$err")
  if [ "$status" -ne 3 ] || [[ "$said" != "korvale-calc: cannot write the output: "* ]] ||
     [ "$(printf '%s\n' "$said" | wc -l)" -ne 1 ]; then
    echo "FAIL, output to $meets, teeth $teeth: status $status, said: $said"
    failed=1
  fi
done <<'ROWS'
full;1-100000
full;20
closed;1-100000
closed;20
gone;1-1000000000
ROWS
[ "$failed" -eq 0 ] && echo "output that cannot be written: told in one line, exit status 3"
exit "$failed"
