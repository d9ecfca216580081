"""read(): Data Matrix symbols from images, pixels, module matrices and Symbols."""

from __future__ import annotations

import os
from dataclasses import dataclass
from typing import Any, Optional, Tuple

from . import _native
from ._symbol import Symbol

_MARKS = {
    _native.MARK_UNCHECKED: "unchecked",
    _native.MARK_ABSENT: "absent",
    _native.MARK_PARTIAL: "partial",
    _native.MARK_VALID: "valid",
}


class DecodeError(ValueError):
    """Nothing in the source decodes (or the image cannot be loaded).

    ``status`` is the library's status code: 19 unreadable, 10 the identity cannot be used to lift
    a product mark, 8 an invalid argument. ``size`` is the size of the symbol that was found but
    did not decode ("24x24"), or None when none was found.
    """

    def __init__(self, status: int, message: str, size: Optional[str] = None) -> None:
        super().__init__(message)
        self.status = status
        self.size = size


@dataclass(frozen=True)
class Reading:
    """What a symbol holds, and the verdicts on its marks.

    ``user_mark`` is "valid" (every block shows the mark of the identity), "partial", "absent",
    or "unchecked" (no identity to check against); ``user_mark_blocks`` is (blocks that show it,
    blocks in all). ``errors`` counts the codewords corrected in each block.
    """

    size: str
    rows: int
    cols: int
    data: bytes
    text: Optional[str]
    gs1: bool
    hri: Optional[str]
    eci: Optional[int]
    errors: Tuple[int, ...]
    user_mark: str
    user_mark_blocks: Tuple[int, int]
    symbology_id: str
    product_mark_lifted: bool
    reader_programming: bool
    macro: Optional[int]
    structured_append: Optional[Tuple[int, int, int]]
    located_by: str


def _reading(result: dict) -> Reading:
    if result["status"] != 0:
        found = result["found"]
        size = f"{found[0]}x{found[1]}" if found else None
        message = result["error"] or (
            f"symbol found ({size}) but it does not decode" if size else "no symbol found")
        if result["status"] == _native.STATUS_NO_IDENTITY:
            message = "the identity cannot be used to lift the product mark"
        raise DecodeError(result["status"], message, size)
    data = result["data"]
    try:
        text: Optional[str] = data.decode("utf-8")
    except UnicodeDecodeError:
        text = None
    position, count, file_id = result["append"]
    return Reading(
        size=f"{result['rows']}x{result['cols']}",
        rows=result["rows"],
        cols=result["cols"],
        data=data,
        text=text,
        gs1=result["gs1"],
        hri=result["hri"] or None,
        eci=result["eci"] if result["eci"] >= 0 else None,
        errors=tuple(result["errors"]),
        user_mark=_MARKS.get(result["user_mark"], "unchecked"),
        user_mark_blocks=(result["user_mark_blocks"], result["block_count"]),
        symbology_id=result["symbology_id"],
        product_mark_lifted=result["product_mark_lifted"],
        reader_programming=result["reader_programming"],
        macro=result["macro"] or None,
        structured_append=(position, count, file_id) if position > 0 else None,
        located_by=result["located_by"],
    )


def _grey_pixels(array: Any) -> Tuple[bytes, int, int]:
    """A NumPy array as 8-bit grey pixels: 2-D grey levels (booleans: True dark), or 3-D with 3 or
    4 colour channels; floating point values run 0.0 (black) to 1.0 (white)."""
    import numpy

    a = numpy.asarray(array)
    if a.ndim == 3 and a.shape[2] in (3, 4):
        a = a[:, :, :3].astype(numpy.float64) @ numpy.array([0.299, 0.587, 0.114])
        if numpy.asarray(array).dtype.kind == "f":
            a = a * 255.0
    elif a.ndim != 2:
        raise TypeError(f"an image array must be 2-D, or 3-D with 3 or 4 channels, not {a.shape}")
    elif a.dtype == numpy.bool_:
        a = numpy.where(a, 0, 255)
    elif a.dtype.kind == "f":
        a = a * 255.0
    grey = numpy.ascontiguousarray(numpy.clip(numpy.rint(a), 0, 255).astype(numpy.uint8))
    return grey.tobytes(), grey.shape[1], grey.shape[0]


def _encoded(text: Optional[str], what: str) -> Optional[bytes]:
    if text is None:
        return None
    if isinstance(text, os.PathLike):
        text = os.fspath(text)
    if isinstance(text, bytes):
        return text
    if not isinstance(text, str):
        raise TypeError(f"{what} must be a string, not {type(text).__name__}")
    return text.encode("utf-8") if what == "product_id" else os.fsencode(text)


def read(source: Any, *, product_id: Optional[str] = None,
         identity: Optional[str] = None) -> Reading:
    """Reads the Data Matrix symbol in source and returns what it holds.

    source is a path (str or os.PathLike), the bytes of an image file (PNG, BMP, JPEG,
    PGM/PBM/PPM), a PIL image, a NumPy array of pixels, or a Symbol. product_id lifts a product
    mark; identity is the path of the identity file of the marks (default: user.id in the current
    directory). Raises DecodeError when nothing decodes.
    """
    product = _encoded(product_id, "product_id")
    if product is not None and not 1 <= len(product) <= _native.MAX_PRODUCT_ID:
        raise ValueError(f"product_id must be 1 to {_native.MAX_PRODUCT_ID} characters")
    ident = _encoded(identity, "identity")
    if isinstance(source, Symbol):
        result = _native.read_modules(bytes(source), source.rows, source.cols, product, ident)
    elif isinstance(source, (bytes, bytearray, memoryview)):
        result = _native.read_image_file(bytes(source), product, ident)
    elif isinstance(source, (str, os.PathLike)):
        with open(source, "rb") as file:
            result = _native.read_image_file(file.read(), product, ident)
    elif hasattr(source, "convert") and hasattr(source, "size") and hasattr(source, "tobytes"):
        grey = source.convert("L")
        result = _native.read_grey(grey.tobytes(), grey.size[0], grey.size[1], product, ident)
    elif hasattr(source, "__array_interface__") or hasattr(source, "__array__"):
        pixels, width, height = _grey_pixels(source)
        result = _native.read_grey(pixels, width, height, product, ident)
    else:
        raise TypeError(
            "source must be a path, image file bytes, a PIL image, a NumPy array or a Symbol, "
            f"not {type(source).__name__}")
    return _reading(result)
