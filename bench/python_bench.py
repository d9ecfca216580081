#!/usr/bin/env python3
"""Times the Python package per symbol beside the C call and beside pylibdmtx.

Same corpus as ecc200_bench (four classes, seeded splitmix64, lengths 5 to 500), automatic
scheme and square size. Columns, median CPU time per symbol in microseconds:

- C call: ecc200_bench's ecc200 column (SetDataToEncoding_ECC200 + WriteEncodedSymbolToBuf_ECC200
  on one long-lived symbol), run as a subprocess when --bench names the program;
- encode(): ecc200.encode(data), a Symbol whose modules are one bytes object (bytes(symbol),
  symbol.buffer and numpy.asarray(symbol) read it without encoding again);
- overhead: encode() minus the C call;
- .modules: ecc200.encode(data).modules, the modules as lists of 0/1 per row;
- pylibdmtx: pylibdmtx.encode(data, None, "SquareAuto"), libdmtx through its Python binding
  in its default ASCII scheme (it refuses "AutoBest"), rendering a 24-bit picture (its public
  path).

Usage: bench/python_bench.py [--bench build/release/bench/ecc200_bench] [--repetitions N]
                             [--markdown FILE]
"""

import argparse
import json
import statistics
import subprocess
import sys
import tempfile
import time

import ecc200

CLASSES = {
    "digits": lambda stream: stream.pick(b"0123456789"),
    "upper": lambda stream: stream.pick(b"ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789"),
    "mixed": lambda stream: 32 + stream.next() % 95,
    "binary": lambda stream: stream.next() & 0xFF,
}
LENGTHS = (5, 20, 60, 200, 500)
MASK = (1 << 64) - 1


class SeededStream:
    """splitmix64, exactly as bench/corpus.cpp, so both programs see the same bytes."""

    def __init__(self, seed: int) -> None:
        self.state = seed

    def next(self) -> int:
        self.state = (self.state + 0x9E3779B97F4A7C15) & MASK
        z = self.state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
        return z ^ (z >> 31)

    def pick(self, alphabet: bytes) -> int:
        return alphabet[self.next() % len(alphabet)]


def corpus():
    for class_index, (name, next_byte) in enumerate(CLASSES.items()):
        stream = SeededStream(0xECC200 + class_index)
        stream_bytes = bytes(next_byte(stream) for _ in range(max(LENGTHS)))
        for length in LENGTHS:
            yield f"{name}_{length}", f"{name} {length}", stream_bytes[:length]


def median_micros(call, repetitions: int, min_seconds: float = 0.05) -> float:
    """Median over repetitions of the CPU time per call, each repetition at least min_seconds."""
    loops = 1
    while True:
        start = time.thread_time()
        for _ in range(loops):
            call()
        if time.thread_time() - start >= min_seconds / 4:
            break
        loops *= 4
    loops = max(1, int(loops * min_seconds / max(time.thread_time() - start, 1e-9)))
    samples = []
    for _ in range(repetitions):
        start = time.thread_time()
        for _ in range(loops):
            call()
        samples.append((time.thread_time() - start) / loops * 1e6)
    return statistics.median(samples)


def c_call_micros(bench: str, repetitions: int) -> dict:
    """The ecc200 column of ecc200_bench for the corpus rows, by row key."""
    with tempfile.NamedTemporaryFile(suffix=".json") as results:
        completed = subprocess.run(
            [bench, f"--repetitions={repetitions}", f"--benchmark_out={results.name}",
             "--benchmark_out_format=json",
             "--benchmark_filter=^ecc200/(digits|upper|mixed|binary)_[0-9]+/"],
            check=False, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
        )
        if completed.returncode != 0:
            sys.exit(f"{bench} failed:\n{completed.stderr}")
        entries = json.load(results)["benchmarks"]
    times = {}
    for entry in entries:
        if entry.get("aggregate_name") == "median":
            key = entry["run_name"].split("/")[1]
            times[key] = entry["cpu_time"]  # microseconds: the benchmarks report in that unit
    return times


def cell(value) -> str:
    return "-" if value is None else f"{value:.3g}"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--bench", help="path of ecc200_bench, for the C column")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--markdown", help="also write the table to this file")
    options = parser.parse_args()
    try:
        from pylibdmtx import pylibdmtx
    except ImportError:
        pylibdmtx = None
    c_times = c_call_micros(options.bench, options.repetitions) if options.bench else {}

    lines = [
        "| row | size | C call µs | encode() µs | overhead µs | .modules µs | pylibdmtx µs |",
        "|---|---:|---:|---:|---:|---:|---:|",
    ]
    print("\n".join(lines), flush=True)
    for key, label, data in corpus():
        symbol = ecc200.encode(data)
        assert bytes(symbol) and symbol.data == data
        encode = median_micros(lambda: ecc200.encode(data), options.repetitions)
        modules = median_micros(lambda: ecc200.encode(data).modules, options.repetitions)
        peer = None
        if pylibdmtx is not None:
            peer = median_micros(lambda: pylibdmtx.encode(data, None, "SquareAuto"),
                                 options.repetitions)
        c_call = c_times.get(key)
        overhead = encode - c_call if c_call is not None else None
        lines.append(f"| {label} | {symbol.size} | {cell(c_call)} | {cell(encode)} | "
                     f"{cell(overhead)} | {cell(modules)} | {cell(peer)} |")
        print(lines[-1], flush=True)
    if options.markdown:
        with open(options.markdown, "w", encoding="utf-8") as file:
            file.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
