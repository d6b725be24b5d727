#!/usr/bin/env python3
"""Draws every stored image of Vitrolux and writes it in its Windows format.

The title-bar glyphs, the launch tiles, the application icon and the hand
cursor are all drawn here in code, so the art is ours and can be tweaked by
editing numbers.  The files are written by hand with ``struct`` (standard
library only), which keeps the build free of Python and of image libraries:
the generated files are committed and the resource compiler embeds them.

Output is deterministic; running the script twice gives byte-identical files.

    python3 assets/draw_assets.py
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
CAPTION_HOVER = (0x17, 0x5B, 0x9E)
FRAME_PURPLE = (0x22, 0x08, 0x2F)
VIOLET = (0x6C, 0x34, 0xA8)
TILE_GROUND = (0xE6, 0xE0, 0xF4)
SHADOW = (0x3A, 0x22, 0x5C)

TILE_W, TILE_H = 103, 117
# The lower part of a tile is left empty for the caption the program draws.
MARK_X, MARK_Y = TILE_W / 2.0, 47.0


# ---------------------------------------------------------------------------
# File formats

def _info_header(width, height, bit_count, image_size, colours=0, ppm=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0,
                       image_size, ppm, ppm, colours, colours)


def pack_bits(bits):
    """Packs 0/1 values MSB-first into a row padded to a 32-bit boundary."""
    row = bytearray(((len(bits) + 31) // 32) * 4)
    for i, bit in enumerate(bits):
        if bit:
            row[i >> 3] |= 0x80 >> (i & 7)
    return bytes(row)


def encode_bmp24(rows):
    """24-bit bottom-up BI_RGB bitmap from top-down rows of (r, g, b)."""
    height, width = len(rows), len(rows[0])
    pad = b"\0" * ((-width * 3) % 4)
    data = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            data += bytes((b, g, r))
        data += pad
    # 2835 pixels per metre is 72 dpi; LoadImage ignores it either way.
    info = _info_header(width, height, 24, len(data), ppm=2835)
    offset = 14 + len(info)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return file_header + info + bytes(data)


def encode_ico(images):
    """Icon file from (size, top-down rows of (r, g, b, a)) pairs.

    Each entry is a 32-bit BGRA DIB with straight alpha.  The AND mask is
    still required by the format; it marks fully transparent pixels so that
    code paths that ignore alpha still see the right silhouette.
    """
    blobs = []
    for size, rows in images:
        xor = bytearray()
        mask = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
            mask += pack_bits([1 if px[3] == 0 else 0 for px in row])
        info = _info_header(size, size * 2, 32, len(xor) + len(mask))
        blobs.append(info + bytes(xor) + bytes(mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def encode_cur_mono(art, hotspot):
    """Monochrome cursor from rows of 'B' (black), 'W' (white), '.' (clear).

    Windows combines the masks as screen = (screen AND and_mask) XOR xor_mask,
    so a clear pixel is AND 1 / XOR 0, black is 0 / 0 and white is 0 / 1.
    """
    height, width = len(art), len(art[0])
    xor = bytearray()
    mask = bytearray()
    for row in reversed(art):
        xor += pack_bits([1 if c == "W" else 0 for c in row])
        mask += pack_bits([1 if c == "." else 0 for c in row])
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = _info_header(width, height * 2, 1, len(xor) + len(mask), colours=2)
    blob = info + palette + bytes(xor) + bytes(mask)
    # In a cursor directory the planes/bit-count fields hold the hot spot.
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 2, 0,
                        hotspot[0], hotspot[1], len(blob), 6 + 16)
    return struct.pack("<HHH", 0, 2, 1) + entry + blob


# ---------------------------------------------------------------------------
# Drawing

def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def ramp(stops, t):
    """Colour at t along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def linear(p0, p1, stops):
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    length2 = dx * dx + dy * dy
    return lambda x, y: ramp(stops, ((x - p0[0]) * dx + (y - p0[1]) * dy) / length2)


def radial(centre, radius, stops):
    return lambda x, y: ramp(stops, math.hypot(x - centre[0], y - centre[1]) / radius)


class Shape:
    """A region of the plane; x grows right and y grows down, in pixels."""
    bbox = (-1e9, -1e9, 1e9, 1e9)

    def contains(self, x, y):
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __and__(self, other):
        return Intersection(self, other)

    def __sub__(self, other):
        return Difference(self, other)


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts
        self.bbox = (min(p.bbox[0] for p in parts), min(p.bbox[1] for p in parts),
                     max(p.bbox[2] for p in parts), max(p.bbox[3] for p in parts))

    def contains(self, x, y):
        return any(p.contains(x, y) for p in self.parts)


class Intersection(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def contains(self, x, y):
        return self.a.contains(x, y) and self.b.contains(x, y)


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def contains(self, x, y):
        return self.a.contains(x, y) and not self.b.contains(x, y)


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r2 = cx, cy, r * r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def contains(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.r2


class Ellipse(Shape):
    """Ellipse with semi-axes rx, ry, turned by `angle` degrees clockwise."""

    def __init__(self, cx, cy, rx, ry, angle=0.0):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        a = math.radians(angle)
        self.cos, self.sin = math.cos(a), math.sin(a)
        r = max(rx, ry)
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def local(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return (dx * self.cos + dy * self.sin) / self.rx, (-dx * self.sin + dy * self.cos) / self.ry

    def contains(self, x, y):
        u, v = self.local(x, y)
        return u * u + v * v <= 1.0


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.x0, self.y0, self.x1, self.y1, self.radius = x0, y0, x1, y1, radius
        self.bbox = (x0, y0, x1, y1)

    def contains(self, x, y):
        if not (self.x0 <= x <= self.x1 and self.y0 <= y <= self.y1):
            return False
        r = self.radius
        if r <= 0:
            return True
        cx = min(max(x, self.x0 + r), self.x1 - r)
        cy = min(max(y, self.y0 + r), self.y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Polygon(Shape):
    def __init__(self, points):
        self.points = points
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.bbox = (min(xs), min(ys), max(xs), max(ys))

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside


class Stroke(Shape):
    """A line segment of the given width with round caps."""

    def __init__(self, p0, p1, width):
        self.p0, self.p1, self.h = p0, p1, width / 2.0
        self.bbox = (min(p0[0], p1[0]) - self.h, min(p0[1], p1[1]) - self.h,
                     max(p0[0], p1[0]) + self.h, max(p0[1], p1[1]) + self.h)

    def contains(self, x, y):
        (x0, y0), (x1, y1) = self.p0, self.p1
        dx, dy = x1 - x0, y1 - y0
        t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)
        t = min(1.0, max(0.0, t))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= self.h * self.h


class Wedge(Shape):
    """Points whose direction from the centre lies between two angles.

    Angles are in degrees, counter-clockwise from "east" as on a clock face
    seen on screen (so 90 is straight up), going from a0 to a1.
    """

    def __init__(self, cx, cy, a0, a1):
        self.cx, self.cy = cx, cy
        self.a0 = a0 % 360.0
        self.span = (a1 - a0) % 360.0

    def contains(self, x, y):
        a = math.degrees(math.atan2(self.cy - y, x - self.cx))
        return (a - self.a0) % 360.0 <= self.span


class HalfPlane(Shape):
    """Points to the left of the directed line p0 -> p1 (on screen)."""

    def __init__(self, p0, p1):
        self.p0, self.p1 = p0, p1

    def contains(self, x, y):
        (x0, y0), (x1, y1) = self.p0, self.p1
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0) <= 0


class Canvas:
    """Straight-alpha RGBA pixels; pixel (x, y) covers [x, x+1) x [y, y+1)."""

    def __init__(self, width, height, background=None):
        self.w, self.h = width, height
        fill = (0.0, 0.0, 0.0, 0.0) if background is None else tuple(background) + (1.0,)
        self.px = [[fill] * width for _ in range(height)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0.0:
            return
        dr, dg, db, da = self.px[y][x]
        keep = da * (1.0 - alpha)
        out = alpha + keep
        r, g, b = colour[0], colour[1], colour[2]
        self.px[y][x] = ((r * alpha + dr * keep) / out, (g * alpha + dg * keep) / out,
                         (b * alpha + db * keep) / out, out)

    def _pixel_range(self, bbox):
        x0 = max(0, int(math.floor(bbox[0])))
        y0 = max(0, int(math.floor(bbox[1])))
        x1 = min(self.w, int(math.ceil(bbox[2])))
        y1 = min(self.h, int(math.ceil(bbox[3])))
        return x0, y0, x1, y1

    def coverage(self, shape, ss=4):
        """Fraction of each pixel inside the shape, by ss x ss supersampling."""
        cover = [[0.0] * self.w for _ in range(self.h)]
        offsets = [(i + 0.5) / ss for i in range(ss)]
        x0, y0, x1, y1 = self._pixel_range(shape.bbox)
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape.contains(x + ox, y + oy):
                            hits += 1
                cover[y][x] = hits / float(ss * ss)
        return cover

    def fill(self, shape, paint, opacity=1.0, ss=4):
        """Paints a shape with a colour or a paint(x, y) -> colour function.

        A paint colour may carry a fourth component, its own opacity.
        """
        cover = self.coverage(shape, ss)
        x0, y0, x1, y1 = self._pixel_range(shape.bbox)
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = cover[y][x]
                if c <= 0.0:
                    continue
                colour = paint(x + 0.5, y + 0.5) if callable(paint) else paint
                alpha = c * opacity * (colour[3] if len(colour) > 3 else 1.0)
                self.blend(x, y, colour, alpha)

    def shadow(self, shape, dx, dy, blur, colour, opacity):
        """A soft drop shadow: the shape's coverage moved and box-blurred."""
        cover = self.coverage(Moved(shape, dx, dy), ss=2)
        for _ in range(3):
            cover = _box_blur(cover, blur)
        for y in range(self.h):
            for x in range(self.w):
                self.blend(x, y, colour, cover[y][x] * opacity)

    def plot(self, points, colour):
        for x, y in points:
            self.px[y][x] = tuple(colour) + (1.0,)

    def rgb_rows(self):
        return [[tuple(_channel(v) for v in p[:3]) for p in row] for row in self.px]

    def rgba_rows(self):
        rows = []
        for row in self.px:
            out = []
            for r, g, b, a in row:
                alpha = _channel(a * 255.0)
                out.append((_channel(r), _channel(g), _channel(b), alpha) if alpha else (0, 0, 0, 0))
            rows.append(out)
        return rows


class Moved(Shape):
    def __init__(self, shape, dx, dy):
        self.shape, self.dx, self.dy = shape, dx, dy
        b = shape.bbox
        self.bbox = (b[0] + dx, b[1] + dy, b[2] + dx, b[3] + dy)

    def contains(self, x, y):
        return self.shape.contains(x - self.dx, y - self.dy)


def _channel(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


def _box_blur(grid, radius):
    h, w = len(grid), len(grid[0])
    n = 2 * radius + 1

    def blur_line(line):
        out = []
        total = sum(line[0:radius + 1]) + line[0] * radius
        for i in range(len(line)):
            out.append(total / n)
            add = line[min(len(line) - 1, i + radius + 1)]
            drop = line[max(0, i - radius)]
            total += add - drop
        return out

    rows = [blur_line(row) for row in grid]
    cols = [blur_line([rows[y][x] for y in range(h)]) for x in range(w)]
    return [[cols[x][y] for x in range(w)] for y in range(h)]


# ---------------------------------------------------------------------------
# Title-bar glyphs: 1 px lines on whole pixels, no smoothing, so they stay
# crisp next to the system's own caption buttons.

def outline_points(x0, y0, x1, y1):
    pts = set()
    for x in range(x0, x1 + 1):
        pts.add((x, y0))
        pts.add((x, y1))
    for y in range(y0, y1 + 1):
        pts.add((x0, y))
        pts.add((x1, y))
    return pts


def restore_points():
    # A 10 x 10 glyph: the front window, and the window behind it peeking out
    # two pixels up and to the right.
    front = (8, 6, 15, 13)
    back = outline_points(10, 4, 17, 11)
    hidden = {(x, y) for x in range(front[0], front[2] + 1) for y in range(front[1], front[3] + 1)}
    return outline_points(*front) | (back - hidden)


def close_points():
    return {(14 + i, 4 + i) for i in range(10)} | {(23 - i, 4 + i) for i in range(10)}


def minimise_points():
    return {(x, 9) for x in range(11, 21)}


PIN_ART = [
    "...........",
    "..#######..",
    "...#...#...",
    "...#...#...",
    "...#...#...",
    "...#...#...",
    "..#.....#..",
    ".#########.",
    ".....#.....",
    ".....#.....",
    ".....#.....",
    "...........",
]

GEAR_ART = [
    "............",
    ".....##.....",
    "..##.##.##..",
    "..########..",
    "...##..##...",
    ".###....###.",
    ".###....###.",
    "...##..##...",
    "..########..",
    "..##.##.##..",
    ".....##.....",
    "............",
]


def art_points(art):
    return {(x, y) for y, row in enumerate(art) for x, c in enumerate(row) if c == "#"}


def glyph(width, height, background, points):
    canvas = Canvas(width, height, background)
    canvas.plot(sorted(points), WHITE)
    return canvas


# ---------------------------------------------------------------------------
# Launch tiles

def tile_canvas():
    return Canvas(TILE_W, TILE_H, TILE_GROUND)


def ground_shadow(canvas, width, y=None):
    """A soft oval under a round mark, as if it floated above the tile."""
    y = MARK_Y + 33 if y is None else y
    oval = Ellipse(MARK_X, y, width / 2.0, 3.0)
    canvas.shadow(oval, 0, 0, 2, SHADOW, 0.22)


def draw_tile_ie():
    c = tile_canvas()
    cx, cy, r = MARK_X, MARK_Y, 24.0
    ground_shadow(c, 44)
    orbit_outer = Ellipse(cx, cy, 37.0, 13.0, -22.0)
    orbit_inner = Ellipse(cx, cy, 33.5, 9.8, -22.0)
    orbit = orbit_outer - orbit_inner
    # The orbit passes behind the globe along its upper half and in front of
    # it along the lower half.
    upper = HalfPlane((cx + 40 * math.cos(math.radians(-22)), cy + 40 * math.sin(math.radians(-22))),
                      (cx - 40 * math.cos(math.radians(-22)), cy - 40 * math.sin(math.radians(-22))))
    gold = linear((cx - 37, cy), (cx + 37, cy),
                  [(0.0, (0xF8, 0xB9, 0x2A)), (1.0, (0xFF, 0xDD, 0x6E))])
    c.fill(orbit & upper, gold)
    globe = Circle(cx, cy, r)
    c.fill(globe, radial((cx - 9, cy - 11), 40.0,
                         [(0.0, (0x7F, 0xD0, 0xFF)), (0.55, (0x2E, 0x8E, 0xE0)), (1.0, (0x12, 0x4F, 0xA6))]))
    # Faint meridians and parallels make the disc read as a globe.
    lines = Union(
        Ellipse(cx, cy, 11.0, r) - Ellipse(cx, cy, 10.0, r - 1.0),
        Rect(cx - r, cy - 8.5, cx + r, cy - 7.5),
        Rect(cx - r, cy + 7.5, cx + r, cy + 8.5),
        Rect(cx - 0.5, cy - r, cx + 0.5, cy + r),
    )
    c.fill(lines & globe, (255, 255, 255, 0.18))
    c.fill(Circle(cx - 8, cy - 10, 9.0), (255, 255, 255, 0.14))
    # A bold lower-case "e": a thick ring with a bar, opened at the lower right.
    ro, ri = 14.0, 7.6
    ring = Circle(cx, cy, ro) - Circle(cx, cy, ri)
    opening = Wedge(cx, cy, -58.0, -3.0) & HalfPlane((cx + 20, cy + 1.6), (cx - 20, cy + 1.6))
    bar = Rect(cx - ri - 0.5, cy - 2.2, cx + ri + 0.5, cy + 1.6)
    letter = (ring - opening) | bar
    c.shadow(letter, 0.8, 1.2, 1, (0x0A, 0x2A, 0x60), 0.35)
    c.fill(letter, WHITE)
    c.fill(orbit - upper, gold)
    return c


def draw_tile_chrome():
    c = tile_canvas()
    cx, cy, r = MARK_X, MARK_Y, 26.0
    ground_shadow(c, 46)
    disc = Circle(cx, cy, r)
    segments = [
        (30.0, 150.0, (0xEE, 0x55, 0x48), (0xD2, 0x36, 0x2E)),   # red, top
        (150.0, 270.0, (0x4C, 0xBE, 0x6A), (0x21, 0x95, 0x46)),  # green, lower left
        (270.0, 390.0, (0xFF, 0xD6, 0x4A), (0xF2, 0xAE, 0x1C)),  # yellow, lower right
    ]
    for a0, a1, light, dark in segments:
        mid = math.radians((a0 + a1) / 2.0)
        near = (cx + 6 * math.cos(mid), cy - 6 * math.sin(mid))
        far = (cx + r * math.cos(mid), cy - r * math.sin(mid))
        c.fill(disc & Wedge(cx, cy, a0, a1), linear(near, far, [(0.0, light), (1.0, dark)]))
    # Thin white seams between the segments.
    for a in (30.0, 150.0, 270.0):
        ang = math.radians(a)
        tip = (cx + (r + 1) * math.cos(ang), cy - (r + 1) * math.sin(ang))
        c.fill(Stroke((cx, cy), tip, 1.4) & disc, (255, 255, 255, 0.9))
    c.fill(Circle(cx, cy, 12.5), WHITE)
    c.fill(Circle(cx, cy, 9.5), radial((cx - 3, cy - 4), 13.0,
                                       [(0.0, (0x7A, 0xB8, 0xFF)), (1.0, (0x1C, 0x5F, 0xD0))]))
    c.fill(Circle(cx - 3, cy - 3.5, 3.0), (255, 255, 255, 0.25))
    return c


class Swirl(Shape):
    """A band wound round a centre, its radii varying along the way.

    The band starts at angle `start` (degrees, counter-clockwise, 90 is up)
    and turns clockwise through `sweep` degrees.  inner(t) and outer(t) give
    its radii at the fraction t of the way along.
    """

    def __init__(self, cx, cy, start, sweep, inner, outer, reach):
        self.cx, self.cy, self.start, self.sweep = cx, cy, start, sweep
        self.inner, self.outer = inner, outer
        self.bbox = (cx - reach, cy - reach, cx + reach, cy + reach)

    def contains(self, x, y):
        a = math.degrees(math.atan2(self.cy - y, x - self.cx))
        t = ((self.start - a) % 360.0) / self.sweep
        if t > 1.0:
            return False
        d = math.hypot(x - self.cx, y - self.cy)
        return self.inner(t) <= d <= self.outer(t)


def draw_tile_firefox():
    c = tile_canvas()
    # The fox's body sits on the right, so the globe is set a little left to
    # keep the whole mark centred.
    cx, cy = MARK_X - 3.0, MARK_Y + 1.0
    ground_shadow(c, 48)
    gr = 19.0
    c.fill(Circle(cx, cy, gr), radial((cx - 6, cy - 7), 26.0,
                                     [(0.0, (0x6A, 0x4F, 0xD8)), (0.5, (0x3A, 0x2A, 0x9A)), (1.0, (0x1D, 0x14, 0x58))]))
    land = Union(Ellipse(cx - 6, cy - 2, 7.0, 4.0, -20.0), Ellipse(cx + 4, cy + 8, 6.0, 3.5, 30.0),
                 Ellipse(cx + 2, cy - 10, 4.0, 2.2, 0.0))
    c.fill(land & Circle(cx, cy, gr), (0x8C, 0x7A, 0xF0, 0.45))

    # The fox curls clockwise round the globe: a pointed snout at the upper
    # left, the head with an ear at the top, the body down the right side and
    # a tail that narrows to a tip curling over the globe's lower left.
    start, sweep = 140.0, 300.0

    def thickness(t):
        if t < 0.12:
            return 10.0 * (t / 0.12) ** 0.6
        if t < 0.50:
            return 10.0 + 2.5 * (t - 0.12) / 0.38
        return 12.5 * ((1.0 - t) / 0.50) ** 0.8

    def inner(t):
        if t < 0.12:
            return gr - 1.0 + 3.0 * (0.12 - t) / 0.12
        return gr - 1.0 - 6.0 * max(0.0, t - 0.72) / 0.28

    def outer(t):
        return inner(t) + thickness(t)

    def polar(angle, radius):
        a = math.radians(angle)
        return (cx + radius * math.cos(a), cy - radius * math.sin(a))

    def t_at(angle):
        return ((start - angle) % 360.0) / sweep

    fox = Swirl(cx, cy, start, sweep, inner, outer, 34.0)
    ear = Polygon([polar(112.0, outer(t_at(112.0)) - 2.0), polar(109.0, outer(t_at(109.0)) + 9.5),
                   polar(88.0, outer(t_at(88.0)) - 2.0)])
    fur = linear((cx + 10, cy - 30), (cx - 14, cy + 26),
                 [(0.0, (0xFF, 0xD2, 0x3F)), (0.45, (0xFF, 0x8A, 0x1E)), (1.0, (0xE0, 0x3A, 0x1C))])
    c.fill(fox | ear, fur)
    c.fill(Circle(cx + 14.0, cy + 13.0, 12.0) & fox, (255, 255, 255, 0.12))
    c.fill(Polygon([polar(107.0, outer(t_at(107.0)) + 0.5), polar(106.0, outer(t_at(106.0)) + 6.0),
                    polar(96.0, outer(t_at(96.0)) + 0.5)]), (0xB8, 0x30, 0x18, 0.45))
    return c


def draw_tile_picture():
    c = tile_canvas()
    x0, y0, x1, y1 = 15.0, 20.0, 88.0, 76.0
    frame = Rect(x0, y0, x1, y1, 3.0)
    c.shadow(frame, 1.5, 2.5, 2, SHADOW, 0.35)
    c.fill(frame, linear((0, y0), (0, y1), [(0.0, (0xFF, 0xFF, 0xFF)), (1.0, (0xEE, 0xEA, 0xF6))]))
    c.fill(frame - Rect(x0 + 0.8, y0 + 0.8, x1 - 0.8, y1 - 0.8, 2.4), (0x9C, 0x8F, 0xB8))
    ix0, iy0, ix1, iy1 = x0 + 5, y0 + 5, x1 - 5, y1 - 5
    view = Rect(ix0, iy0, ix1, iy1)
    c.fill(view, linear((0, iy0), (0, iy1), [(0.0, (0x4F, 0x9C, 0xEC)), (0.75, (0xB8, 0xE2, 0xFF))]))
    sx, sy = ix1 - 14, iy0 + 11
    c.fill(Circle(sx, sy, 10.0) & view, radial((sx, sy), 10.0,
                                               [(0.0, (255, 245, 200, 0.55)), (1.0, (255, 245, 200, 0.0))]))
    c.fill(Circle(sx, sy, 5.5), radial((sx - 1.5, sy - 1.5), 7.0,
                                       [(0.0, (0xFF, 0xF4, 0x9A)), (1.0, (0xFF, 0xC1, 0x2E))]))
    back = Polygon([(ix0, iy1), (ix0, iy0 + 26), (ix0 + 14, iy0 + 14), (ix0 + 24, iy0 + 21),
                    (ix0 + 35, iy0 + 9), (ix0 + 52, iy0 + 27), (ix1, iy0 + 22), (ix1, iy1)])
    c.fill(back & view, linear((0, iy0 + 9), (0, iy1), [(0.0, (0x7A, 0x80, 0xB8)), (1.0, (0x5A, 0x5E, 0x96))]))
    snow = Polygon([(ix0 + 29.5, iy0 + 15), (ix0 + 35, iy0 + 9), (ix0 + 41, iy0 + 15.5),
                    (ix0 + 38, iy0 + 14), (ix0 + 35, iy0 + 16.5), (ix0 + 32, iy0 + 14)])
    c.fill(snow, (0xF4, 0xF6, 0xFF))
    front = Polygon([(ix0, iy1), (ix0, iy0 + 34), (ix0 + 10, iy0 + 29), (ix0 + 22, iy0 + 35),
                     (ix0 + 40, iy0 + 25), (ix1, iy0 + 36), (ix1, iy1)])
    c.fill(front & view, linear((0, iy0 + 25), (0, iy1), [(0.0, (0x6F, 0xC2, 0x5A)), (1.0, (0x2F, 0x86, 0x3E))]))
    return c


def draw_tile_any():
    c = tile_canvas()
    x0, y0, x1, y1, fold = 31.0, 17.0, 73.0, 77.0, 14.0
    page = Polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    c.shadow(page, 1.5, 2.5, 2, SHADOW, 0.35)
    c.fill(page, linear((x0, y0), (x1, y1), [(0.0, (0x3C, 0x44, 0x5E)), (1.0, (0x22, 0x27, 0x3A))]))
    # The turned-down corner: its underside, with a little shade below it.
    flap = Polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)])
    c.shadow(flap, -0.5, 1.0, 1, (0x10, 0x12, 0x1C), 0.45)
    c.fill(flap, linear((x1 - fold, y0 + fold), (x1 - fold / 2, y0 + fold / 2),
                        [(0.0, (0x8A, 0x92, 0xAC)), (1.0, (0x64, 0x6C, 0x88))]))
    return c


# ---------------------------------------------------------------------------
# Application icon: a dark purple frame with a title bar, a light hosted pane
# inside it and a pin on the title bar.  Edges are snapped to whole pixels at
# every size so the small sizes stay sharp.

def draw_icon(size):
    s = size / 16.0
    c = Canvas(size, size)

    def px(v):
        return float(round(v * s))

    top, bottom = px(1.5), float(size) - px(1.0)
    frame = Rect(0.0, top, float(size), bottom, max(1.0, 1.6 * s))
    c.fill(frame, linear((0, top), (0, bottom), [(0.0, (0x4A, 0x1B, 0x66)), (1.0, FRAME_PURPLE)]))
    if size >= 24:
        edge = frame - Rect(1.0, top + 1.0, size - 1.0, bottom - 1.0, max(0.0, 1.6 * s - 1.0))
        c.fill(edge, (0x8A, 0x4F, 0xC8, 0.8))
    bar = px(5.0)
    side = max(2.0, px(2.0))
    pane = Rect(side, bar, size - side, bottom - max(2.0, px(2.0)))
    c.fill(pane, linear((0, bar), (0, pane.y1), [(0.0, (0xFF, 0xFF, 0xFF)), (1.0, (0xD8, 0xCE, 0xF2))]))
    if size >= 32:
        # A hint of the hosted program's content.
        for i, w in enumerate((0.62, 0.45, 0.55)):
            y = bar + px(2.0) + i * px(2.0)
            c.fill(Rect(side + px(1.5), y, side + px(1.5) + (size - 2 * side - px(3.0)) * w, y + max(1.0, px(1.0)), 0.5),
                   (0x9B, 0x7C, 0xD0))
    # A round-headed pin stuck into the title bar near its right end; a ball
    # head stays recognisable even at 16 px where a tack's profile does not.
    hx, hy, hr = size - 4.6 * s, top + 1.1 * s, 2.1 * s
    tip = (hx - 2.6 * s, hy + 3.4 * s)
    c.fill(Stroke((hx, hy), tip, max(1.0, 0.55 * s)), (0xF0, 0xEC, 0xF6))
    c.fill(Circle(hx, hy, hr), radial((hx - 0.7 * s, hy - 0.8 * s), 2.8 * s,
                                      [(0.0, (0xFF, 0xB8, 0xE0)), (0.5, (0xF0, 0x4C, 0xA0)), (1.0, (0xB8, 0x1E, 0x6E))]))
    return c


# ---------------------------------------------------------------------------
# Hand cursor: the tip of the index finger is the hot spot, at (6, 0).

HAND_HOTSPOT = (6, 0)
HAND_ART = [
    ".....BBB............",
    "....BWWWB...........",
    "....BWWWB...........",
    "....BWWWB...........",
    "....BWWWB...........",
    "....BWWWB...........",
    "....BWWWBBBB........",
    "....BWWWBWWWBBBB....",
    "....BWWWBWWWBWWWB...",
    ".BB.BWWWBWWWBWWWBBB.",
    "BWWBBWWWBWWWBWWWBWWB",
    "BWWWBWWWWWWWWWWWWWWB",
    "BWWWWWWWWWWWWWWWWWWB",
    ".BWWWWWWWWWWWWWWWWWB",
    ".BWWWWWWWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWWWWB",
    "..BWWWWWWWWWWWWWWWB.",
    "...BWWWWWWWWWWWWWWB.",
    "....BWWWWWWWWWWWWB..",
    "....BWWWWWWWWWWWWB..",
    ".....BWWWWWWWWWWB...",
    ".....BBBBBBBBBBBB...",
]


def hand_cursor_art():
    rows = [row.ljust(32, ".") for row in HAND_ART]
    return rows + ["." * 32] * (32 - len(rows))


# ---------------------------------------------------------------------------

BITMAPS = [
    ("restore_normal.bmp", lambda: glyph(26, 18, BLACK, restore_points())),
    ("restore_hover.bmp", lambda: glyph(26, 18, CAPTION_HOVER, restore_points())),
    ("close_normal.bmp", lambda: glyph(37, 18, BLACK, close_points())),
    ("close_hover.bmp", lambda: glyph(37, 18, CAPTION_HOVER, close_points())),
    ("min_normal.bmp", lambda: glyph(32, 18, BLACK, minimise_points())),
    ("min_hover.bmp", lambda: glyph(32, 18, CAPTION_HOVER, minimise_points())),
    ("pin.bmp", lambda: glyph(11, 12, FRAME_PURPLE, art_points(PIN_ART))),
    ("options.bmp", lambda: glyph(12, 12, FRAME_PURPLE, art_points(GEAR_ART))),
    ("tile_ie.bmp", draw_tile_ie),
    ("tile_chrome.bmp", draw_tile_chrome),
    ("tile_firefox.bmp", draw_tile_firefox),
    ("tile_picture.bmp", draw_tile_picture),
    ("tile_any.bmp", draw_tile_any),
]

ICON_SIZES = (48, 32, 24, 16)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(root=HERE):
    """Writes every asset under `root` (this folder unless told otherwise)."""
    image_dir = os.path.join(root, "images")
    os.makedirs(image_dir, exist_ok=True)
    for name, draw in BITMAPS:
        write(os.path.join(image_dir, name), encode_bmp24(draw().rgb_rows()))
    icons = [(size, draw_icon(size).rgba_rows()) for size in ICON_SIZES]
    write(os.path.join(root, "vitrolux.ico"), encode_ico(icons))
    write(os.path.join(root, "hand.cur"), encode_cur_mono(hand_cursor_art(), HAND_HOTSPOT))


if __name__ == "__main__":
    main()
