#!/usr/bin/env bash
# First steps with ecc200: installs only what building the tool needs (fresh Debian machine),
# builds the library and the ecc200 tool (the "tool" preset: no tests, examples or benchmark) and
# encodes a built-in example: drawn in the terminal, and written as PNG and BMP.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build
cmake --preset tool > /dev/null
cmake --build --preset tool

tool=build/tool/cli/ecc200
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
echo "To have ecc200 on your PATH (with its man page and bash completion):"
echo "  cmake --install build/tool --prefix ~/.local"
