#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the project's own Wine prefix; ctest uses it as
# the cross-compiling emulator. The prefix is made once, on first use.
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/korvale/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
# Windows programs with windows need a display; without one, a throwaway Xvfb serves.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a wine "$@"; fi
exec wine "$@"
