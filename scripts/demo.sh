#!/usr/bin/env bash
# First steps with ecc200: installs what the build needs (fresh Debian machine), builds the
# ecc200 tool and encodes a built-in example: drawn in the terminal, and written as PNG and BMP.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset release > /dev/null
cmake --build --preset release --target ecc200_cli

tool=build/release/cli/ecc200
out=build/demo
example="Hello from ecc200! Serial 0123456789"
mkdir -p "$out"

echo
"$tool" --version
echo
"$tool" "$example" --info --print
"$tool" "$example" -o "$out/example.png" -o "$out/example.bmp" --module-size 8
echo
echo "Wrote $(pwd)/$out/example.png and $(pwd)/$out/example.bmp"
echo "The tool itself is $(pwd)/$tool; try: $tool --help"
