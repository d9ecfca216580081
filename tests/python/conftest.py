"""Shared fixtures: the C library itself as the reference, and a directory with a user.id."""

import ctypes
import os
from pathlib import Path

import pytest

MAX_MODULES = 144 * 144


class CLibrary:
    """The C exports the tests compare with, called through ctypes."""

    def __init__(self, path: str) -> None:
        self.lib = ctypes.CDLL(path)
        self.lib.CreateSymbol_ECC200.restype = ctypes.c_void_p

    def encode(self, data: bytes, scheme=0, size=-1, user_mark=False, product_id=None, options=()):
        """(status, size index, modules) of one encode on a fresh symbol; options are pairs of
        option number and value."""
        lib, handle = self.lib, ctypes.c_void_p(self.lib.CreateSymbol_ECC200())
        try:
            lib.SetScheme_ECC200(handle, scheme)
            for option, value in ((5, size), *options):  # the size option takes the DMRE sizes too
                lib.SetOption_ECC200(handle, option, value)
            if user_mark:
                lib.SetSignUser_ECC200(handle, 1)
            if product_id is not None:
                lib.SetSignProduct_ECC200(handle, 1, ctypes.c_char_p(product_id))
            status = lib.SetDataToEncoding_ECC200(handle, data, len(data)) if data else 0
            buffer = ctypes.create_string_buffer(MAX_MODULES)
            if status == 0:
                status = lib.WriteEncodedSymbolToBuf_ECC200(handle, buffer, MAX_MODULES)
            return status, lib.GetDimension_ECC200(handle), buffer.raw
        finally:
            lib.DeleteSymbol_ECC200(handle)


@pytest.fixture(scope="session")
def c_library() -> CLibrary:
    default = Path(__file__).resolve().parents[2] / "build/release/libecc200.so"
    path = os.environ.get("ECC200_LIBRARY", str(default))
    if not os.path.exists(path):
        pytest.fail(f"the shared library {path} is missing: build it or set ECC200_LIBRARY")
    return CLibrary(path)


@pytest.fixture
def identity_dir(tmp_path, monkeypatch) -> Path:
    """The current directory for the test, holding a valid user.id."""
    (tmp_path / "user.id").write_text("ACME**00112233445566778899AA-0123456789abcdefABCDEF\n")
    monkeypatch.chdir(tmp_path)
    return tmp_path
