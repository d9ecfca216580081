"""GS1 data, checked and converted by the library: the bracketed form or an element string in,
the element string the symbol carries or its human-readable line out."""

from __future__ import annotations

from . import _native
from ._errors import EncodeError
from ._settings import Settings


def gs1_request(data: bytes, settings: Settings, relations: bool) -> tuple[bytes, Settings]:
    """The element string of GS1 data in either form, and the settings that encode it: the
    library checks the relations between the AIs too unless relations is false.

    Raises EncodeError (status 20) naming the AI, the component and the rule broken."""
    flags = 0 if relations else _native.GS1_SKIP_RELATIONS
    status, element_string, message = _native.gs1_element_string(data, flags)
    if status != 0 or element_string is None:
        raise EncodeError(status, f"GS1 data: {message}")
    if not relations:
        settings = settings._replace(gs1=_native.GS1_FIELDS_ONLY)
    return element_string, settings


def human_readable(element_string: bytes) -> str:
    """The human-readable line of a checked element string, "(01) 09501101530003 (17) 250101"."""
    flags = _native.GS1_SKIP_RELATIONS | _native.GS1_HUMAN_READABLE
    status, line, message = _native.gs1_element_string(element_string, flags)
    if status != 0 or line is None:
        raise EncodeError(status, f"GS1 data: {message}")
    return line.decode("ascii")
