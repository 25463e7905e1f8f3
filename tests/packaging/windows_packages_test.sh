#!/usr/bin/env bash
# The Windows packages as a user gets them, built with cpack. The portable zip holds exactly
# Korvale.exe (the very bytes of the build's), korvale-calc.exe, README.txt and LICENSE.txt. The
# installer, under Wine: a silent install (/S) per user into the user's programs folder, with a
# Start-menu shortcut (and one to the belt drive) and an entry in the programs list; the installed
# korvale-calc.exe answers; the installed Korvale.exe typed into and closed, saving beside itself;
# a silent uninstall while it runs fails with exit code 2 and removes nothing; a silent uninstall
# that removes what was installed and leaves Rede.txt.
# Usage: windows_packages_test.sh BUILD_DIR KORVALE_EXE
build=$1
exe=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/session.sh"
. "$here/../../scripts/lib/wine.sh"
wine_run="$here/../../scripts/wine-run.sh"
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
zip=$(ls "$work"/out/Korvale-*-win*.zip)
setup=$(ls "$work"/out/Korvale-*-setup.exe)
echo "packages: $(basename "$zip") $(basename "$setup")"

python3 - "$zip" "$exe" <<'PY' || fail "zip"
import sys, zipfile
archive = zipfile.ZipFile(sys.argv[1])
names = sorted(archive.namelist())
assert names == ["Korvale.exe", "LICENSE.txt", "README.txt", "korvale-calc.exe"], names
assert archive.read("Korvale.exe") == open(sys.argv[2], "rb").read(), "Korvale.exe differs"
PY

windows_path() { "$wine_run" cmd /c "echo $1" | tr -d '\r'; }
unix_path() { "$wine_run" winepath.exe -u "$1" | tr -d '\r'; }
installed_windows="$(windows_path '%LOCALAPPDATA%')\\Programs\\Korvale"
installed=$(unix_path "$installed_windows")
programs=$(unix_path "$(windows_path '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs")
shortcut="$programs/Korvale.lnk"
drive_shortcut="$programs/Korvale belt drive.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvale'
rm -rf "$installed" "$shortcut" "$drive_shortcut"

files=(Korvale.exe korvale-calc.exe README.txt LICENSE.txt Uninstall.exe Uninstall.dat)
all_installed() { for file in "${files[@]}"; do [ -f "$installed/$file" ] || fail "$1: $file"; done; }
"$wine_run" "$setup" /S
wineserver --wait
all_installed "not installed"
cmp -s "$installed/Korvale.exe" "$exe" || fail "the installed Korvale.exe differs from the build's"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
[ -f "$drive_shortcut" ] || fail "no Start-menu shortcut to the belt drive"
python3 -c 'import sys; sys.exit("/drive".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
  "$drive_shortcut" || fail "the belt-drive shortcut does not pass /drive"
"$wine_run" reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "not in the programs list"
"$wine_run" "$installed/korvale-calc.exe" drive 14M 28 112 --belt 160 --format csv | tr -d '\r' |
  grep -qx 'belt,14M,28,112,.*,600.5929450474888,2240,160,.*' || fail "the installed korvale-calc.exe"

bash "$here/../ui/calculator/xvfb_end_to_end.sh" --in-place --wine "$installed/Korvale.exe"

# While Korvale runs, a silent uninstall, as a script runs it, refuses with 2 and leaves everything.
start_app "$wine_run" "$installed/Korvale.exe"
status=0
"$wine_run" "$installed/Uninstall.exe" /S || status=$?
[ "$status" -eq 2 ] || fail "the uninstall while Korvale runs ended with $status"
all_installed "removed while Korvale runs"
"$wine_run" reg query "$key" /v EstimatedSize >/dev/null 2>&1 || fail "no EstimatedSize"
xdotool key --window "$window" alt+F4
expect_end 0

"$wine_run" "$installed/Uninstall.exe" /S
wineserver --wait
for file in "${files[@]}"; do [ ! -e "$installed/$file" ] || fail "left after uninstall: $file"; done
[ ! -e "$shortcut" ] || fail "the shortcut is left after the uninstall"
[ ! -e "$drive_shortcut" ] || fail "the belt-drive shortcut is left after the uninstall"
if "$wine_run" reg query "$key" >/dev/null 2>&1; then fail "still in the programs list"; fi
[ "$(ls "$installed")" = "Rede.txt" ] || fail "the folder holds: $(ls "$installed")"
rm -rf "$installed"
echo "installer: installed per user, ran and saved beside itself, uninstalled leaving Rede.txt"
