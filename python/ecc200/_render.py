"""Pictures of a symbol drawn in Python: PNG (1-bit greyscale), SVG and Pillow images."""

from __future__ import annotations

import math
import struct
import zlib
from typing import Iterator, List, Optional

Rows = List[bytes]  # one bytes object per module row, top row first, 1 dark and 0 light

# The ecc200 tool's limits (--module-size, --quiet-zone, --dpi): a picture of the largest symbol
# at the largest scale stays below 150 MB, and every count fits the file formats' fields.
MAX_MODULE = 50
MAX_QUIET = 50
MAX_DPI = 100000


def _check_whole(name: str, value: object, low: int, high: int, unit: str) -> None:
    if not isinstance(value, int) or isinstance(value, bool) or not low <= value <= high:
        raise ValueError(f"{name} must be a whole number of {unit} from {low} to {high}, "
                         f"not {value!r}")


def check_scale(module: int, quiet: int) -> None:
    _check_whole("module", module, 1, MAX_MODULE, "pixels")
    _check_whole("quiet", quiet, 0, MAX_QUIET, "modules")


def check_dpi(dpi: Optional[float]) -> None:
    """None, or a finite resolution from 1 to MAX_DPI dots per inch."""
    if dpi is None:
        return
    if isinstance(dpi, bool) or not isinstance(dpi, (int, float)):
        raise ValueError(f"dpi must be a number of dots per inch, not {dpi!r}")
    if not (math.isfinite(dpi) and 1 <= dpi <= MAX_DPI):
        raise ValueError(f"dpi must be from 1 to {MAX_DPI} dots per inch, not {dpi!r}")


def _pixel_rows(rows: Rows, cols: int, module: int, quiet: int) -> Iterator[bytes]:
    """Packed 1-bit pixel rows (bit 1 white, 0 black), top row first, quiet zone included."""
    width = (cols + 2 * quiet) * module
    padding = -width % 8
    light = "1" * (quiet * module)
    blank = int("1" * width + "0" * padding, 2).to_bytes((width + padding) // 8, "big")
    for _ in range(quiet * module):
        yield blank
    for row in rows:
        bits = light + "".join("0" * module if dark else "1" * module for dark in row) + light
        packed = int(bits + "0" * padding, 2).to_bytes((width + padding) // 8, "big")
        for _ in range(module):
            yield packed
    for _ in range(quiet * module):
        yield blank


def _chunk(kind: bytes, body: bytes) -> bytes:
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png_bytes(rows: Rows, cols: int, module: int, quiet: int, dpi: Optional[float]) -> bytes:
    """A 1-bit greyscale PNG of the symbol, module pixels per module and quiet light modules
    around it; dpi, when given, is stored as the picture's resolution."""
    width = (cols + 2 * quiet) * module
    height = (len(rows) + 2 * quiet) * module
    header = struct.pack(">IIBBBBB", width, height, 1, 0, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in _pixel_rows(rows, cols, module, quiet))
    chunks = [_chunk(b"IHDR", header)]
    check_dpi(dpi)
    if dpi is not None:
        per_metre = round(dpi / 0.0254)
        chunks.append(_chunk(b"pHYs", struct.pack(">IIB", per_metre, per_metre, 1)))
    chunks.append(_chunk(b"IDAT", zlib.compress(raw, 9)))
    chunks.append(_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)


def svg_text(rows: Rows, cols: int, module: int, quiet: int) -> str:
    """An SVG of one unit per module: a white background and one path of the dark runs."""
    width, height = cols + 2 * quiet, len(rows) + 2 * quiet
    runs = []
    for y, row in enumerate(rows):
        x = 0
        while x < cols:
            if not row[x]:
                x += 1
                continue
            start = x
            while x < cols and row[x]:
                x += 1
            runs.append(f"M{start + quiet} {y + quiet}h{x - start}v1h-{x - start}z")
    return (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="{width * module}" '
        f'height="{height * module}" viewBox="0 0 {width} {height}" '
        'shape-rendering="crispEdges">\n'
        f'<rect width="{width}" height="{height}" fill="#ffffff"/>\n'
        f'<path fill="#000000" d="{"".join(runs)}"/>\n</svg>\n'
    )


def pil_image(rows: Rows, cols: int, module: int, quiet: int):  # -> PIL.Image.Image
    """A Pillow image in mode "L" (0 black, 255 white)."""
    from PIL import Image  # optional dependency, imported on use

    size = ((cols + 2 * quiet) * module, (len(rows) + 2 * quiet) * module)
    packed = b"".join(_pixel_rows(rows, cols, module, quiet))
    return Image.frombytes("1", size, packed).convert("L")
