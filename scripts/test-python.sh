#!/usr/bin/env bash
# Builds the Python package into a throw-away virtual environment (Debian's Python with its
# system packages, no network) and runs its tests against the shared library of a build.
# Usage: scripts/test-python.sh [path/to/libecc200.so]   (default: the release build's)
set -euo pipefail
cd "$(dirname "$0")/.."

library="$(realpath "${1:-build/release/libecc200.so}")"
python="${PYTHON:-/usr/bin/python3}"
venv="$(mktemp -d)"
trap 'rm -rf "$venv"' EXIT

"$python" -m venv --system-site-packages "$venv"
"$venv/bin/pip" install --quiet --no-index --no-build-isolation ./python
# Any pytest exit code but 0 fails the run, "no tests collected" (5) included.
ECC200_LIBRARY="$library" "$venv/bin/python" -m pytest -q -p no:cacheprovider tests/python
