# Sourced, not run. Sets up the project's own Wine prefix (made once, on first use), quietly:
# exports WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES for wine, wineserver and winepath, and
# KORVALE_WINE, the loader to start Windows programs with.
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/korvale/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# winedbg off: a Windows test that crashes fails at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
# Debian's wine script always starts the 32-bit loader when wine32 is installed. Some kernels
# (and sandboxes) run no 32-bit programs at all: there the 64-bit loader serves the 64-bit
# programs, and wine_runs_32bit says that 32-bit ones cannot run.
wine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
if wine_runs_32bit || [ ! -x /usr/lib/wine/wine64 ]; then
  export KORVALE_WINE=wine
else
  export KORVALE_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$KORVALE_WINE" wineboot --init >/dev/null 2>&1 || true
  wineserver --wait || true
fi
