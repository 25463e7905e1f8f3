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
