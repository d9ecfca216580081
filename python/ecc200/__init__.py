"""Data Matrix ECC 200 symbols from Python, encoded by the ecc200 C++ library.

    >>> import ecc200
    >>> symbol = ecc200.encode("Hello from ecc200!")
    >>> symbol
    <ecc200.Symbol 18x18 scheme='ascii' data=b'Hello from ecc200!'>
    >>> symbol.to_png("hello.png")

Reading a symbol back, from an image file, pixels or a Symbol:

    >>> ecc200.read(symbol).text
    'Hello from ecc200!'

Encoding and reading release the interpreter lock: threads work in parallel.
"""

from ._errors import EncodeError
from ._native import version as _library_version
from ._reading import DecodeError, Reading, read
from ._settings import SCHEMES as _SCHEMES
from ._settings import SIZE_NAMES as _SIZE_NAMES
from ._symbol import Symbol, encode, encode_split

__version__ = _library_version()

SCHEMES = tuple(_SCHEMES)
"""The keywords that scheme= takes."""

SIZES = ("auto",) + _SIZE_NAMES
"""The keywords that size= takes."""

__all__ = [
    "DecodeError",
    "EncodeError",
    "Reading",
    "SCHEMES",
    "SIZES",
    "Symbol",
    "encode",
    "encode_split",
    "read",
    "__version__",
]
