# Sourced, not run. Sets up the project's own Wine prefix (made once, on first use), quietly:
# exports WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES for wine, wineserver and winepath.
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/korvale/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# winedbg off: a Windows test that crashes fails at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
