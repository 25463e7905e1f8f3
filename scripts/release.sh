#!/usr/bin/env bash
# Builds every release artifact into dist/: the Debian package, the Windows installer, the
# portable Windows zip, and SHA256SUMS over them; then prints their names, sizes and SHA-256
# sums. Installs whatever is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
staging=build/release
rm -rf dist "$staging"
mkdir -p dist

# Every program the packages install, and nothing else: a fresh tree has nothing built.
cmake --preset linux >/dev/null
cmake --build --preset linux --target korvale korvale-calc -- -j"$jobs"
cpack --config build/linux/CPackConfig.cmake -B "$staging/linux" >/dev/null
cp "$staging"/linux/korvale_*_amd64.deb dist/

cmake --preset mingw32 >/dev/null
cmake --build --preset mingw32 --target Korvale korvale-calc -- -j"$jobs"
cpack --config build/mingw32/CPackConfig.cmake -B "$staging/windows" >/dev/null
cp "$staging"/windows/Korvale-*-setup.exe "$staging"/windows/Korvale-*-win32.zip dist/

cd dist
sha256sum -- * >SHA256SUMS
echo "Release artifacts in $PWD:"
while read -r sum name; do
  printf '  %-28s %9s bytes  sha256 %s\n' "$name" "$(stat -c %s "$name")" "$sum"
done <SHA256SUMS
echo "  SHA256SUMS (the sums above, for sha256sum -c)"
