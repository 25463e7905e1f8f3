#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly, in the project's own Wine prefix; ctest uses it as
# the cross-compiling emulator.
set -euo pipefail
. "$(dirname "$0")/lib/wine.sh"
# Windows programs with windows need a display; without one, a throwaway Xvfb serves.
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$KORVALE_WINE" "$@"; fi
exec "$KORVALE_WINE" "$@"
