#!/bin/sh
# Runs a Windows program under Wine:
#   wine-run.sh <win64|win32> <prefix folder> <program> [arguments...]
# win64 runs 64-bit programs with wine64; win32 runs 32-bit programs with Debian's 32-bit Wine
# (wine32:i386) in a 32-bit prefix. The prefix is created on first use, once even when several
# programs start at the same time (that first start takes a few seconds).
set -eu
WINEARCH=$1
WINEPREFIX=$2
shift 2
export WINEARCH WINEPREFIX WINEDEBUG=-all
if [ "$WINEARCH" = win32 ]; then
    wine=/usr/lib/wine/wine
else
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    flock "$WINEPREFIX/.creating" sh -c \
        '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot --init >/dev/null 2>&1' sh "$wine"
fi
exec "$wine" "$@"
