# Sourced, not run. start_xvfb: starts an Xvfb on a display number that Xvfb itself finds free
# (so that tests running side by side never share one), exports DISPLAY, waits until it
# answers, and stops it when the calling script exits.
start_xvfb() {
  local handoff
  handoff=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$handoff" >/dev/null 2>&1 &
  XVFB_PID=$!
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    if [ -s "$handoff" ]; then
      export DISPLAY=":$(head -n 1 "$handoff")"
      rm -f "$handoff"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  rm -f "$handoff"
  echo "Xvfb did not start" >&2
  return 1
}
