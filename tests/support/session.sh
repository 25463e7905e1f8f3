# Sourced by the test scripts: strict mode, fail, a scratch folder $work and an Xvfb of its own
# (DISPLAY), both gone when the script ends, as is the program whose process id is in $app.
set -euo pipefail
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"
start_xvfb
work=$(mktemp -d)
app=""
end_session() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  kill "$XVFB_PID" 2>/dev/null || true
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf "$work"
}
trap end_session EXIT

# Starts a program in the background (its output dropped) and sets $app and $window, its first
# window titled Korvale.
start_app() {
  "$@" >/dev/null 2>&1 &
  app=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Korvale$' | head -n 1)
  [ -n "$window" ] || fail "no window"
}

# Waits up to ten seconds for $app to end, and fails unless it ended with the given status.
expect_end() {
  for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$app" 2>/dev/null && fail "the window did not close"
  local status=0
  wait "$app" || status=$?
  app=""
  [ "$status" -eq "$1" ] || fail "the program ended with status $status"
}
