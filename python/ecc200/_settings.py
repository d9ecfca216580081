"""The keywords of encode() and their translation into the library's numbers."""

from __future__ import annotations

import functools
import os
from typing import NamedTuple, Optional, Union

from . import _native
from ._errors import EncodeError

Data = Union[str, bytes, bytearray, memoryview]

# Keyword -> (library number, name used in messages), in the order the tool lists them.
SCHEMES = {
    "auto": (_native.SCHEME_AUTO, "automatic"),
    "ascii": (_native.SCHEME_ASCII, "ASCII"),
    "c40": (_native.SCHEME_C40, "C40"),
    "text": (_native.SCHEME_TEXT, "Text"),
    "x12": (_native.SCHEME_X12, "ANSI X12"),
    "edifact": (_native.SCHEME_EDIFACT, "EDIFACT"),
    "base256": (_native.SCHEME_BASE256, "Base 256"),
}
SCHEME_KEYWORDS = {number: keyword for keyword, (number, _) in SCHEMES.items()}

# "24x24" and so on, indexed by the library's size number.
SIZE_NAMES = tuple(f"{rows}x{cols}" for rows, cols, _ in _native.SIZES)
SIZES = {"auto": _native.SIZE_AUTO, **{name: i for i, name in enumerate(SIZE_NAMES)}}

SHAPES = {"square": 0, "any": _native.SHAPE_ANY, "dmre": _native.SHAPE_DMRE}
ECI_NAMES = {"utf8": _native.ECI_UTF8, "utf-8": _native.ECI_UTF8}


# The library option behind each Settings field that is one. The compiled module receives them as
# (option, value) pairs, so a new option is a field of Settings and a row here.
_OPTION_OF_FIELD = {
    "size": _native.OPTION_SIZE,
    "encodation": _native.OPTION_ENCODATION,
    "gs1": _native.OPTION_GS1,
    "eci": _native.OPTION_ECI,
    "shape": _native.OPTION_SHAPE,
    "reader_programming": _native.OPTION_READER_PROGRAMMING,
    "append_position": _native.OPTION_APPEND_POSITION,
    "append_count": _native.OPTION_APPEND_COUNT,
    "append_file_id": _native.OPTION_APPEND_FILE_ID,
}


class Settings(NamedTuple):
    """Everything but the data that an encode depends on."""

    scheme: int
    size: int
    encodation: int
    gs1: int
    eci: int
    shape: int
    reader_programming: int
    append_position: int  # structured append: 0, or this symbol's place 1..count
    append_count: int
    append_file_id: int  # byte1 * 256 + byte2
    user_mark: bool
    product_id: Optional[bytes]

    def native(self) -> tuple:
        """As the compiled module takes them: scheme, (option, value) pairs, marks."""
        return _native_settings(self)


@functools.lru_cache(maxsize=256)
def _native_settings(settings: Settings) -> tuple:
    fields = _OPTION_OF_FIELD.items()
    options = tuple((option, getattr(settings, field)) for field, option in fields)
    return (settings.scheme, options, settings.user_mark, settings.product_id)


class Request(NamedTuple):
    data: bytes
    settings: Settings

    def native(self) -> tuple:
        """The arguments of the compiled module's encode: data and settings."""
        return (self.data, self.settings.native())

    def without_marks(self, **changes: int) -> "Request":
        """The same request without marks (they never change what fits), with changes."""
        return Request(
            self.data, self.settings._replace(user_mark=False, product_id=None, **changes)
        )


def _parameter_error(message: str) -> EncodeError:
    return EncodeError(_native.STATUS_PARAMETER, message)


def _choice(kind: str, value: object, table: dict) -> int:
    if isinstance(value, str):
        found = table.get(value)
        if found is None:
            found = table.get(value.lower())
        if found is not None:
            return found if isinstance(found, int) else found[0]
    listed = ", ".join(table)
    raise _parameter_error(f"unknown {kind} {value!r}; choose one of {listed}")


def data_bytes(data: Data) -> bytes:
    if isinstance(data, bytes):
        return data
    if isinstance(data, str):
        return data.encode("utf-8")
    if isinstance(data, (bytearray, memoryview)):
        return bytes(data)
    raise TypeError(f"data must be str or bytes, not {type(data).__name__}")


def eci_number(eci: Union[None, int, str]) -> int:
    if eci is None:
        return 0
    if isinstance(eci, str):
        return _choice("ECI", eci, ECI_NAMES)
    if isinstance(eci, int) and not isinstance(eci, bool) and 1 <= eci <= _native.MAX_ECI:
        return eci
    raise _parameter_error(
        f"eci must be None, 'utf8' or a designator from 1 to {_native.MAX_ECI}, not {eci!r}"
    )


def product_identifier(product_mark: Union[None, str, bytes]) -> Optional[bytes]:
    if product_mark is None:
        return None
    identifier = product_mark.encode("utf-8") if isinstance(product_mark, str) else product_mark
    if not isinstance(identifier, bytes):
        raise TypeError(f"product_mark must be str or bytes, not {type(product_mark).__name__}")
    if not 1 <= len(identifier) <= _native.MAX_PRODUCT_ID or b"\0" in identifier:
        raise EncodeError(
            _native.STATUS_PARAMETER,
            f"the product identifier must be 1 to {_native.MAX_PRODUCT_ID} characters long "
            "(bytes in UTF-8), without NUL",
        )
    return identifier


@functools.lru_cache(maxsize=256, typed=True)
def settings_for(
    scheme: str,
    size: str,
    shape: str,
    smallest: bool,
    gs1: bool,
    eci: Union[None, int, str],
    user_mark: bool,
    product_mark: Union[None, str, bytes],
    reader_programming: bool = False,
) -> Settings:
    """The settings for encode()'s keywords; cached, as a program uses few combinations."""
    if gs1 and eci is not None:
        raise _parameter_error(
            "gs1 and eci cannot be combined: a symbol starts either with the FNC1 of GS1 data "
            "or with an ECI"
        )
    if gs1 and reader_programming:
        raise _parameter_error("reader_programming cannot be combined with gs1")
    return Settings(
        _choice("scheme", scheme, SCHEMES),
        _choice("size", size, SIZES),
        _native.ENCODATION_SMALLEST if smallest else 0,
        1 if gs1 else 0,
        eci_number(eci),
        _choice("shape", shape, SHAPES),
        1 if reader_programming else 0,
        0,
        0,
        0,
        bool(user_mark),
        product_identifier(product_mark),
    )


def file_id_number(file_id: Union[None, tuple, list], data: bytes) -> int:
    """A structured append file identifier: two numbers 1..254, or None for one taken from data."""
    if file_id is None:
        return _native.file_id_of(data)
    if (
        isinstance(file_id, (tuple, list))
        and len(file_id) == 2
        and all(isinstance(b, int) and not isinstance(b, bool) and 1 <= b <= 254 for b in file_id)
    ):
        return file_id[0] * 256 + file_id[1]
    raise _parameter_error(f"file_id must be None or two numbers from 1 to 254, not {file_id!r}")


def path_bytes(path: Union[str, "os.PathLike[str]"]) -> bytes:
    """The file name as the C library takes it; a NUL inside would silently cut it short."""
    name = os.fsencode(path)
    if b"\0" in name:
        raise ValueError(f"the file name {os.fsdecode(name)!r} holds a NUL character")
    return name
