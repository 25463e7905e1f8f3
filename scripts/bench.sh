#!/usr/bin/env bash
# Runs the benchmarks: the programs' sizes (the Windows ones built too), the calculation, the belt
# drive and korvale-calc's output, start-up and close over a 100 MB state file, the Qt keystroke
# path, a huge paste beside a bare line edit, and start-up to the window mapped (with peak memory)
# under Xvfb beside a minimal Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -- -j"$(nproc)"
bench=build/linux/bench
for preset in mingw32 mingw64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Korvale korvale-calc -- -j"$(nproc)"
done

"$bench/size_bench" build/linux/app/korvale build/linux/app/korvale-calc \
  build/mingw32/app/Korvale.exe build/mingw32/app/korvale-calc.exe \
  build/mingw64/app/Korvale.exe build/mingw64/app/korvale-calc.exe

"$bench/core_bench"
"$bench/drive_bench"
"$bench/layout_bench"
"$bench/big_state_bench" 2>/dev/null
"$bench/qt_keystroke_bench" 2>/dev/null
"$bench/paste_bench" 2>/dev/null

. scripts/lib/xvfb.sh
start_xvfb
"$bench/startup_bench" build/linux/app/korvale "$bench/minimal_qt_window" 2>/dev/null
