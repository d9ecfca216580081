#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh <prefix folder> <program> [arguments...].
# The prefix is created on first use, once even when several programs start at the same time
# (that first start takes a few seconds).
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX WINEDEBUG=-all
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.creating" sh -c \
        '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot --init >/dev/null 2>&1' sh "$wine"
fi
exec "$wine" "$@"
