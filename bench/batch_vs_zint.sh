#!/usr/bin/env bash
# Times `ecc200 --batch` against `zint --batch` on the same 10,000 lines to PNG, in one run, on
# tmpfs, and checks that the parallel run writes the same files as a one-job run.
# Usage: bench/batch_vs_zint.sh path/to/ecc200 [repetitions]
set -euo pipefail
tool=$1
repetitions=${2:-3}
work=$(mktemp -d /dev/shm/ecc200_batch_XXXXXX)
trap 'rm -rf "$work"' EXIT
seq -f 'SERIAL-%06g-LOT-A' 1 10000 >"$work/lines.txt"

# Prints "wall user+sys" in seconds for the command.
timed() {
    /usr/bin/time -o "$work/time" -f '%e %U %S' "$@" >/dev/null 2>&1
    awk '{printf "%.2f %.2f\n", $1, $2 + $3}' "$work/time"
}

echo "run tool wall_s cpu_s"
for i in $(seq "$repetitions"); do
    rm -rf "$work/z" "$work/e"
    mkdir "$work/z"
    echo "$i zint $(timed zint --batch -b 71 --filetype=PNG -o "$work/z/~~~~~.png" -i "$work/lines.txt")"
    echo "$i ecc200 $(timed "$tool" --batch "$work/lines.txt" --output-dir "$work/e")"
    rm -rf "$work/e1"
    echo "$i ecc200--jobs-1 $(timed "$tool" --batch "$work/lines.txt" --output-dir "$work/e1" --jobs 1)"
done
diff -r "$work/e" "$work/e1" >/dev/null && echo "files of the parallel run equal a --jobs 1 run"
echo "bytes: zint $(du -sb "$work/z" | cut -f1), ecc200 $(du -sb "$work/e" | cut -f1)"
