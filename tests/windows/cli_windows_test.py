#!/usr/bin/python3
"""Runs the Windows build of the ecc200 tool (under Wine) where Windows differs from Linux:
standard input and output carry bytes as they are, outputs replace existing files, and PNG files
written through Windows Imaging Component have the pixels, transparency and resolution asked for.

Usage: cli_windows_test.py <command that runs the tool, e.g. wine-run.sh prefix ecc200.exe>
"""
import os
import subprocess
import sys
import tempfile

from PIL import Image

TOOL = sys.argv[1:]
DATA = b"line\r\nbreak\x1aEOF\x00\xff end"
failures = []


def run(*args, stdin=b""):
    result = subprocess.run(TOOL + list(args), input=stdin, capture_output=True, check=False)
    if result.returncode != 0:
        failures.append(f"{args}: exit {result.returncode}: {result.stderr.decode(errors='replace')}")
    return result.stdout


def check(condition, what):
    if not condition:
        failures.append(what)


def read(name):
    with open(name, "rb") as f:
        return f.read()


def pixels(name, mode):
    return Image.open(name).convert(mode).tobytes()


os.chdir(tempfile.mkdtemp(prefix="ecc200-windows-cli-"))
with open("data.bin", "wb") as f:
    f.write(DATA)

# Standard input is read as bytes: the same symbol as from the file.
run("-i", "data.bin", "-o", "file.bmp")
run("-i", "-", "-o", "stdin.bmp", stdin=DATA)
check(read("file.bmp") == read("stdin.bmp"), "standard input was not read byte for byte")

# Standard output carries no CR LF.
printed = run("--print", "Hello")
check(printed.endswith(b"\n") and b"\r" not in printed, f"--print wrote CR LF: {printed[:40]!r}")

# An existing output is replaced, and nothing is left beside it.
with open("old.bmp", "wb") as f:
    f.write(b"old content")
run("-i", "data.bin", "-o", "old.bmp")
check(read("old.bmp") == read("file.bmp"), "an existing output was not replaced")
check(sorted(os.listdir(".")) == ["data.bin", "file.bmp", "old.bmp", "stdin.bmp"],
      f"files left behind: {sorted(os.listdir('.'))}")

# PNG: the BMP's pixels, the resolution, and colours with transparency.
run("-i", "data.bin", "--dpi", "300", "-o", "plain.png", "-o", "plain.bmp")
check(pixels("plain.png", "L") == pixels("plain.bmp", "L"), "PNG pixels differ from the BMP's")
dpi = Image.open("plain.png").info.get("dpi", (0, 0))
check(abs(dpi[0] - 300) < 1 and abs(dpi[1] - 300) < 1, f"PNG resolution {dpi}, not 300 dpi")
run("-i", "data.bin", "--fg", "blue", "--bg", "transparent", "-o", "colour.png")
rgba = pixels("colour.png", "RGBA")
seen = b"".join(rgba[i:i + 4] if rgba[i + 3] else bytes(4) for i in range(0, len(rgba), 4))
expected = b"".join(bytes((0, 0, 255, 255)) if grey == 0 else bytes(4)
                    for grey in pixels("plain.bmp", "L"))
check(seen == expected, "coloured PNG differs (dark blue, light transparent)")

for failure in failures:
    print("FAILED:", failure)
print(f"{'passed' if not failures else 'FAILED'}: {len(failures)} failures")
sys.exit(1 if failures else 0)
