"""encode() and the Symbol it returns."""

from __future__ import annotations

import os
from typing import IO, List, Optional, Union

from . import _native, _render
from ._messages import STEP_ENCODE, encode_error
from ._settings import (
    SCHEME_KEYWORDS,
    SIZE_NAMES,
    Data,
    Request,
    data_bytes,
    path_bytes,
    settings_for,
)

PathOrFile = Union[str, "os.PathLike[str]", IO[bytes]]

_INT32_MAX = 2**31 - 1
_BMP_TOO_LARGE = "the BMP picture would be too large; choose a smaller module or quiet"


class Symbol:
    """A finished Data Matrix symbol: its size, the scheme used and its modules.

    ``modules`` is a list of rows, top row first, each a list of 0 (light) and 1 (dark).
    ``buffer`` is the same as a read-only ``memoryview`` of shape (rows, cols), which NumPy takes
    without copying (``numpy.asarray(symbol.buffer)``); ``numpy.asarray(symbol)`` works too, and
    ``bytes(symbol)`` gives rows x cols bytes, exactly the library's module buffer.
    """

    __slots__ = ("_request", "_modules", "_scheme", "_size")

    def __init__(self, request: Request, modules: bytes, scheme: int, size: int) -> None:
        self._request = request
        self._modules = modules
        self._scheme = scheme
        self._size = size

    @property
    def rows(self) -> int:
        """Module rows, finder pattern included."""
        return _native.SIZES[self._size][0]

    @property
    def cols(self) -> int:
        """Module columns, finder pattern included."""
        return _native.SIZES[self._size][1]

    @property
    def size(self) -> str:
        """The size as rows x columns, such as "24x24" or "8x32"."""
        return SIZE_NAMES[self._size]

    @property
    def capacity(self) -> int:
        """Data codewords that this size holds."""
        return _native.SIZES[self._size][2]

    @property
    def scheme(self) -> str:
        """The scheme the encode ended in, as the library reports it (for a fixed scheme,
        usually the one requested)."""
        return SCHEME_KEYWORDS[self._scheme]

    @property
    def data(self) -> bytes:
        """The bytes encoded (a str was encoded as UTF-8)."""
        return self._request.data

    @property
    def modules(self) -> List[List[int]]:
        """Rows of 0 (light) and 1 (dark), top row first; a fresh list on every access."""
        return self.buffer.tolist()

    @property
    def buffer(self) -> memoryview:
        """The modules as a read-only memoryview of bytes, shape (rows, cols)."""
        return memoryview(self._modules).cast("B", (self.rows, self.cols))

    def __bytes__(self) -> bytes:
        return self._modules

    def __array__(self, dtype=None):  # -> numpy.ndarray
        import numpy  # optional dependency, imported on use

        array = numpy.frombuffer(self._modules, dtype=numpy.uint8).reshape(self.rows, self.cols)
        return array if dtype is None else array.astype(dtype)

    def __eq__(self, other: object) -> bool:
        if not isinstance(other, Symbol):
            return NotImplemented
        return self._size == other._size and self._modules == other._modules

    def __hash__(self) -> int:
        return hash((self._size, self._modules))

    def __repr__(self) -> str:
        data = self._request.data
        shown = repr(data if len(data) <= 24 else data[:24]) + ("..." if len(data) > 24 else "")
        return f"<ecc200.Symbol {self.size} scheme={self.scheme!r} data={shown}>"

    def _rows(self) -> List[bytes]:
        cols = self.cols
        return [self._modules[i : i + cols] for i in range(0, len(self._modules), cols)]

    def to_png(
        self, path_or_file: PathOrFile, module: int = 4, quiet: int = 2, dpi: Optional[float] = None
    ) -> None:
        """Writes a 1-bit greyscale PNG: module pixels per module, a light margin of quiet
        modules on every side, and the resolution dpi (dots per inch) when given."""
        _render.check_scale(module, quiet)
        _render.check_dpi(dpi)
        picture = _render.png_bytes(self._rows(), self.cols, module, quiet, dpi)
        if hasattr(path_or_file, "write"):
            path_or_file.write(picture)
        elif _native.write_file(path_bytes(path_or_file), picture) != 0:
            # Written by the library's rule, as the BMP: links followed, mode and owner kept.
            raise OSError(f"the PNG file {os.fsdecode(path_or_file)!r} could not be written")

    def to_svg(self, module: int = 4, quiet: int = 2) -> str:
        """An SVG document: one unit per module, module pixels wide each, quiet modules of
        light margin, the dark modules as one path with crisp edges."""
        _render.check_scale(module, quiet)
        return _render.svg_text(self._rows(), self.cols, module, quiet)

    def to_pil(self, module: int = 4, quiet: int = 2):  # -> PIL.Image.Image
        """A Pillow image in mode "L" (0 black, 255 white); needs Pillow."""
        _render.check_scale(module, quiet)
        return _render.pil_image(self._rows(), self.cols, module, quiet)

    def to_bmp(self, path: Union[str, "os.PathLike[str]"], module: int = 4, quiet: int = 2) -> None:
        """Writes the library's own 8-bit greyscale BMP: module pixels per module and a white
        margin of quiet modules. The library encodes the same data and settings again for it."""
        _render.check_scale(module, quiet)
        if module * (max(self.rows, self.cols) + 2 * quiet) > _INT32_MAX:
            raise ValueError(_BMP_TOO_LARGE)
        status, step = _native.write_bmp(*self._request, module, quiet * module, path_bytes(path))
        if status == _native.STATUS_INTERNAL and step == STEP_ENCODE:
            raise OSError(f"the BMP file {os.fsdecode(path)!r} could not be written")
        if status == _native.STATUS_PARAMETER and step == STEP_ENCODE:
            raise ValueError(_BMP_TOO_LARGE)
        if status != 0:
            raise encode_error(status, step, self._request)


def encode(
    data: Data,
    *,
    scheme: str = "auto",
    size: str = "auto",
    shape: str = "square",
    smallest: bool = False,
    gs1: bool = False,
    eci: Union[None, int, str] = None,
    user_mark: bool = False,
    product_mark: Union[None, str, bytes] = None,
) -> Symbol:
    """Encodes data as a Data Matrix ECC 200 symbol.

    data: bytes are encoded as they are; a str is encoded as UTF-8 (readers show it correctly
        when they assume UTF-8; eci="utf8" says so in the symbol). At most 3116 bytes; empty data
        gives an empty symbol.
    scheme: "auto" (switches schemes as the data goes), "ascii", "c40", "text", "x12",
        "edifact" or "base256".
    size: "auto" (the smallest that holds the data) or one of the 30 sizes, "10x10" to
        "144x144" and the rectangles "8x18", "8x32", "12x26", "12x36", "16x36", "16x48".
    shape: which sizes size="auto" considers: "square" or "any" (rectangles too).
    smallest: with scheme="auto", search for the shortest encoding instead of switching by
        look-ahead.
    gs1: GS1 data: the symbol starts with FNC1 and each GS byte (0x1D) separates fields.
    eci: None, "utf8" (ECI 26) or an ECI designator from 1 to 999999.
    user_mark, product_mark: the keyed marks; both need user.id in the current directory, and
        product_mark is the product identifier (1 to 100 bytes).

    Raises EncodeError (a ValueError) with the library's status code when the data cannot be
    encoded as asked or an argument is invalid, TypeError for data of another type.
    """
    try:
        settings = settings_for(scheme, size, shape, smallest, gs1, eci, user_mark, product_mark)
    except TypeError:  # an unhashable argument: checked without the cache, to report it
        settings = settings_for.__wrapped__(
            scheme, size, shape, smallest, gs1, eci, user_mark, product_mark
        )
    request = Request(data if type(data) is bytes else data_bytes(data), settings)
    status, step, modules, scheme_used, size_used = _native.encode(*request)
    if status != 0:
        raise encode_error(status, step, request)
    return Symbol(request, modules, scheme_used, size_used)

