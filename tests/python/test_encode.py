"""ecc200.encode and encode_split: the C library's modules and failures, every keyword read back
by zxing-cpp, the outputs, the error messages and the limits."""

import io
import os
import random
import re
from concurrent.futures import ThreadPoolExecutor

import numpy
import pytest
import zxingcpp
from PIL import Image

import ecc200

SCHEME_NUMBERS = {"auto": 0, "ascii": 1, "c40": 2, "base256": 3, "edifact": 4, "text": 5, "x12": 6}
SIZE_NUMBERS = {name: i - 1 for i, name in enumerate(ecc200.SIZES)}
ENCODATION, GS1, ECI, SHAPE, READER_PROGRAMMING = 1, 2, 3, 4, 9


def corpus():
    """Seeded data of four classes and several lengths (empty and over-long included)."""
    rng = random.Random(2110)
    alphabets = [b"0123456789", b"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ", bytes(range(32, 127)),
                 bytes(range(256))]
    for alphabet in alphabets:
        for length in (1, 5, 23, 140, 1200):
            yield bytes(rng.choice(alphabet) for _ in range(length))
    yield b""
    yield b"7" * 3117


def read(image) -> zxingcpp.Result:
    result = zxingcpp.read_barcode(image, formats=zxingcpp.BarcodeFormat.DataMatrix)
    assert result is not None and result.valid
    return result


@pytest.mark.parametrize("size", ["auto", "10x10", "24x24", "144x144", "8x32", "16x48", "8x48",
                                  "26x40", "26x64"])
@pytest.mark.parametrize("scheme", list(SCHEME_NUMBERS))
def test_modules_and_failures_match_the_c_library(c_library, scheme, size):
    for data in corpus():
        status, index, buffer = c_library(data, SCHEME_NUMBERS[scheme], SIZE_NUMBERS[size])
        if status != 0:
            with pytest.raises(ecc200.EncodeError) as failure:
                ecc200.encode(data, scheme=scheme, size=size)
            assert failure.value.status == status
            continue
        symbol = ecc200.encode(data, scheme=scheme, size=size)
        assert symbol.size == ecc200.SIZES[index + 1]
        cells = symbol.rows * symbol.cols
        assert bytes(symbol) == buffer[:cells]
        assert bytes(b for row in symbol.modules for b in row) == buffer[:cells]
        assert numpy.array_equal(numpy.asarray(symbol.buffer), numpy.asarray(symbol))


def c_options(keywords):
    """The C library's options for the Python keywords (scheme and size aside)."""
    values = {GS1: keywords.get("gs1") and (2 - keywords.get("gs1_relations", True)),
              ECI: 26 if keywords.get("eci") == "utf8" else keywords.get("eci"),
              SHAPE: ["square", "any", "dmre"].index(keywords.get("shape", "square")),
              ENCODATION: keywords.get("smallest"),
              READER_PROGRAMMING: keywords.get("reader_programming")}
    return [(option, int(value)) for option, value in values.items() if value]


# Every keyword against the C library's options, read back by zxing-cpp unless marked; expect is
# the size the symbol must have (None: any) or the status of the refusal.
@pytest.mark.parametrize("data, keywords, expect", [
    ("Hello from ecc200!", {}, "18x18"),
    ("Grüße, 東京", {}, None),
    (bytes(range(256)), {"scheme": "base256"}, None),
    ("LOT 17 ABC", {"scheme": "c40", "size": "12x26"}, "12x26"),
    ("lower case text", {"scheme": "text"}, None),
    ("X12*DATA>1", {"scheme": "x12", "size": "8x32"}, "8x32"),
    ("EDIFACT: 1-2-3", {"scheme": "edifact", "size": "Auto"}, None),
    ("0123456789" * 100, {"size": "144X144"}, "144x144"),
    (b"0104012345678901\x1d10ABC123", {"gs1": True}, None),
    ("Grüße", {"eci": "utf8"}, None),
    (bytes(range(128, 160)), {"eci": 899, "scheme": "base256"}, None),
    ("HELLO WORLD 12345", {"shape": "any"}, "12x26"),
    (b"01095011010209171719050810ABCD1234\x1d2110", {"gs1": True, "smallest": True,
     "shape": "any"}, None),
    ("7" * 100, {"shape": "dmre"}, "20x44"),
    ("PROGRAM", {"reader_programming": True}, None),
    (b"[)>\x1e05\x1d12345678\x1e\x04", {"smallest": True}, "12x12"),
    ("Marked 0123456789", {"user_mark": True}, None),
    ("Marked 0123456789", {"product_mark": b"LOT-4711"}, None),
    ("Marked 0123456789", {"user_mark": True, "product_mark": b"P" * 100}, None),
    (b"0109501101530004", {"gs1": True}, 20), (b"10ABC", {"gs1": True}, 20),
    (b"0109501101530003\x1d10A\x1d10B", {"gs1": True}, 20),
    (b"17250229", {"gs1": True, "gs1_relations": False}, 20),
])
def test_keywords_match_the_c_library_and_read_back(c_library, identity_dir, data, keywords,
                                                     expect):
    expected = data.encode() if isinstance(data, str) else data
    scheme, size = keywords.get("scheme", "auto"), keywords.get("size", "auto").lower()
    options = c_options(keywords)
    marks = keywords.get("user_mark", False), keywords.get("product_mark")
    status, _, buffer = c_library(expected, SCHEME_NUMBERS[scheme], SIZE_NUMBERS[size], *marks,
                                  options)
    if isinstance(expect, int):
        with pytest.raises(ecc200.EncodeError) as failure:
            ecc200.encode(data, **keywords)
        assert status == failure.value.status == expect
        return
    symbol = ecc200.encode(data, **keywords)
    assert status == 0 and bytes(symbol) == buffer[: symbol.rows * symbol.cols]
    assert not (options or any(marks)) or symbol != ecc200.encode(data, scheme=scheme)
    if any(marks):
        return  # other readers do not see past the marks
    result = read(symbol.to_pil(module=3, quiet=2))
    assert result.bytes == expected == symbol.data
    assert expect is None or symbol.size == expect
    assert not keywords.get("gs1") or result.symbology_identifier == "]d2"


@pytest.mark.parametrize("count, keywords, symbols", [
    (3, {"file_id": (7, 200)}, 3),
    (16, {}, 16),
    ("auto", {"size": "8x48"}, 4),
    ("auto", {"size": "auto", "shape": "dmre"}, 1),
])
def test_split_symbols_join_back(count, keywords, symbols):
    data = "Structured append: one message, several symbols. 0123456789"
    split = ecc200.encode_split(data, count, **keywords)
    assert len(split) == symbols
    texts = [read(symbol.to_pil(module=3, quiet=2)).bytes for symbol in split]
    assert b"".join(texts) == data.encode()
    assert ecc200.encode_split(data, count, **keywords) == split  # the same data, the same set


def test_dmre_sizes_read_back():
    for name in ecc200.SIZES[ecc200.SIZES.index("8x48"):]:
        symbol = ecc200.encode(name, size=name)
        assert f"{symbol.rows}x{symbol.cols}" == symbol.size == name == read(symbol.to_pil()).text


def test_outputs_decode_and_agree(tmp_path):
    symbol = ecc200.encode("OUT 8X32", size="8x32")
    png = io.BytesIO()
    symbol.to_png(png, module=5, quiet=3, dpi=300)
    picture = Image.open(io.BytesIO(png.getvalue()))
    assert picture.size == (5 * 38, 5 * 14) and round(picture.info["dpi"][0]) == 300
    assert read(picture).text == "OUT 8X32"

    symbol.to_bmp(tmp_path / "a.bmp", module=2, quiet=1)
    bmp = Image.open(tmp_path / "a.bmp").convert("L")
    assert bmp.size == (2 * 34, 2 * 10) and read(bmp).text == "OUT 8X32"
    modules = numpy.asarray(bmp)[2:-2:2, 2:-2:2] == 0
    assert numpy.array_equal(modules, numpy.asarray(symbol) == 1)

    svg = symbol.to_svg(quiet=0)  # 4 pixels a module unless told
    assert 'width="128" height="32" viewBox="0 0 32 8"' in svg
    drawn = numpy.zeros((8, 32), dtype=numpy.uint8)
    for x, y, n in re.findall(r"M(\d+) (\d+)h(\d+)v1h-\d+z", svg):
        drawn[int(y), int(x) : int(x) + int(n)] = 1
    assert numpy.array_equal(drawn, numpy.asarray(symbol))


# Encode and split failures; a message starting with "..." is the end of the text.
@pytest.mark.parametrize("data, keywords, status, message", [
    ("hello world long enough", {"size": "10x10"}, 1,
     "the data does not fit 10x10; the smallest square size that holds it is 18x18"),
    ("hello world long enough", {"size": "8x18", "scheme": "text"}, 1,
     "the data does not fit 8x18 in the Text scheme; the smallest rectangular size that holds "
     "it is 12x36; the smallest square size that holds it is 18x18"),
    ("x" * 30, {"size": "8x48"}, 1, "the data does not fit 8x48; the smallest rectangular size "
     "that holds it is 12x36"),
    ("x" * 3117, {}, 2, "the data is 3117 bytes long; a symbol holds at most 3116 bytes"),
    ("x" * 3116, {"scheme": "ascii"}, 2, "the data is too long for every size in the ASCII "
     "scheme: even 144x144 holds only 1558 data codewords; scheme=\"auto\" may pack it tighter"),
    ("ABC-def", {"scheme": "x12"}, 6, "the ANSI X12 scheme cannot encode '-' (byte 45) at "
     "position 4; it takes only A-Z, 0-9, space, CR, '*' and '>'"),
    ("AB\x7f", {"scheme": "edifact"}, 4, "the EDIFACT scheme cannot encode byte 0x7F at position "
     "3; it takes only the characters from space to '^' (bytes 32 to 94)"),
    ("", {"scheme": "base256"}, 17, "the Base 256 scheme needs at least one byte of data"),
    ("x", {"size": "25x25"}, 8, "unknown size '25x25'; choose one of auto, 10x10,"),
    ("x", {"scheme": "qr"}, 8, "unknown scheme 'qr'; choose one of auto, ascii, c40,"),
    ("x", {"shape": "round"}, 8, "unknown shape 'round'; choose one of square, any, dmre"),
    ("x", {"gs1": True, "reader_programming": True}, 8, "reader_programming cannot be combined"),
    ("x", {"eci": 0}, 8, "eci must be None, 'utf8' or a designator from 1 to 999999, not 0"),
    ("x", {"eci": "latin9"}, 8, "unknown ECI 'latin9'"),
    ("x", {"eci": 26, "gs1": True}, 8, "gs1 and eci cannot be combined"),
    ("(10)ABC", {"gs1": True}, 20, "GS1 data: AI (10) needs (01) or (02) or (03)"),
    ("(17)250229", {"gs1": True, "gs1_relations": False}, 20,
     "GS1 data: AI (17) component 1 of 1: not a real date"),
    ("(10)AB\u00e9", {"gs1": True}, 20,
     "GS1 data: AI (10) component 1 of 1: character '\\xC3' at 3 not allowed"),
    ("x", {"product_mark": "P" * 101}, 8, "the product identifier must be 1 to 100 characters"),
    ("x", {"user_mark": True}, 10, "the user mark needs the identity file user.id in the current "
     "directory"),
    ("folder", {"product_mark": "P-1"}, 10, "...): it is not a regular file"),
    ("x", {"count": 1}, 8, "count must be 2 to 16 or 'auto', not 1"),
    ("x", {"count": 17}, 8, "count must be 2 to 16 or 'auto', not 17"),
    ("", {"count": "auto"}, 8, "there is no data to split"),
    ("xy", {"count": 3}, 2, "the data does not fit 3 symbols"),
    ("x" * 300, {"count": "auto", "size": "8x18"}, 2, "the data does not fit 16 symbols of"),
    ("xy", {"count": 2, "file_id": (0, 1)}, 8, "file_id must be None or two numbers from 1 to 254"),
    ("AB-DEF-H", {"count": 2, "scheme": "x12"}, 6, "the ANSI X12 scheme cannot encode '-'"),
], ids=lambda value: value[:12] if isinstance(value, str) else None)
def test_errors_explain_the_failure(tmp_path, monkeypatch, data, keywords, status, message):
    monkeypatch.chdir(tmp_path)
    if data == "folder":  # a user.id that is no file is named as such
        (tmp_path / "user.id").mkdir()
    with pytest.raises(ecc200.EncodeError) as failure:
        (ecc200.encode_split if "count" in keywords else ecc200.encode)(data, **keywords)
    assert failure.value.status == status and isinstance(failure.value, ValueError)
    text = str(failure.value)
    assert text.endswith(message[3:]) if message.startswith("...") else text.startswith(message)


# Wrong types fail as such; the tool's limits are refused with a message that names the argument
# before any memory is taken or any file written.
@pytest.mark.parametrize("call, error, message", [
    (lambda s: ecc200.encode(12345), TypeError, ""),
    (lambda s: ecc200.encode("x", product_mark=["P"]), TypeError, ""),
    (lambda s: s.to_bmp("/nonexistent-directory/a.bmp"), OSError, ""),
    (lambda s: s.to_bmp("x\0.bmp"), ValueError, "NUL"),
    (lambda s: s.to_bmp("x.bmp", module=1, quiet=51), ValueError, "quiet must be a whole number"),
    (lambda s: s.to_svg(quiet=-1), ValueError, "quiet must be"),
    (lambda s: s.to_png(io.BytesIO(), module=0), ValueError, "module must be"),
    (lambda s: s.to_bmp("x.bmp", module=2 ** 40), ValueError, "module must be"),
    (lambda s: s.to_svg(module=51), ValueError, "module must be a whole number of pixels from 1"),
    (lambda s: s.to_png("x.png", dpi=float("inf")), ValueError, "dpi must be from 1 to 100000"),
    (lambda s: s.to_png("x.png", dpi=1e-9), ValueError, "dpi must be from 1 to 100000"),
    (lambda s: s.to_png("x.png", dpi=float("nan")), ValueError, "dpi must be"),
    (lambda s: s.to_png("x.png", dpi="300"), ValueError, "dpi must be a number"),
])
def test_bad_arguments_raise_and_write_nothing(tmp_path, monkeypatch, call, error, message):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(error, match=message):
        call(ecc200.encode("x"))
    assert list(tmp_path.iterdir()) == []


def test_files_are_replaced_keeping_mode_and_links(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    symbol = ecc200.encode("LOT")
    for name, write in (("p.png", symbol.to_png), ("p.bmp", symbol.to_bmp)):
        for old in (name, "real." + name):
            (tmp_path / old).write_bytes(b"old")
        os.chmod(name, 0o640)
        os.symlink("real." + name, "link." + name)
        write(name)
        write("link." + name)
        assert os.stat(name).st_mode & 0o7777 == 0o640 and os.path.islink("link." + name)
        assert (tmp_path / ("real." + name)).read_bytes() == (tmp_path / name).read_bytes()
    assert not [p for p in os.listdir(".") if p.startswith(".")]


def test_threads_encode_at_once_like_one_thread():
    inputs = [(data, s) for data in corpus() if 0 < len(data) <= 140 for s in ("auto", "base256")]

    def encode_all(_=None):
        return [bytes(ecc200.encode(data, scheme=scheme)) for data, scheme in inputs]

    expected = encode_all()
    with ThreadPoolExecutor(8) as pool:
        assert all(run == expected for run in pool.map(encode_all, range(24)))


@pytest.mark.parametrize("data, keywords, element_string, hri", [
    ("(01)09501101530003(17)250101(10)AB\\(1\\)", {},
     b"01095011015300031725010110AB(1)", "(01) 09501101530003 (17) 250101 (10) AB(1)"),
    ("(10)LOT\\(2\\)(21)S", {"gs1_relations": False}, b"10LOT(2)\x1d21S", "(10) LOT(2) (21) S"),
    ("(01)09501101530003" * 187, {}, b"0109501101530003" * 187, None),
])
def test_gs1_either_form_reads_back_as_the_element_string(data, keywords, element_string, hri):
    symbol = ecc200.encode(data, gs1=True, **keywords)
    assert symbol.data == element_string
    assert hri is None or symbol.hri == hri
    assert ecc200.encode("plain").hri is None
    result = read(symbol.to_pil())
    assert result.symbology_identifier == "]d2" and result.bytes == element_string
