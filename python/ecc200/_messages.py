"""Explanations of failed encodes, in the same words as the ecc200 tool."""

from __future__ import annotations

import os
from typing import Callable, Optional

from . import _native
from ._errors import EncodeError
from ._settings import SCHEMES, SIZE_NAMES, Request

# The failed step that the compiled module reports.
STEP_DATA, STEP_USER_MARK, STEP_PRODUCT_MARK, STEP_OPTION, STEP_ENCODE = 1, 2, 3, 4, 5

_SCHEME_NAMES = {number: name for number, name in SCHEMES.values()}
_LARGEST_INDEX = max(range(len(_native.SIZES)), key=lambda i: _native.SIZES[i][2])
_LARGEST = SIZE_NAMES[_LARGEST_INDEX]
_LARGEST_CAPACITY = _native.SIZES[_LARGEST_INDEX][2]


def _used_size(request: Request) -> Optional[int]:
    status, _, _, _, size = _native.encode(*request.native())
    return size if status == 0 else None


def _scheme_clause(request: Request) -> str:
    if request.settings.scheme == _native.SCHEME_AUTO:
        return ""
    return f" in the {_SCHEME_NAMES[request.settings.scheme]} scheme"


def _describe_byte(byte: int, position: int) -> str:
    if 32 <= byte < 127:
        return f"'{chr(byte)}' (byte {byte}) at position {position + 1}"
    return f"byte 0x{byte:02X} at position {position + 1}"


def _first_outside(data: bytes, in_set: Callable[[int], bool]) -> Optional[int]:
    return next((i for i, byte in enumerate(data) if not in_set(byte)), None)


def _in_x12(byte: int) -> bool:
    return chr(byte) in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ \r*>"


def _size_too_small(request: Request) -> str:
    requested = SIZE_NAMES[request.settings.size]
    message = f"the data does not fit {requested}{_scheme_clause(request)}"
    rows, cols, _ = _native.SIZES[request.settings.size]
    if rows != cols:
        # DMRE sizes only for a DMRE request; the smallest by area (the ISO/IEC 16022 rectangles
        # grow in area as in capacity).
        dmre = request.settings.size >= _native.FIRST_DMRE_SIZE
        last = len(_native.SIZES) if dmre else _native.FIRST_DMRE_SIZE
        rectangles = sorted(
            (i for i, (r, c, _) in enumerate(_native.SIZES[:last]) if r != c),
            key=lambda i: _native.SIZES[i][0] * _native.SIZES[i][1],
        )
        holding = (i for i in rectangles if _used_size(request.without_marks(size=i)) is not None)
        fits = next(holding, None)
        if fits is None:
            message += "; no rectangular size holds it"
        else:
            message += f"; the smallest rectangular size that holds it is {SIZE_NAMES[fits]}"
    square = _used_size(request.without_marks(size=_native.SIZE_AUTO, shape=0))
    if square is None:
        message += f"; it does not fit any size, not even {_LARGEST}"
    else:
        message += f"; the smallest square size that holds it is {SIZE_NAMES[square]}"
    return message


def _data_too_long(request: Request) -> str:
    if len(request.data) > _native.MAX_DATA_LENGTH:
        return (
            f"the data is {len(request.data)} bytes long; a symbol holds at most "
            f"{_native.MAX_DATA_LENGTH} bytes"
        )
    message = (
        f"the data is too long for every size{_scheme_clause(request)}: even {_LARGEST} holds "
        f"only {_LARGEST_CAPACITY} data codewords"
    )
    if request.settings.scheme != _native.SCHEME_AUTO:
        message += '; scheme="auto" may pack it tighter'
    return message


def _x12_failure(request: Request) -> str:
    if request.settings.scheme != _native.SCHEME_X12:
        return (
            f"the {_SCHEME_NAMES[request.settings.scheme]} scheme cannot encode all of the data; "
            'try scheme="auto"'
        )
    position = _first_outside(request.data, _in_x12)
    if position is None:
        return 'the ANSI X12 scheme cannot end this data cleanly; try scheme="auto"'
    return (
        f"the ANSI X12 scheme cannot encode {_describe_byte(request.data[position], position)}; "
        "it takes only A-Z, 0-9, space, CR, '*' and '>'"
    )


def _edifact_failure(request: Request) -> str:
    position = _first_outside(request.data, lambda byte: 32 <= byte <= 94)
    if position is None:
        return 'the EDIFACT scheme cannot encode this data; try scheme="auto"'
    return (
        f"the EDIFACT scheme cannot encode {_describe_byte(request.data[position], position)}; "
        "it takes only the characters from space to '^' (bytes 32 to 94)"
    )


def _mark_failure(status: int, mark: str) -> str:
    if status == _native.STATUS_NO_IDENTITY:
        directory = os.getcwd()
        if not os.path.exists("user.id"):
            return (
                f"the {mark} needs the identity file user.id in the current directory "
                f"({directory}), and there is none"
            )
        return (
            f"the {mark} cannot use user.id in the current directory: its first word must be a "
            "prefix ending in the second '*', then 22 hex digits, one separator and 22 hex "
            "digits (like ACME**00112233445566778899AA-0123456789abcdefABCDEF)"
        )
    if status == _native.STATUS_PARAMETER:
        return f"the product identifier must be 1 to {_native.MAX_PRODUCT_ID} characters long"
    return f"the {mark} cannot be switched on: {_describe_status(status)}"


def _describe_status(status: int) -> str:
    return {
        _native.STATUS_SIZE_TOO_SMALL: "the data does not fit the size chosen",
        _native.STATUS_DATA_TOO_LONG: "the data is too long for every size",
        _native.STATUS_EDIFACT_BYTE: "the EDIFACT scheme cannot encode a byte of the data",
        _native.STATUS_X12_BYTE: "the scheme chosen cannot encode all of the data",
        _native.STATUS_PARAMETER: "the library refused a setting as invalid",
        _native.STATUS_NO_IDENTITY: (
            "the identity file user.id in the current directory is missing or unusable"
        ),
        _native.STATUS_BASE256_EMPTY: "the Base 256 scheme has no data to encode",
        _native.STATUS_INTERNAL: "the library failed (out of memory or an internal error)",
        _native.STATUS_GS1: "the GS1 data breaks GS1's rules",
    }.get(status, f"the library reported the unknown status {status}")


def _refused(request: Request) -> str:
    if request.settings.gs1 and request.data.startswith(b"\x1d"):
        return "GS1 data cannot start with a GS byte (0x1D): the symbol's FNC1 already opens it"
    return _describe_status(_native.STATUS_PARAMETER)


def encode_error(status: int, step: int, request: Request) -> EncodeError:
    """The error for an encode of request that failed with status in step."""
    if step == STEP_USER_MARK:
        return EncodeError(status, _mark_failure(status, "user mark"))
    if step == STEP_PRODUCT_MARK:
        return EncodeError(status, _mark_failure(status, "product mark"))
    explain = {
        _native.STATUS_SIZE_TOO_SMALL: _size_too_small,
        _native.STATUS_DATA_TOO_LONG: _data_too_long,
        _native.STATUS_EDIFACT_BYTE: _edifact_failure,
        _native.STATUS_X12_BYTE: _x12_failure,
        _native.STATUS_PARAMETER: _refused,
        _native.STATUS_BASE256_EMPTY: lambda _: (
            "the Base 256 scheme needs at least one byte of data"
        ),
    }.get(status)
    return EncodeError(status, explain(request) if explain else _describe_status(status))
