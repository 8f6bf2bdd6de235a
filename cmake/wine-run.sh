#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine with a private prefix in the build tree
# (created once), no Wine debug chatter, and a Chinese locale so CJK text has its fonts.
set -euo pipefail
wine_bin=$(command -v wine64 || command -v wine)
: "${WINEPREFIX:=${MORVI_WINEPREFIX:-$HOME/.morvi-wineprefix}}"
export WINEPREFIX WINEDEBUG=-all LANG=zh_CN.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # One prefix per build tree; a lock keeps parallel tests from initialising it twice.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || { "$wine_bin" wineboot -i >/dev/null 2>&1; wineserver -w 2>/dev/null || true; }
    flock -u 9
fi
exec "$wine_bin" "$@"
