#!/usr/bin/env bash
# Runs the Win32 window's layout test with Wine set to another screen resolution (LogPixels), so
# that the window starts at that DPI, in English and in Chinese, then sets Wine back to 96.
# Usage: at_dpi.sh DPI WIN32_WINDOW_TESTS_EXE
set -euo pipefail
dpi=$1
tests=$2
wine_run="$(dirname "$0")/../../../scripts/wine-run.sh"
key='HKCU\Control Panel\Desktop'
"$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
trap '"$wine_run" reg add "$key" /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1' EXIT
for lang in en_US zh_CN; do
  LANG=$lang.UTF-8 KORVALE_EXPECTED_DPI=$dpi "$wine_run" "$tests" --gtest_brief=1 \
    --gtest_filter='*LaidOut*'
done
