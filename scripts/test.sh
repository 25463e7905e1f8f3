#!/usr/bin/env bash
# Builds everything and runs every test: the Linux build (with the Qt front end and its end-to-end
# tests), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the 32-bit and
# 64-bit Windows builds with their tests under Wine, and the fuzz targets for a bounded time.
# Warnings are errors. Installs whatever is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
fuzz_seconds=${KORVALE_FUZZ_SECONDS:-30}

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -- -j"$jobs"
}

echo "== Linux"
build linux
ctest --preset linux -j"$jobs"

echo "== Linux, AddressSanitizer + UndefinedBehaviorSanitizer"
build sanitize
ctest --preset sanitize -j"$jobs"

# The Windows tests include real windows: one Xvfb serves every Wine test.
. scripts/lib/xvfb.sh
. scripts/lib/wine.sh
start_xvfb
for preset in mingw32 mingw64; do
  echo "== Windows ($preset) under Wine"
  build "$preset"
  if [ "$preset" = mingw32 ] && ! wine_runs_32bit; then
    # Said plainly rather than passed over: here only the executable itself is checked.
    echo "This machine runs no 32-bit programs: the 32-bit build's tests cannot run under Wine here."
    ctest --preset "$preset" -R korvale_exe_resources
    continue
  fi
  ctest --preset "$preset"
done

# The release from what a fresh clone holds, never from what the builds above left behind.
echo "== The release, from a clean copy of the tree"
clean=$(mktemp -d)
git ls-files -z | tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$clean"
(cd "$clean" && scripts/release.sh)
for artifact in korvale_1.00_amd64.deb Korvale-1.00-setup.exe Korvale-1.00-win32.zip; do
  [ -s "$clean/dist/$artifact" ] || { echo "The release lacks $artifact"; exit 1; }
done
(cd "$clean/dist" && sha256sum --quiet -c SHA256SUMS)
rm -rf "$clean"

echo "== Fuzzing, ${fuzz_seconds}s a target"
build fuzz
for fuzzer in build/fuzz/tests/fuzz/*_fuzz; do
  corpus="build/fuzz/corpus/$(basename "$fuzzer")"
  mkdir -p "$corpus"
  "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=4096 -print_final_stats=0 "$corpus" 2>&1 | tail -n 1
done

echo "All builds and tests passed."
