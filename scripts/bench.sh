#!/usr/bin/env bash
# Runs the benchmarks: the calculation, the Qt keystroke path, and start-up to the window mapped
# (with peak memory) under Xvfb beside a minimal Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -- -j"$(nproc)"
bench=build/linux/bench

"$bench/core_bench"
"$bench/qt_keystroke_bench" 2>/dev/null

for n in $(seq 90 160); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display "$bench/startup_bench" build/linux/app/korvale "$bench/minimal_qt_window" 2>/dev/null
