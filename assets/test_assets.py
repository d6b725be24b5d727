#!/usr/bin/env python3
"""Checks the committed assets: that Windows will parse them as intended,
that they match what draw_assets.py produces today, and that the resource
script and the id header agree.

    python3 assets/test_assets.py
"""

import os
import re
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # keep __pycache__ out of the assets folder

import draw_assets  # noqa: E402

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
HOVER = (0x17, 0x5B, 0x9E)
PURPLE = (0x22, 0x08, 0x2F)

CAPTION = {
    "restore": (26, 18),
    "close": (37, 18),
    "min": (32, 18),
}
TILES = ["tile_ie", "tile_chrome", "tile_firefox", "tile_picture", "tile_any"]


def read(path):
    with open(os.path.join(HERE, path), "rb") as f:
        return f.read()


def load_bmp(name):
    """Returns (width, height, top-down rows of (r, g, b)) read by hand."""
    data = read(os.path.join("images", name))
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (hsize, width, height, planes, bits, compression,
     image_size) = struct.unpack_from("<IiiHHII", data, 14)
    assert magic == b"BM" and size == len(data), name
    assert (hsize, planes, bits, compression) == (40, 1, 24, 0), name
    assert height > 0, "bottom-up bitmaps only"
    stride = (width * 3 + 3) // 4 * 4
    assert offset == 54 and image_size == stride * height == len(data) - offset, name
    rows = []
    for y in range(height):
        base = offset + (height - 1 - y) * stride
        rows.append([tuple(reversed(data[base + 3 * x:base + 3 * x + 3])) for x in range(width)])
    return width, height, rows


def bit(row_bytes, x):
    return (row_bytes[x >> 3] >> (7 - (x & 7))) & 1


class BitmapTests(unittest.TestCase):
    def test_caption_glyphs_sizes_colours_and_centring(self):
        for stem, (w, h) in CAPTION.items():
            glyphs = {}
            for variant, ground in (("normal", BLACK), ("hover", HOVER)):
                width, height, rows = load_bmp("%s_%s.bmp" % (stem, variant))
                self.assertEqual((width, height), (w, h), stem)
                colours = {px for row in rows for px in row}
                # Crisp glyphs: only the glyph colour and the ground, no blends.
                self.assertEqual(colours, {WHITE, ground}, stem + variant)
                glyphs[variant] = {(x, y) for y, row in enumerate(rows)
                                   for x, px in enumerate(row) if px == WHITE}
            self.assertEqual(glyphs["normal"], glyphs["hover"], stem)
            xs = [p[0] for p in glyphs["normal"]]
            ys = [p[1] for p in glyphs["normal"]]
            self.assertLessEqual(max(xs) - min(xs) + 1, 10, stem)
            self.assertLessEqual(abs((min(xs) + max(xs) + 1) - w), 1, stem + " off centre")
            if stem != "min":
                self.assertLessEqual(abs((min(ys) + max(ys) + 1) - h), 1, stem + " off centre")
            else:
                self.assertIn(min(ys), (h // 2 - 1, h // 2), stem)

    def test_frame_glyphs(self):
        for name, size in (("pin.bmp", (11, 12)), ("options.bmp", (12, 12))):
            width, height, rows = load_bmp(name)
            self.assertEqual((width, height), size)
            self.assertEqual({px for row in rows for px in row}, {WHITE, PURPLE}, name)

    def test_tiles(self):
        ground = draw_assets.TILE_GROUND
        for stem in TILES:
            width, height, rows = load_bmp(stem + ".bmp")
            self.assertEqual((width, height), (103, 117), stem)
            for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
                self.assertEqual(rows[y][x], ground, stem)
            # The lower part is kept free for the caption the program draws.
            self.assertTrue(all(px == ground for row in rows[96:] for px in row), stem)
            self.assertGreater(sum(px != ground for row in rows for px in row), 1500, stem)


class IconTests(unittest.TestCase):
    def test_icon_directory_and_entries(self):
        data = read("vitrolux.ico")
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 4))
        sizes = []
        for i in range(count):
            w, h, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            size = w or 256
            sizes.append(size)
            self.assertEqual((w, h, colours, planes, bits), (size, size, 0, 1, 32))
            blob = data[offset:offset + length]
            self.assertEqual(len(blob), length)
            self.assertNotEqual(blob[:4], b"\x89PNG")
            hsize, bw, bh, bplanes, bbits, compression = struct.unpack_from("<IiiHHI", blob, 0)
            self.assertEqual((hsize, bw, bh, bplanes, bbits, compression), (40, size, 2 * size, 1, 32, 0))
            mask_stride = (size + 31) // 32 * 4
            self.assertEqual(length, 40 + size * size * 4 + size * mask_stride)
            xor = blob[40:40 + size * size * 4]
            mask = blob[40 + size * size * 4:]
            alphas = []
            for y in range(size):
                mrow = mask[y * mask_stride:(y + 1) * mask_stride]
                for x in range(size):
                    a = xor[(y * size + x) * 4 + 3]
                    alphas.append(a)
                    # The AND mask must give the same silhouette as the alpha.
                    self.assertEqual(bit(mrow, x), 1 if a == 0 else 0, (size, x, y))
            opaque = sum(a == 255 for a in alphas)
            self.assertGreater(opaque, size * size // 2, size)
            self.assertTrue(any(a == 0 for a in alphas), size)
        self.assertEqual(sizes, [48, 32, 24, 16])


class CursorTests(unittest.TestCase):
    def decode(self):
        data = read("hand.cur")
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 2, 1))
        w, h, _, _, hx, hy, length, offset = struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((w, h), (32, 32))
        blob = data[offset:offset + length]
        self.assertEqual(len(blob), length)
        hsize, bw, bh, planes, bits = struct.unpack_from("<IiiHH", blob, 0)
        self.assertEqual((hsize, bw, bh, planes, bits), (40, 32, 64, 1, 1))
        palette = blob[40:48]
        self.assertEqual(palette, bytes((0, 0, 0, 0, 255, 255, 255, 0)))
        xor, mask = blob[48:48 + 128], blob[48 + 128:48 + 256]
        self.assertEqual(len(blob), 48 + 256)
        pixels = []
        for y in range(32):
            src = 31 - y
            xrow, mrow = xor[src * 4:src * 4 + 4], mask[src * 4:src * 4 + 4]
            row = ""
            for x in range(32):
                a, v = bit(mrow, x), bit(xrow, x)
                self.assertFalse(a == 1 and v == 1, "no screen-inverting pixels")
                row += "." if a else ("W" if v else "B")
            pixels.append(row)
        return (hx, hy), pixels

    def test_hot_spot_is_the_fingertip(self):
        (hx, hy), pixels = self.decode()
        self.assertEqual((hx, hy), (6, 0))
        self.assertEqual(pixels[0][6], "B")
        # Nothing of the hand lies above or beside the tip on the top row, and
        # the finger below it is filled.
        self.assertEqual(pixels[0].replace(".", ""), "BBB")
        self.assertEqual(pixels[1][5:8], "WWW")

    def test_white_fill_is_enclosed_by_the_outline(self):
        _, pixels = self.decode()
        for y, row in enumerate(pixels):
            for x, c in enumerate(row):
                if c != "W":
                    continue
                for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                    inside = 0 <= nx < 32 and 0 <= ny < 32
                    self.assertTrue(inside and pixels[ny][nx] != ".", (x, y))


class GeneratorTests(unittest.TestCase):
    def test_committed_files_match_a_fresh_run(self):
        outputs = ["vitrolux.ico", "hand.cur"] + [
            os.path.join("images", name) for name, _ in draw_assets.BITMAPS]
        with tempfile.TemporaryDirectory() as tmp:
            draw_assets.main(tmp)
            for rel in outputs:
                with open(os.path.join(tmp, rel), "rb") as f:
                    fresh = f.read()
                self.assertEqual(fresh, read(rel), rel + " is stale: run draw_assets.py")


class ResourceScriptTests(unittest.TestCase):
    def test_ids_and_files(self):
        header = read("resource_ids.h").decode("ascii")
        defines = dict(re.findall(r"^#define[ \t]+(\w+)[ \t]+(\S+)", header, re.M))
        expected = {
            "IDI_APP": "1", "IDC_HAND_CURSOR": "101",
            "IDB_RESTORE_NORMAL": "201", "IDB_RESTORE_HOVER": "202",
            "IDB_CLOSE_NORMAL": "203", "IDB_CLOSE_HOVER": "204",
            "IDB_MIN_NORMAL": "205", "IDB_MIN_HOVER": "206",
            "IDB_PIN": "207", "IDB_OPTIONS": "208",
            "IDB_TILE_IE": "211", "IDB_TILE_CHROME": "212", "IDB_TILE_FIREFOX": "213",
            "IDB_TILE_PICTURE": "214", "IDB_TILE_ANY": "215",
            "VITROLUX_VERSION_MAJOR": "0", "VITROLUX_VERSION_MINOR": "1",
            "VITROLUX_VERSION_PATCH": "0", "VITROLUX_VERSION_STR": '"0.1.0"',
        }
        for name, value in expected.items():
            self.assertEqual(defines.get(name), value, name)

        rc = read("vitrolux.rc").decode("ascii")
        entries = re.findall(r"^(\w+)\s+(ICON|CURSOR|BITMAP|RT_MANIFEST)\s+\"([^\"]+)\"", rc, re.M)
        used = set()
        for ident, kind, path in entries:
            self.assertTrue(os.path.isfile(os.path.join(HERE, path)), path)
            self.assertTrue(ident == "1" or ident in defines, ident)
            used.add(ident)
        ids = {k for k in expected if k.startswith(("IDI_", "IDC_", "IDB_"))}
        self.assertEqual(ids - used, set(), "ids without a resource")
        bitmaps = {os.path.basename(p) for _, kind, p in entries if kind == "BITMAP"}
        self.assertEqual(bitmaps, {name for name, _ in draw_assets.BITMAPS})


if __name__ == "__main__":
    unittest.main()
