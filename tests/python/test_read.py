"""ecc200.read: every kind of source, every look of a clean picture, simulated photographs read
through the photograph locators, the marks' verdicts, and the failures."""

import io

import numpy
import pytest
import zxingcpp
from PIL import Image, ImageFilter, ImageOps

import ecc200

OTHER_ID = "ACME**FFEEDDCCBBAA99887766554433-0123456789abcdefABCDEF\n"
SYMBOL = ecc200.encode("Read me back", size="24x24")


def file_bytes(image, form, **keywords) -> bytes:
    out = io.BytesIO()
    image.convert("L" if form == "JPEG" else image.mode).save(out, format=form, **keywords)
    return out.getvalue()


SOURCES = {
    "symbol": lambda tmp: SYMBOL,
    "pil": lambda tmp: SYMBOL.to_pil(module=3),
    "png_bytes": lambda tmp: bytearray(file_bytes(SYMBOL.to_pil(), "PNG")),
    "numpy_grey": lambda tmp: numpy.asarray(SYMBOL.to_pil(module=2)),
    "numpy_rgb": lambda tmp: numpy.asarray(SYMBOL.to_pil(module=2).convert("RGB")),
    "numpy_float": lambda tmp: numpy.asarray(SYMBOL.to_pil(module=2), dtype=numpy.float32) / 255,
    "numpy_bool_modules": lambda tmp: numpy.array(SYMBOL) == 1,
    "path_str": lambda tmp: SYMBOL.to_png(tmp / "s.png") or str(tmp / "s.png"),
    "pathlib_bmp": lambda tmp: SYMBOL.to_bmp(tmp / "s.bmp") or (tmp / "s.bmp"),
}


@pytest.mark.parametrize("make", SOURCES.values(), ids=SOURCES.keys())
def test_every_source_reads(tmp_path, make):
    reading = ecc200.read(make(tmp_path))
    assert reading.data == b"Read me back" and reading.text == "Read me back"
    assert reading.size == "24x24" and (reading.rows, reading.cols) == (24, 24)
    assert reading.errors == (0,) and reading.symbology_id == "]d1"


def look(image, turn=0, mirror=False, invert=False, scale=1.0, blur=False, jpeg=0):
    image = image.convert("L")
    image = image.resize((round(image.width * scale), round(image.height * scale)), Image.NEAREST)
    image = (ImageOps.mirror(image) if mirror else image).rotate(-90 * turn, expand=True)
    image = ImageOps.invert(image) if invert else image
    image = image.filter(ImageFilter.BoxBlur(1)) if blur else image
    return file_bytes(image, "JPEG", quality=jpeg) if jpeg else image


@pytest.mark.parametrize("size, module, options", [
    ("10x10", 1, {}), ("32x32", 1, {"scale": 1.5}), ("44x44", 2, {"scale": 1.37}),
    ("64x64", 3, {"turn": 1}), ("8x32", 4, {"turn": 2, "mirror": True}),
    ("52x52", 3, {"mirror": True}), ("26x26", 3, {"turn": 3, "invert": True}),
    ("144x144", 2, {"scale": 2.5, "turn": 1}), ("72x72", 4, {"blur": True, "jpeg": 30}),
    ("16x48", 5, {"invert": True, "mirror": True, "turn": 1}),
    ("18x18", 4, {"jpeg": 50}), ("40x40", 4, {"jpeg": 50}), ("96x96", 4, {"jpeg": 50}),
])
def test_clean_pictures_in_every_look(size, module, options):
    symbol = ecc200.encode(size, size=size)
    reading = ecc200.read(look(symbol.to_pil(module=module), **options))
    assert reading.data == symbol.data and reading.size == size


def photograph(symbol, angle, tilt=0.0, module=4):
    """The symbol on white paper, turned by angle degrees and seen at a slant (a perspective that
    shrinks the far side by tilt), smoothed as a lens would."""
    image = symbol.to_pil(module=module, quiet=6).convert("L")
    image = image.rotate(angle, resample=Image.BILINEAR, expand=True, fillcolor=255)
    if tilt:
        w, h = image.size
        d = tilt * w
        # Image.transform maps output to input: the top edge of the output draws on a wider span.
        quad = (-d, 0, -d / 3, h, w + d / 3, h, w + d, 0)
        image = image.transform((w, h), Image.QUAD, quad, resample=Image.BILINEAR, fillcolor=255)
    return image.filter(ImageFilter.GaussianBlur(0.6))


@pytest.mark.parametrize("size, angle, tilt", [
    ("12x12", 17, 0.0), ("24x24", 33, 0.0), ("36x36", 61, 0.05), ("52x52", 128, 0.0),
    ("64x64", 200, 0.03), ("88x88", 301, 0.0), ("120x120", 12, 0.02), ("144x144", 77, 0.0),
    ("12x36", 40, 0.0), ("16x48", 222, 0.05), ("72x72", 95, 0.06), ("32x32", 3, 0.1),
])
def test_photographs_read_wherever_zxing_reads_the_unmarked_twin(identity_dir, size, angle, tilt):
    """The unmarked symbol, and the same symbol with both marks (which no reader decodes: libdmtx's
    finder locates it and we sample it), both read wherever zxing-cpp reads the unmarked one."""
    plain = photograph(ecc200.encode(size, size=size), angle, tilt)
    if not any(result.valid for result in zxingcpp.read_barcodes(plain)):
        pytest.skip("zxing-cpp does not read this photograph either")
    assert ecc200.read(plain).text == size
    marked = ecc200.encode(size, size=size, user_mark=True, product_mark="LOT-9")
    reading = ecc200.read(photograph(marked, angle, tilt), product_id="LOT-9")
    assert reading.text == size and reading.product_mark_lifted
    assert reading.user_mark in ("valid", "partial")


def test_marks_and_their_verdicts(identity_dir):
    marked = ecc200.encode("Mine", user_mark=True)
    both = ecc200.encode("Both", user_mark=True, product_mark="P-1")
    (identity_dir / "other.id").write_text(OTHER_ID)

    assert ecc200.read(marked).user_mark == "valid"
    assert ecc200.read(marked).user_mark_blocks == (1, 1)
    assert ecc200.read(ecc200.encode("Mine")).user_mark == "absent"
    assert ecc200.read(marked, identity=identity_dir / "other.id").user_mark == "absent"
    assert ecc200.read(marked, identity=str(identity_dir / "none.id")).user_mark == "unchecked"
    lifted = ecc200.read(both.to_pil(), product_id="P-1")
    assert lifted.product_mark_lifted and lifted.user_mark == "valid"
    for product, identity in (("P-2", None), ("P-1", identity_dir / "other.id")):
        with pytest.raises(ecc200.DecodeError) as failure:
            ecc200.read(both, product_id=product, identity=identity)
        assert failure.value.status == 19


def test_gs1_and_eci_facts():
    gs1 = ecc200.read(ecc200.encode(b"01095011015300031725010110AB1", gs1=True))
    assert gs1.gs1 and gs1.symbology_id == "]d2" and gs1.data == b"01095011015300031725010110AB1"
    assert gs1.hri == "(01)09501101530003(17)250101(10)AB1"
    eci = ecc200.read(ecc200.encode("caf\u00e9".encode(), eci=26))
    assert eci.eci == 26 and eci.text == "caf\u00e9" and eci.hri is None
    binary = ecc200.read(ecc200.encode(b"\xff\x00\xfe", scheme="base256"))
    assert binary.text is None and binary.data == b"\xff\x00\xfe"


@pytest.mark.parametrize("source, product_id, error, message", [
    (b"", None, ecc200.DecodeError, "empty"),
    (b"GIF89a", None, ecc200.DecodeError, "not an image file"),
    (b"\x89PNG\r\n\x1a\n" + b"\x00" * 40, None, ecc200.DecodeError, "damaged PNG"),
    (b"BM" + b"\xff" * 60, None, ecc200.DecodeError, "BMP"),
    (b"P5\n70000 70000\n255\n", None, ecc200.DecodeError, "megapixels"),
    (Image.new("L", (50, 50), 255), None, ecc200.DecodeError, "no symbol found"),
    (numpy.zeros((4, 4, 2)), None, TypeError, "2-D"),
    (42, None, TypeError, "source must be"),
    (SYMBOL, "", ValueError, "product_id"),
    (SYMBOL, "x" * 101, ValueError, "product_id"),
])
def test_failures_say_why(source, product_id, error, message):
    assert issubclass(ecc200.DecodeError, ValueError)
    with pytest.raises(error, match=message):
        ecc200.read(source, product_id=product_id)


def test_truncated_files_never_crash():
    """Every prefix of a PNG, a JPEG and a BMP fails cleanly or reads."""
    image = SYMBOL.to_pil(module=2)
    for whole in (file_bytes(image, form, quality=80) for form in ("PNG", "JPEG", "BMP")):
        for cut in range(0, len(whole), max(1, len(whole) // 60)):
            try:
                ecc200.read(whole[:cut])
            except ecc200.DecodeError:
                pass
