#!/usr/bin/env bash
# Every korvale-calc example the README shows ("$ korvale-calc ..." and the lines after it, up to
# the block's end) run again, its output compared line by line with what the README prints.
# Usage: readme_examples.sh README KORVALE_CALC [RUNNER...]
set -uo pipefail
readme=$(realpath "$1")
program=$(realpath "$2")
shift 2
runner=("$@")
# The examples name files beside the README (docs/example.layout).
cd "$(dirname "$readme")" || exit 1
failed=0
examples=0
command=
expected=
while IFS= read -r line; do
  if [[ -z "$command" && "$line" == '$ korvale-calc '* ]]; then
    command=${line#'$ korvale-calc '}
    expected=
  elif [[ -n "$command" && "$line" == '```' ]]; then
    read -r -a words <<<"$command"
    actual=$("${runner[@]}" "$program" "${words[@]}" | tr -d '\r')
    if [ "$actual" != "${expected%$'\n'}" ]; then
      echo "FAIL: korvale-calc $command"
      diff <(printf '%s\n' "${expected%$'\n'}") <(printf '%s\n' "$actual") | head -20
      failed=1
    fi
    examples=$((examples + 1))
    command=
  elif [[ -n "$command" ]]; then
    expected+="$line"$'\n'
  fi
done <"$readme"
if [ "$examples" -lt 3 ]; then
  echo "FAIL: only $examples examples found in $readme"
  failed=1
fi
exit "$failed"
