"""encode() and the Symbol it returns."""

from __future__ import annotations

import os
from typing import IO, List, Optional, Union

from . import _native, _render
from ._errors import EncodeError
from ._gs1 import gs1_request, human_readable
from ._messages import STEP_ENCODE, encode_error
from ._settings import (
    SCHEME_KEYWORDS,
    SIZE_NAMES,
    Data,
    Request,
    _parameter_error,
    data_bytes,
    file_id_number,
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
    def hri(self) -> Optional[str]:
        """GS1 data's human-readable line, "(01) 09501101530003 (17) 250101"; None otherwise."""
        if not self._request.settings.gs1:
            return None
        return human_readable(self._request.data)

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
        status, step = _native.write_bmp(
            *self._request.native(), module, quiet * module, path_bytes(path)
        )
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
    reader_programming: bool = False,
    gs1_relations: bool = True,
) -> Symbol:
    """Encodes data as a Data Matrix ECC 200 symbol.

    data: bytes are encoded as they are; a str is encoded as UTF-8 (readers show it correctly
        when they assume UTF-8; eci="utf8" says so in the symbol). At most 3116 bytes; empty data
        gives an empty symbol.
    scheme: "auto" (switches schemes as the data goes), "ascii", "c40", "text", "x12",
        "edifact" or "base256".
    size: "auto" (the smallest that holds the data) or one of the 48 sizes, "10x10" to
        "144x144", the rectangles "8x18", "8x32", "12x26", "12x36", "16x36", "16x48" and the
        DMRE rectangles (ISO/IEC 21471) "8x48" to "26x64" (ecc200.SIZES lists them all).
    shape: which sizes size="auto" considers: "square", "any" (the rectangles too) or "dmre"
        (the DMRE rectangles as well); the smallest by area wins.
    smallest: with scheme="auto", search for the shortest encoding instead of switching by
        look-ahead. Data "[)>" RS "05" GS ... RS EOT (or "06") then takes one macro codeword for
        its header and trailer, which readers restore.
    gs1: GS1 data, in bracketed form "(01)09501101530003(10)ABC" ("\\(" for a parenthesis in a
        value) or as an element string (AIs and values run together, GS (0x1D) after each field
        whose length is not predefined); checked against GS1's rules and encoded as the element
        string: FNC1 first, each GS as FNC1. Symbol.hri gives its human-readable line.
    gs1_relations: with gs1, also check which AIs must or must not go together (default).
    eci: None, "utf8" (ECI 26) or an ECI designator from 1 to 999999.
    user_mark, product_mark: the keyed marks; both need user.id in the current directory, and
        product_mark is the product identifier (1 to 100 bytes).
    reader_programming: a symbol that programs the reader (not with gs1).

    Raises EncodeError (a ValueError) with the library's status code when the data cannot be
    encoded as asked or an argument is invalid, TypeError for data of another type.
    """
    arguments = (scheme, size, shape, smallest, gs1, eci, user_mark, product_mark,
                 reader_programming)
    try:
        settings = settings_for(*arguments)
    except TypeError:  # an unhashable argument: checked without the cache, to report it
        settings = settings_for.__wrapped__(*arguments)
    data = data if type(data) is bytes else data_bytes(data)
    if settings.gs1:
        data, settings = gs1_request(data, settings, gs1_relations)
    return _encoded(Request(data, settings))


def _encoded(request: Request) -> Symbol:
    status, step, modules, scheme_used, size_used = _native.encode(*request.native())
    if status != 0:
        raise encode_error(status, step, request)
    return Symbol(request, modules, scheme_used, size_used)


def encode_split(
    data: Data,
    count: Union[int, str] = "auto",
    *,
    file_id: Union[None, tuple, list] = None,
    scheme: str = "auto",
    size: str = "auto",
    shape: str = "square",
    smallest: bool = False,
    eci: Union[None, int, str] = None,
    user_mark: bool = False,
    product_mark: Union[None, str, bytes] = None,
) -> List[Symbol]:
    """Encodes data as a structured append set: up to 16 symbols that readers join into data.

    count: the number of symbols, 2 to 16 (the data is cut into pieces of nearly equal length),
        or "auto" for the fewest symbols of the size and shape asked, each as full as it can be
        (a single plain symbol when the data fits one).
    file_id: the set's file identifier, two numbers from 1 to 254 that every symbol carries;
        None takes one from the data, so the same data gives the same set.
    The other keywords are those of encode() and hold for every symbol of the set.

    Raises EncodeError when the data is empty, does not fit that many symbols, or an argument is
    invalid (GS1 data and reader programming cannot be split).
    """
    if count == "auto":
        number = 0
    elif isinstance(count, int) and not isinstance(count, bool) and 2 <= count <= 16:
        number = count
    else:
        raise _parameter_error(f"count must be 2 to 16 or 'auto', not {count!r}")
    whole = data if type(data) is bytes else data_bytes(data)
    if not whole:
        raise _parameter_error("there is no data to split")
    settings = settings_for.__wrapped__(
        scheme, size, shape, smallest, False, eci, user_mark, product_mark
    )._replace(append_file_id=file_id_number(file_id, whole))
    pieces, refusal = _native.plan_split(whole, settings.native(), number)
    if pieces is None:
        if refusal is not None:  # the library's own reason for that piece
            offset, length, symbols = refusal
            _encoded(Request(whole[offset : offset + length], _member(settings, 1, symbols)))
        size_clause = f" of size {size}" if size != "auto" else ""
        raise EncodeError(
            _native.STATUS_DATA_TOO_LONG,
            f"the data does not fit {number or 16} symbols{size_clause}",
        )
    return [
        _encoded(Request(whole[offset : offset + length], _member(settings, k + 1, len(pieces))))
        for k, (offset, length) in enumerate(pieces)
    ]


def _member(settings, position: int, count: int):
    """The settings of symbol position of a set of count (a plain symbol for a count of 1)."""
    if count == 1:
        return settings._replace(append_position=0, append_count=0, append_file_id=0)
    return settings._replace(append_position=position, append_count=count)

