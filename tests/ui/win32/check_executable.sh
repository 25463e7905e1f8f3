#!/usr/bin/env bash
# Checks the built Korvale.exe itself: its version record, its icon group of three images, and
# that it imports nothing but Windows' own DLLs. Usage: check_executable.sh KORVALE_EXE OBJDUMP
set -euo pipefail
exe=$1
objdump=$2
fail() { echo "FAIL: $*"; exit 1; }

version=$(wrestool -x --raw -t 16 "$exe" | strings -el -n 3)
for pair in "FileVersion 1.00" "ProductVersion 1.00" "ProductName Korvale" "InternalName Korvale" \
            "OriginalFilename Korvale.exe" "CompanyName The Korvale authors" \
            "LegalCopyright Copyright (c) 2026 The Korvale authors, MIT licence"; do
  key=${pair%% *}
  value=${pair#* }
  printf '%s' "$version" | grep -A1 -x "$key" | tail -n 1 | grep -qx "$value" ||
    fail "$key is not \"$value\""
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wrestool -x -t 14 "$exe" -o "$work"
icon=$(ls "$work"/*.ico | head -n 1)
images=$(icotool -l "$icon" | sed -E 's/.*--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+).*/\1x\2x\3/' | sort | tr '\n' ' ')
[ "$images" = "16x16x4 32x32x1 32x32x4 " ] || fail "icon images are: $images"

imports=$("$objdump" -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $imports; do
  case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | advapi32.dll | ole32.dll | \
      oleacc.dll | bcrypt.dll) ;;
    *) fail "imports $dll" ;;
  esac
done
echo "Korvale.exe: version record, three icon images, system DLLs only ($(echo $imports))"
