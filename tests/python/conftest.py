"""Shared fixtures: the C library itself as the reference, and a directory with a user.id."""

import ctypes
import os
from pathlib import Path

import pytest

MAX_MODULES = 144 * 144


@pytest.fixture(scope="session")
def c_library():
    """encode(data, scheme, size, user_mark, product_id, options) through the C exports: (status,
    size index, modules) of one encode on a fresh symbol; options are (number, value) pairs."""
    default = Path(__file__).resolve().parents[2] / "build/release/libecc200.so"
    path = os.environ.get("ECC200_LIBRARY", str(default))
    if not os.path.exists(path):
        pytest.fail(f"the shared library {path} is missing: build it or set ECC200_LIBRARY")
    lib = ctypes.CDLL(path)
    lib.CreateSymbol_ECC200.restype = ctypes.c_void_p

    def encode(data: bytes, scheme=0, size=-1, user_mark=False, product_id=None, options=()):
        handle = ctypes.c_void_p(lib.CreateSymbol_ECC200())
        try:
            lib.SetScheme_ECC200(handle, scheme)
            for option, value in ((5, size), *options):  # the size option takes the DMRE sizes too
                lib.SetOption_ECC200(handle, option, value)
            lib.SetSignUser_ECC200(handle, int(user_mark))
            lib.SetSignProduct_ECC200(handle, int(product_id is not None), product_id)
            status = lib.SetDataToEncoding_ECC200(handle, data, len(data)) if data else 0
            buffer = ctypes.create_string_buffer(MAX_MODULES)
            if status == 0:
                status = lib.WriteEncodedSymbolToBuf_ECC200(handle, buffer, MAX_MODULES)
            return status, lib.GetDimension_ECC200(handle), buffer.raw
        finally:
            lib.DeleteSymbol_ECC200(handle)

    return encode


@pytest.fixture
def identity_dir(tmp_path, monkeypatch) -> Path:
    """The current directory for the test, holding a valid user.id."""
    (tmp_path / "user.id").write_text("ACME**00112233445566778899AA-0123456789abcdefABCDEF\n")
    monkeypatch.chdir(tmp_path)
    return tmp_path
