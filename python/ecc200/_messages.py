"""Explanations of failed encodes: the ecc200 tool's own texts, from the compiled module."""

from __future__ import annotations

from . import _native
from ._errors import EncodeError
from ._settings import Request

# The failed step that the compiled module reports.
STEP_DATA, STEP_USER_MARK, STEP_PRODUCT_MARK, STEP_OPTION, STEP_ENCODE = 1, 2, 3, 4, 5


def encode_error(status: int, step: int, request: Request) -> EncodeError:
    """The error for an encode of request that failed with status in step."""
    return EncodeError(status, _native.describe_failure(status, step, *request.native()))
