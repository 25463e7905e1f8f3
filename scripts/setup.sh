#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, run and package on Linux and
# for Windows (mingw-w64, Wine, NSIS). Idempotent: says nothing and changes nothing when all is there.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libgtest-dev googletest libbenchmark-dev
  qt6-base-dev fonts-noto-cjk
  # Fonts other packages often bring: Droid Sans Fallback claims GB2312 without Latin letters, so
  # the tests meet a font set where asking for "宋体" in GB2312 can land on a font without them.
  fonts-droid-fallback fonts-urw-base35
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 icoutils
  wine wine64 wine32:i386
  libx11-dev xvfb xauth xdotool x11-utils imagemagick
  python3 dpkg-dev lintian desktop-file-utils appstream nsis
  dbus-bin at-spi2-core python3-pyatspi locales weston qt6-wayland
)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The language tests run the programs in Chinese and English locales, and the drive's in a German
# one, whose decimal comma no figure may follow.
locales=(zh_CN en_US de_DE)
locales_missing() {
  for name in "${locales[@]}"; do locale -a 2>/dev/null | grep -qx "$name.utf8" || return 0; done
  return 1
}
make_locales() {
  for name in "${locales[@]}"; do $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"; done
}

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
  if locales_missing; then make_locales; fi
  exit 0
fi

echo "Installing: ${missing[*]}"
# 32-bit Wine, for the 32-bit Korvale.exe, comes from the i386 architecture.
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
if locales_missing; then make_locales; fi
