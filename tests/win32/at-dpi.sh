#!/usr/bin/env bash
# Runs a Windows program under wine with the system set to DPI, in a wine
# prefix of its own (so its display is the one wine's shell starts with),
# and tells the program through TARNWK_TEST_DPI.
# Usage: at-dpi.sh DPI PROGRAM [ARGUMENTS...]  (needs DISPLAY)
set -euo pipefail
dpi=$1
shift
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
trap 'echo "at-dpi.sh: line $LINENO failed" >&2' ERR
wineboot -i </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null
wineserver -w
TARNWK_TEST_DPI=$dpi wine "$@" </dev/null
