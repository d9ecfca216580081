"""Detection rates on simulated photographs: how many symbols ecc200.read reads, unmarked and
product-marked, against zxing-cpp and libdmtx (pylibdmtx) reading the unmarked twin.

Each case is a symbol of a seeded size drawn at 4 pixels a module, turned by a seeded angle, seen
at a slant and smoothed (tests/python/test_read.py's photograph()). Run from the repository root
with the package installed (or PYTHONPATH set) and user.id-free: a scratch identity is written.

    python3 bench/photo_reading.py [cases]
"""

import os
import random
import sys
import tempfile
import time
from pathlib import Path

import zxingcpp
from pylibdmtx import pylibdmtx

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "python"))
import ecc200  # noqa: E402
from test_read import photograph  # noqa: E402


def main() -> None:
    cases = int(sys.argv[1]) if len(sys.argv) > 1 else 120
    os.chdir(tempfile.mkdtemp())
    Path("user.id").write_text("ACME**00112233445566778899AA-0123456789abcdefABCDEF\n")
    rng = random.Random(19)
    sizes = [s for s in ecc200.SIZES if s != "auto"]
    counts = dict.fromkeys(["zxing", "dmtx", "ours", "ours_where_zxing", "marked",
                            "marked_where_zxing"], 0)
    ours_time = 0.0
    for _ in range(cases):
        size = rng.choice(sizes)
        angle, tilt = rng.uniform(0, 360), rng.uniform(0, 0.05)
        plain = photograph(ecc200.encode(size, size=size), angle, tilt)
        marked = photograph(ecc200.encode(size, size=size, user_mark=True, product_mark="LOT"),
                            angle, tilt)
        zx = any(r.valid and r.text == size for r in zxingcpp.read_barcodes(plain))
        dm = any(r.data == size.encode() for r in pylibdmtx.decode(plain, timeout=3000))
        start = time.perf_counter()
        try:
            ours = ecc200.read(plain).text == size
        except ecc200.DecodeError:
            ours = False
        ours_time += time.perf_counter() - start
        try:
            lifted = ecc200.read(marked, product_id="LOT").text == size
        except ecc200.DecodeError:
            lifted = False
        counts["zxing"] += zx
        counts["dmtx"] += dm
        counts["ours"] += ours
        counts["ours_where_zxing"] += ours and zx
        counts["marked"] += lifted
        counts["marked_where_zxing"] += lifted and zx
    print(f"{cases} simulated photographs (all 30 sizes, any angle, slant up to 5%):")
    for name, value in counts.items():
        print(f"  {name:20} {value:4}  {100.0 * value / cases:5.1f}%")
    print(f"  ecc200.read, unmarked: {1000 * ours_time / cases:.0f} ms a photograph on average")


if __name__ == "__main__":
    main()
