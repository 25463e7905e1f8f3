#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack, without a word from lintian even in its
# pedantic and informational tags, depending on a font with the Chinese glyphs, with korvale-calc
# answering and its man page, its desktop entry (with its "Belt drive" action) and metainfo
# validated, then unpacked into a scratch root that is made read-only, and started
# from there as its desktop entry's Exec says, under Xvfb as an unprivileged user with a scratch
# HOME. Its window must carry the entry's StartupWMClass, and it must save into
# ~/.config/korvale/Rede.txt (never beside itself) and restore from there.
# Usage: deb_test.sh BUILD_DIR CLOSE_WINDOW
build=$1
close_window=$2
. "$(dirname "$0")/../support/session.sh"
chmod 755 "$work"  # the unprivileged user must reach the unpacked program

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
deb=$(ls "$work"/out/korvale_*_amd64.deb)
echo "package: $(basename "$deb")"

tags=$(lintian --pedantic --info "$deb" 2>&1 | grep -v "running with root privileges") || true
[ -z "$tags" ] || fail "lintian: $tags"
echo "lintian --pedantic --info: no tags"
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
  *"fonts-noto-cjk | fonts-arphic-uming | fonts-wqy-microhei | fonts-wqy-zenhei"*) ;;
  *) fail "no CJK font among the dependencies: $depends" ;;
esac

root="$work/root"
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "metainfo: $(appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml)"
for size in 16 32 48 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x$size/apps/org.korvale.Korvale.png" ] ||
    fail "no $size px icon"
done
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' \
  "$root/usr/share/icons/hicolor/scalable/apps/org.korvale.Korvale.svg" || fail "no scalable icon"
entry="$root/usr/share/applications/org.korvale.Korvale.desktop"
exec_command=$(sed -n 's/^Exec=//p' "$entry" | head -n 1)
grep -qx 'Exec=korvale --drive' "$entry" || fail 'no "Belt drive" action'
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
chmod -R a-w "$root"

# Asked for its version or help, or given a wrong option, it answers without a display.
[ "$(env -i "$root/usr/bin/korvale" --version)" = "korvale $(dpkg-deb -f "$deb" Version)" ] ||
  fail "--version: $(env -i "$root/usr/bin/korvale" --version 2>&1)"
env -i "$root/usr/bin/korvale" --help | grep -q -- "-platform NAME" || fail "--help"
status=0
env -i "$root/usr/bin/korvale" --frobnicate 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with $status"
env -i "$root/usr/bin/korvale-calc" drive 14M 28 112 --centre 600 |
  grep -qE '^longer +600\.59 +\+0\.59 +2240\.00 ' || fail "korvale-calc drive"
[ -f "$root/usr/share/man/man1/korvale-calc.1.gz" ] || fail "no korvale-calc man page"

user=nobody
home="$work/home"
mkdir -p "$home"
chown "$user" "$home"

# One run of the packaged program: optional keystrokes, then the close a window manager sends.
run() {
  # shellcheck disable=SC2086 # the entry's Exec line, split as a launcher splits it
  start_app bash -c 'cd / && exec "$@"' - setpriv --reuid="$user" --regid="$(id -g "$user")" \
    --clear-groups env -i HOME="$home" DISPLAY="$DISPLAY" PATH="$root/usr/bin:/usr/bin:/bin" \
    $exec_command
  xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"\$" ||
    fail "WM_CLASS $(xprop -id "$window" WM_CLASS) is not the entry's $wm_class"
  if [ $# -gt 0 ]; then
    xdotool windowfocus --sync "$window"
    xdotool "$@"
    sleep 0.3
  fi
  "$close_window" "$window"
  expect_end 0
}

expected=$(printf '"207"\r\n"5M"\r\n' | od -An -tx1)
run type --delay 40 "7"
saved="$home/.config/korvale/Rede.txt"
[ "$(od -An -tx1 "$saved" 2>/dev/null)" = "$expected" ] || fail "saved [$(od -An -tx1 "$saved" 2>/dev/null)]"
[ ! -e "$root/usr/bin/Rede.txt" ] || fail "saved beside the installed program"
run
[ "$(od -An -tx1 "$saved")" = "$expected" ] || fail "the next start did not restore the inputs"
echo "installed korvale: saved to ~/.config/korvale/Rede.txt as $user and restored from it"
