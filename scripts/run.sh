#!/usr/bin/env bash
# Builds the calculator and opens it. Where there is no display, runs it under Xvfb instead,
# saves a screenshot of the window as a PNG and says where it is. Installs whatever is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target korvale -- -j"$(nproc)"
program=build/linux/app/korvale

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$program"
fi

screenshot="$PWD/build/korvale-screenshot.png"
. scripts/lib/xvfb.sh
start_xvfb

"$program" >/dev/null 2>&1 &
app=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvale$' | head -n 1)
sleep 0.5
import -window "$window" "$screenshot"
kill "$app"
echo "No display: ran the calculator under Xvfb. Screenshot: $screenshot"
