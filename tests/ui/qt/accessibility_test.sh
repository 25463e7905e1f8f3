#!/usr/bin/env bash
# The real korvale under Xvfb on a private D-Bus session with the AT-SPI accessibility bus, read
# by atspi_check.py as a screen reader would, on a desktop in a language (LANG), whose names it
# expects. Usage: accessibility_test.sh KORVALE LANG (zh_CN.UTF-8 or en_US.UTF-8)
set -euo pipefail
if [ -z "${KORVALE_ON_PRIVATE_BUS:-}" ]; then
  export KORVALE_ON_PRIVATE_BUS=1
  exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v "fd limit" >&2)
fi
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../support/session.sh"
cp "$1" "$work/"  # a fresh folder: the design inputs, no saved ones
start_app env LANG="$2" LANGUAGE="" LC_ALL="" LC_MESSAGES="" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$work/$(basename "$1")"
timeout 90 /usr/bin/python3 "$here/atspi_check.py" "$window" "${2:0:2}"
