#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh <prefix folder> <program> [arguments...].
# The prefix is created on first use (that first start takes a few seconds).
set -eu
WINEPREFIX=$1
shift
export WINEPREFIX WINEDEBUG=-all
mkdir -p "$WINEPREFIX"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"
