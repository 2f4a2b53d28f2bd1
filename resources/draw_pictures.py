#!/usr/bin/env python3
"""Draws Kel Morvane's own pictures and writes them beside this script.

    python3 resources/draw_pictures.py

Writes:
  kel_morvane.ico  program icon, 16x16, 32x32 and 48x48, 32-bit with alpha
  about.bmp        163x50 banner of the About box: wire-frame cube and title
  arrows.bmp       256x32 strip of eight 32x32 arrow cells (left, right, up,
                   down, then the same four pressed); black is the transparent
                   colour, so the arrows themselves never use pure black
  toolbar.bmp      160x16 strip of ten 16x16 tool bar glyphs (pencil, plus,
                   minus, triangle, arrows left, right, up, down, a shaded
                   ball, a square drawn as its edges), 8-bit
                   with a colour table, on light grey RGB(192, 192, 192),
                   which the tool bar shows as the button face

Standard library only. The output is deterministic: running the script again
writes the same bytes, so the files can be kept in the repository and rebuilt
whenever a picture changes.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Anti-aliasing: each pixel is sampled on a SUPERSAMPLE x SUPERSAMPLE grid.
SUPERSAMPLE = 8


# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------

def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


# ---------------------------------------------------------------------------
# Canvas: straight (not premultiplied) RGB 0..255 and alpha 0..1 per pixel
# ---------------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0), alpha=0.0):
        self.width = width
        self.height = height
        self.pixels = [[[float(colour[0]), float(colour[1]), float(colour[2]), alpha]
                        for _ in range(width)] for _ in range(height)]

    def put(self, x, y, colour, alpha=1.0):
        """Composites colour with the given opacity over pixel (x, y)."""
        if not (0 <= x < self.width and 0 <= y < self.height) or alpha <= 0.0:
            return
        pixel = self.pixels[y][x]
        below = pixel[3] * (1.0 - alpha)
        total = alpha + below
        for i in range(3):
            pixel[i] = (colour[i] * alpha + pixel[i] * below) / total
        pixel[3] = total

    def fill(self, shape, colour, opacity=1.0):
        """Paints the anti-aliased shape: each pixel by the share of its
        sub-samples that fall inside."""
        x0, y0, x1, y1 = shape.bounds()
        step = 1.0 / SUPERSAMPLE
        offsets = [(i + 0.5) * step for i in range(SUPERSAMPLE)]
        total = SUPERSAMPLE * SUPERSAMPLE
        for y in range(max(0, int(math.floor(y0))), min(self.height, int(math.ceil(y1)))):
            for x in range(max(0, int(math.floor(x0))), min(self.width, int(math.ceil(x1)))):
                hits = sum(1 for oy in offsets for ox in offsets
                           if shape.contains(x + ox, y + oy))
                if hits:
                    self.put(x, y, colour, opacity * hits / total)

    def rgb_rows(self, background):
        """Rows of opaque (r, g, b) byte triples, flattened over background."""
        rows = []
        for row in self.pixels:
            out = []
            for r, g, b, a in row:
                c = mix(background, (r, g, b), a)
                out.append(tuple(int(round(min(255.0, max(0.0, v)))) for v in c))
            rows.append(out)
        return rows

    def rgba_rows(self):
        rows = []
        for row in self.pixels:
            rows.append([tuple(int(round(min(255.0, max(0.0, v)))) for v in (r, g, b))
                         + (int(round(a * 255)),) for r, g, b, a in row])
        return rows


# ---------------------------------------------------------------------------
# Shapes: each answers contains(x, y) and bounds() in pixel coordinates
# (pixel (x, y) covers the square [x, x + 1) x [y, y + 1), y grows downwards)
# ---------------------------------------------------------------------------

class Polygon:
    """Filled polygon, even-odd rule."""

    def __init__(self, points):
        self.points = [(float(x), float(y)) for x, y in points]

    def bounds(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return min(xs), min(ys), max(xs), max(ys)

    def contains(self, x, y):
        inside = False
        pts = self.points
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y):
                if x < xi + (y - yi) * (xj - xi) / (yj - yi):
                    inside = not inside
            j = i
        return inside


class Stroke:
    """Union of round-capped segments of the given width: polylines drawn
    with a round pen. Overlapping segments are painted once, so joins do not
    darken."""

    def __init__(self, polylines, width):
        self.radius = width / 2.0
        self.segments = []
        for line in polylines:
            if len(line) == 1:
                line = [line[0], line[0]]
            for a, b in zip(line, line[1:]):
                self.segments.append((float(a[0]), float(a[1]), float(b[0]), float(b[1])))

    def bounds(self):
        r = self.radius
        xs = [s[0] for s in self.segments] + [s[2] for s in self.segments]
        ys = [s[1] for s in self.segments] + [s[3] for s in self.segments]
        return min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r

    def contains(self, x, y):
        r2 = self.radius * self.radius
        for ax, ay, bx, by in self.segments:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= r2:
                return True
        return False


class Disc:
    def __init__(self, cx, cy, radius):
        self.cx, self.cy, self.radius = cx, cy, radius

    def bounds(self):
        r = self.radius
        return self.cx - r, self.cy - r, self.cx + r, self.cy + r

    def contains(self, x, y):
        return (x - self.cx) ** 2 + (y - self.cy) ** 2 <= self.radius ** 2


def arc(cx, cy, rx, ry, start_deg, end_deg, steps=24):
    """Points along an elliptical arc; angles counter-clockwise from +x with
    y pointing up (the glyph convention below)."""
    points = []
    for i in range(steps + 1):
        a = math.radians(start_deg + (end_deg - start_deg) * i / steps)
        points.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return points


def dashes(a, b, dash, gap):
    """The segment a-b cut into dashes, as a list of two-point polylines."""
    length = math.hypot(b[0] - a[0], b[1] - a[1])
    out = []
    pos = 0.0
    while pos < length:
        end = min(length, pos + dash)
        out.append([mix(a, b, pos / length), mix(a, b, end / length)])
        pos = end + gap
    return out


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def bmp24_bytes(rows):
    """A 24-bit BMP file: bottom-up BGR rows, each padded to 4 bytes."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', header_size + len(pixels), 0, 0, header_size)
    return head + info + bytes(pixels)


def bmp8_bytes(rows):
    """An 8-bit BMP file with a colour table: bottom-up rows of palette indices,
    each padded to 4 bytes. The pixels must use at most 256 colours."""
    height, width = len(rows), len(rows[0])
    palette = sorted({tuple(int(c) for c in pixel) for row in rows for pixel in row})
    if len(palette) > 256:
        raise ValueError('more than 256 colours for an 8-bit picture')
    index = {colour: i for i, colour in enumerate(palette)}
    stride = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(index[tuple(int(c) for c in pixel)] for pixel in row)
        line += bytes(stride - len(line))
        pixels += line
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    header_size = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels),
                       2835, 2835, len(palette), 0)
    head = struct.pack('<2sIHHI', b'BM', header_size + len(pixels), 0, 0, header_size)
    return head + info + table + bytes(pixels)


def ico_image_bytes(rows):
    """One icon image: BITMAPINFOHEADER with doubled height, bottom-up BGRA
    colour rows, then the 1-bit AND mask (set where fully transparent)."""
    height, width = len(rows), len(rows[0])
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """An .ico file holding the given RGBA images (each a list of rows)."""
    blobs = [ico_image_bytes(rows) for rows in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, blobs):
        size = len(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


# ---------------------------------------------------------------------------
# Program icon: a shaded pyramid seen from a front corner, its edges drawn as
# a wire frame, with the apex marked as a selected vertex
# ---------------------------------------------------------------------------

ICON_SIZES = (16, 32, 48)
ICON_OUTLINE = (22, 42, 92)
ICON_LIT_FACE = (128, 186, 245)
ICON_SHADED_FACE = (46, 104, 196)
ICON_VERTEX = (250, 150, 30)
ICON_VERTEX_RIM = (150, 70, 10)

# Corners in a unit square; the apex and the front corner share a column so
# the front edge falls on a single pixel column at every size. The right
# corner mirrors the left one about that column.
PYRAMID_APEX = (0.47, 0.10)
PYRAMID_LEFT = (0.04, 0.72)
PYRAMID_FRONT = (0.47, 0.93)

# Per size: outline width, apex dot radius, whether each face shows the finer
# lines of a subdivided mesh.
ICON_STYLE = {
    16: (1.0, 1.5, False),
    32: (1.6, 3.0, True),
    48: (2.2, 4.4, True),
}


def icon_point(p, size):
    """A unit-square corner on its nearest pixel centre for this size."""
    return (math.floor(p[0] * size) + 0.5, math.floor(p[1] * size) + 0.5)


def draw_icon(size):
    line_width, dot_radius, mesh_lines = ICON_STYLE[size]
    apex, left, front = (icon_point(p, size) for p in (PYRAMID_APEX, PYRAMID_LEFT, PYRAMID_FRONT))
    right = (2 * apex[0] - left[0], left[1])
    thin = line_width * 0.5
    canvas = Canvas(size, size)
    canvas.fill(Polygon([apex, left, front]), ICON_LIT_FACE)
    canvas.fill(Polygon([apex, front, right]), ICON_SHADED_FACE)
    if mesh_lines:
        for a, b, c in ((apex, left, front), (apex, front, right)):
            ab, bc, ca = mix(a, b, 0.5), mix(b, c, 0.5), mix(c, a, 0.5)
            canvas.fill(Stroke([[ab, bc, ca, ab]], thin), ICON_OUTLINE, 0.6)
    canvas.fill(Stroke([[apex, left, front, right, apex], [apex, front]], line_width),
                ICON_OUTLINE)
    canvas.fill(Disc(apex[0], apex[1], dot_radius), ICON_VERTEX_RIM)
    canvas.fill(Disc(apex[0], apex[1], dot_radius - line_width * 0.6), ICON_VERTEX)
    return canvas


# ---------------------------------------------------------------------------
# About box banner: a wire-frame cube and the product title
# ---------------------------------------------------------------------------

ABOUT_SIZE = (163, 50)
ABOUT_BACKGROUND = (255, 255, 255)    # a white banner across the About box
ABOUT_TITLE = 'Kel Morvane'
ABOUT_TITLE_COLOUR = (32, 44, 72)
ABOUT_TITLE_LEFT = 52.0        # centre lines of the first and last strokes
ABOUT_TITLE_RIGHT = 157.0
ABOUT_TITLE_PEN = 2.0          # pixels

# The title's letters, drawn with a round pen. Units: cap height 10, x-height
# 7, baseline at y = 0, y pointing up. Each entry: advance width, polylines.
GLYPH_CAP = 10.0
GLYPH_GAP = 2.3
GLYPH_SPACE = 3.6
GLYPHS = {
    'K': (6.4, [[(0, 0), (0, 10)], [(6.2, 10), (0.3, 3.9)], [(2.4, 6.1), (6.4, 0)]]),
    'e': (6.8, [[(0.1, 3.6), (6.7, 3.6)] + arc(3.4, 3.5, 3.3, 3.5, 0, 318)]),
    'l': (0.0, [[(0, 0), (0, 10.6)]]),
    'M': (9.0, [[(0, 0), (0, 10), (4.5, 2.6), (9, 10), (9, 0)]]),
    'o': (7.0, [arc(3.5, 3.5, 3.5, 3.5, 0, 360, 32)]),
    'r': (4.4, [[(0, 0), (0, 7)], arc(3.4, 3.3, 3.4, 3.7, 180, 68)]),
    'v': (6.2, [[(0, 7), (3.1, 0), (6.2, 7)]]),
    'a': (6.4, [arc(3.1, 3.5, 3.1, 3.5, 0, 360, 32), [(6.4, 0), (6.4, 7)]]),
    'n': (5.8, [[(0, 0), (0, 7)], [(0, 4)] + arc(2.9, 4.1, 2.9, 2.9, 180, 0) + [(5.8, 0)]]),
}


def text_width(text):
    """Width in glyph units from the first letter's left stroke centre to
    the last letter's right one."""
    advances = [GLYPH_SPACE if ch == ' ' else GLYPHS[ch][0] for ch in text]
    return sum(advances) + GLYPH_GAP * (len(text) - 1)


def hinted(line, left, baseline, units_to_px):
    """Places a glyph polyline in pixels. Vertical strokes are moved to the
    nearest pixel boundary so that, drawn with a two-pixel pen, they cover
    whole pixels and stay sharp."""
    placed = [[left + gx * units_to_px, baseline - gy * units_to_px] for gx, gy in line]
    for i in range(len(line) - 1):
        if line[i][0] == line[i + 1][0]:
            for point in (placed[i], placed[i + 1]):
                point[0] = round(point[0])
    return [tuple(p) for p in placed]


def draw_text(canvas, text, left, baseline, units_to_px, pen_px, colour):
    """Left is where the first stroke's centre line starts."""
    x = left
    for ch in text:
        if ch == ' ':
            x += (GLYPH_SPACE + GLYPH_GAP) * units_to_px
            continue
        advance, lines = GLYPHS[ch]
        placed = [hinted(line, round(x), baseline, units_to_px) for line in lines]
        canvas.fill(Stroke(placed, pen_px), colour)
        x += (advance + GLYPH_GAP) * units_to_px


CUBE_EDGE = (30, 72, 150)
CUBE_HIDDEN_EDGE = (150, 172, 210)
CUBE_FACE_TINTS = (0.10, 0.16, 0.24)      # opacity of CUBE_EDGE per visible face
CUBE_VERTEX = (245, 140, 30)
CUBE_CENTRE = (24.0, 25.0)
CUBE_HALF_EDGE = 11.5                      # pixels
CUBE_YAW_DEG = 35.0
CUBE_PITCH_DEG = 24.0
CUBE_CORNERS = [(x, y, z) for x in (-1, 1) for y in (-1, 1) for z in (-1, 1)]
# Faces as (outward normal, corner indices in order round the face).
CUBE_FACES = [
    ((1, 0, 0), (4, 5, 7, 6)), ((-1, 0, 0), (0, 2, 3, 1)),
    ((0, 1, 0), (2, 6, 7, 3)), ((0, -1, 0), (0, 1, 5, 4)),
    ((0, 0, 1), (1, 3, 7, 5)), ((0, 0, -1), (0, 4, 6, 2)),
]


def rotate(p):
    """Turns the cube about the vertical axis, then tips its top towards the
    viewer, who looks down the -z axis."""
    yaw, pitch = math.radians(CUBE_YAW_DEG), math.radians(CUBE_PITCH_DEG)
    x, y, z = p
    x, z = x * math.cos(yaw) + z * math.sin(yaw), -x * math.sin(yaw) + z * math.cos(yaw)
    y, z = y * math.cos(pitch) - z * math.sin(pitch), y * math.sin(pitch) + z * math.cos(pitch)
    return x, y, z


def draw_cube(canvas):
    cx, cy = CUBE_CENTRE
    screen = [(cx + q[0] * CUBE_HALF_EDGE, cy - q[1] * CUBE_HALF_EDGE)
              for q in (rotate(p) for p in CUBE_CORNERS)]
    facing = [rotate(normal)[2] > 0 for normal, _ in CUBE_FACES]
    visible_faces = [face for face, front in zip(CUBE_FACES, facing) if front]
    # Lightest face first: light comes from above.
    visible_faces.sort(key=lambda f: -rotate(f[0])[1])
    for (_, corners), tint in zip(visible_faces, CUBE_FACE_TINTS):
        canvas.fill(Polygon([screen[i] for i in corners]), CUBE_EDGE, tint)

    edges = {}
    for (_, corners), front in zip(CUBE_FACES, facing):
        for a, b in zip(corners, corners[1:] + corners[:1]):
            key = (min(a, b), max(a, b))
            edges[key] = edges.get(key, False) or front
    hidden = [key for key, seen in edges.items() if not seen]
    shown = [key for key, seen in edges.items() if seen]
    hidden_lines = []
    for a, b in hidden:
        hidden_lines += dashes(screen[a], screen[b], 2.2, 1.6)
    canvas.fill(Stroke(hidden_lines, 1.0), CUBE_HIDDEN_EDGE)
    canvas.fill(Stroke([[screen[a], screen[b]] for a, b in shown], 1.5), CUBE_EDGE)
    for i, p in enumerate(screen):
        if any(i in key for key in shown):
            canvas.fill(Disc(p[0], p[1], 2.1), CUBE_EDGE)
            canvas.fill(Disc(p[0], p[1], 1.3), CUBE_VERTEX)


def draw_about():
    width, height = ABOUT_SIZE
    canvas = Canvas(width, height, ABOUT_BACKGROUND, 1.0)
    draw_cube(canvas)
    # The largest whole-pixel cap height that fits, the title centred in its
    # space.
    units = text_width(ABOUT_TITLE)
    room = ABOUT_TITLE_RIGHT - ABOUT_TITLE_LEFT
    cap_px = math.floor(room / units * GLYPH_CAP)
    units_to_px = cap_px / GLYPH_CAP
    left = ABOUT_TITLE_LEFT + (room - units * units_to_px) / 2
    baseline = (height + cap_px) // 2
    draw_text(canvas, ABOUT_TITLE, left, baseline, units_to_px, ABOUT_TITLE_PEN,
              ABOUT_TITLE_COLOUR)
    return canvas


# ---------------------------------------------------------------------------
# Bevelled glyphs from pixel masks (arrow cells and simple tool bar glyphs)
#
# A mask is a square list of rows of booleans. Its outermost ring of pixels
# is the outline; inside, a diagonal gradient with light from the top left:
# pixels whose upper-left neighbour is the outline are lit, those whose
# lower-right neighbour is the outline are shaded. Edges are hard, pixel by
# pixel, so nothing blends into the cell's transparent colour.
# ---------------------------------------------------------------------------

def polygon_mask(points, size):
    """Pixels whose centre lies inside the polygon."""
    shape = Polygon(points)
    return [[shape.contains(x + 0.5, y + 0.5) for x in range(size)] for y in range(size)]


def turn_mask(mask, direction):
    """The mask of a glyph pointing up, turned to point the given way."""
    n = len(mask)
    if direction == 'up':
        return [row[:] for row in mask]
    if direction == 'down':
        return [mask[n - 1 - y][:] for y in range(n)]
    if direction == 'left':
        return [[mask[x][n - 1 - y] for x in range(n)] for y in range(n)]
    if direction == 'right':
        return [[mask[n - 1 - x][y] for x in range(n)] for y in range(n)]
    raise ValueError(direction)


def shift_mask(mask, dx, dy):
    n = len(mask)
    return [[0 <= x - dx < n and 0 <= y - dy < n and mask[y - dy][x - dx]
             for x in range(n)] for y in range(n)]


def bevelled(mask, palette, bevel=(0.55, 0.22)):
    """Colours for the mask's pixels (None outside). palette: outline, top,
    bottom, light, shade. bevel: strength of the light and shade one and two
    pixels in from the outline; negative values swap them (a sunken look)."""
    n = len(mask)

    def inside(x, y):
        return 0 <= x < n and 0 <= y < n and mask[y][x]

    def on_outline(x, y):
        return inside(x, y) and not all(inside(x + i, y + j)
                                        for i in (-1, 0, 1) for j in (-1, 0, 1))

    def depth(x, y, step):
        """k when the outline (or the outside) is k diagonal steps away in
        direction step, for k up to the bevel's width; else 0."""
        for k in range(1, len(bevel) + 1):
            px, py = x + step * k, y + step * k
            if not inside(px, py) or on_outline(px, py):
                return k
        return 0

    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            if not inside(x, y):
                row.append(None)
                continue
            if on_outline(x, y):
                row.append(palette['outline'])
                continue
            colour = mix(palette['top'], palette['bottom'], (x + y) / (2.0 * (n - 1)))
            lit, shaded = depth(x, y, -1), depth(x, y, 1)
            strength = (bevel[lit - 1] if lit else 0.0) - (bevel[shaded - 1] if shaded else 0.0)
            if strength > 0:
                colour = mix(colour, palette['light'], strength)
            elif strength < 0:
                colour = mix(colour, palette['shade'], -strength)
            row.append(colour)
        rows.append(row)
    return rows


def paint_cell(canvas, colours, left, top, transparent):
    """Copies a cell's colours (None where the cell stays transparent). A
    colour that would come out as the transparent one is a mistake in a
    palette: the glyph would get a hole."""
    for y, row in enumerate(colours):
        for x, colour in enumerate(row):
            if colour is None:
                continue
            if tuple(int(round(c)) for c in colour) == tuple(transparent):
                raise ValueError('glyph colour equals the transparent colour')
            canvas.put(left + x, top + y, colour)


def arrow_points(size, apex, head, shaft, tail, chamfer):
    """Outline of an upward arrow centred on the cell: 45-degree head sides
    from the apex, a shaft of half-width shaft ending at tail, its two tail
    corners cut by chamfer."""
    c = size / 2.0
    base = apex + head
    return [(c, apex), (c + head, base), (c + shaft, base),
            (c + shaft, tail - chamfer), (c + shaft - chamfer, tail),
            (c - shaft + chamfer, tail), (c - shaft, tail - chamfer),
            (c - shaft, base), (c - head, base)]


# ---------------------------------------------------------------------------
# Arrow cells: black is transparent to the code that draws them, so every
# colour here keeps well clear of it (the outline is a dark steel blue).
# ---------------------------------------------------------------------------

ARROW_CELL = 32
ARROW_DIRECTIONS = ('left', 'right', 'up', 'down')
ARROW_TRANSPARENT = (0, 0, 0)
# Apex y, head height, shaft half-width, tail y, corner cut. The apex sits
# on a half pixel so the 45-degree sides step cleanly, one pixel a row.
ARROW_GEOMETRY = (2.5, 13.5, 6.0, 29.0, 1.5)
ARROW_PALETTE = {
    'outline': (38, 54, 88),
    'top': (118, 178, 240),
    'bottom': (34, 94, 180),
    'light': (232, 244, 255),
    'shade': (24, 62, 128),
}
ARROW_PRESSED_PALETTE = {
    'outline': (38, 54, 88),
    'top': (72, 128, 200),
    'bottom': (26, 72, 146),
    'light': (150, 190, 235),
    'shade': (22, 50, 104),
}
ARROW_PRESSED_BEVEL = (-0.45, -0.15)


def draw_arrows():
    up = polygon_mask(arrow_points(ARROW_CELL, *ARROW_GEOMETRY), ARROW_CELL)
    canvas = Canvas(ARROW_CELL * 2 * len(ARROW_DIRECTIONS), ARROW_CELL, ARROW_TRANSPARENT, 1.0)
    for i, direction in enumerate(ARROW_DIRECTIONS):
        mask = turn_mask(up, direction)
        paint_cell(canvas, bevelled(mask, ARROW_PALETTE), i * ARROW_CELL, 0, ARROW_TRANSPARENT)
        # Pressed: one pixel down and right, darker, light and shade swapped.
        pressed = bevelled(shift_mask(mask, 1, 1), ARROW_PRESSED_PALETTE, ARROW_PRESSED_BEVEL)
        paint_cell(canvas, pressed, (i + len(ARROW_DIRECTIONS)) * ARROW_CELL, 0,
                   ARROW_TRANSPARENT)
    return canvas


# ---------------------------------------------------------------------------
# Tool bar glyphs, 16x16, pixel by pixel. A tool bar that loads a strip from
# the resources maps the classic colours of its colour table to the system's:
# light grey RGB(192, 192, 192) becomes the button face, which the tool bar
# then leaves transparent. So the strip is written with a colour table (8-bit),
# grey is the background of every cell, and no glyph may use it.
# ---------------------------------------------------------------------------

TOOL_CELL = 16
TOOL_TRANSPARENT = (192, 192, 192)

# The pencil lies along the diagonal from its point at the bottom left to its
# rubber at the top right. Pixels are placed by two diagonal coordinates:
# along = x - y grows towards the rubber, across = x + y grows from the lit
# upper-left side of the pencil to its shaded lower-right side.
PENCIL_ACROSS = (12, 17)          # outline to outline
PENCIL_POINT = -13                # along, at the tip of the lead
PENCIL_LEAD_END = -10
PENCIL_WOOD_END = -5              # where the sharpened cone reaches full width
PENCIL_PAINT_END = 4
PENCIL_BAND_END = 6
PENCIL_RUBBER_END = 10
PENCIL_OUTLINE = (40, 40, 48)
PENCIL_LEAD = (70, 70, 82)
PENCIL_WOOD_OUTLINE = (150, 102, 56)   # the bare cone has no dark paint edge
# Per part: colours from the lit side to the shaded side.
PENCIL_WOOD = ((246, 216, 166), (246, 216, 166), (212, 168, 110), (212, 168, 110))
PENCIL_PAINT = ((255, 232, 120), (248, 196, 40), (248, 196, 40), (204, 136, 20))
PENCIL_BAND = ((236, 236, 242), (208, 208, 218), (170, 170, 186), (132, 132, 150))
PENCIL_RUBBER = ((250, 168, 176), (240, 136, 148), (240, 136, 148), (200, 90, 110))


def pencil_mask():
    low, high = PENCIL_ACROSS
    middle = (low + high) / 2.0
    half = (high - low) / 2.0
    cone = (half - 0.5) / (PENCIL_WOOD_END - PENCIL_POINT)

    def inside(x, y):
        along, across = x - y, x + y
        if not (PENCIL_POINT <= along <= PENCIL_RUBBER_END and low <= across <= high):
            return False
        return abs(across - middle) <= 0.5 + (along - PENCIL_POINT) * cone

    return [[inside(x, y) for x in range(TOOL_CELL)] for y in range(TOOL_CELL)]


def pencil():
    mask = pencil_mask()
    low = PENCIL_ACROSS[0]

    def inside(x, y):
        return 0 <= x < TOOL_CELL and 0 <= y < TOOL_CELL and mask[y][x]

    cells = [[None] * TOOL_CELL for _ in range(TOOL_CELL)]
    for y in range(TOOL_CELL):
        for x in range(TOOL_CELL):
            if not inside(x, y):
                continue
            along, shade = x - y, min(3, max(0, x + y - low - 1))
            if along <= PENCIL_LEAD_END:
                colour = PENCIL_LEAD
            elif not all(inside(x + i, y + j) for i, j in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                colour = PENCIL_WOOD_OUTLINE if along <= PENCIL_WOOD_END else PENCIL_OUTLINE
            elif along <= PENCIL_WOOD_END:
                colour = PENCIL_WOOD[shade]
            elif along <= PENCIL_PAINT_END:
                colour = PENCIL_PAINT[shade]
            elif along <= PENCIL_BAND_END:
                colour = PENCIL_BAND[shade]
            else:
                colour = PENCIL_RUBBER[shade]
            cells[y][x] = colour
    return cells


PLUS_PALETTE = {
    'outline': (20, 96, 32),
    'top': (120, 214, 110),
    'bottom': (40, 156, 52),
    'light': (214, 250, 200),
    'shade': (26, 112, 36),
}
MINUS_PALETTE = {
    'outline': (128, 22, 20),
    'top': (250, 120, 100),
    'bottom': (206, 44, 34),
    'light': (255, 212, 200),
    'shade': (150, 28, 22),
}
TOOL_ARROW_PALETTE = {
    'outline': (22, 48, 108),
    'top': (104, 164, 236),
    'bottom': (34, 92, 184),
    'light': (214, 234, 255),
    'shade': (26, 66, 140),
}
# Apex y, head height, shaft half-width, tail y, corner cut.
TOOL_ARROW_GEOMETRY = (1.5, 6.5, 2.0, 14.0, 0.0)
TOOL_BEVEL = (0.5,)

# A triangle of the mesh: a face in the program icon's blues, its three corners marked as
# vertices in the icon's orange, each lit at its top-left pixel and shaded at its
# bottom-right one like the bevel around it.
TRIANGLE_PALETTE = {
    'outline': ICON_OUTLINE,
    'top': ICON_LIT_FACE,
    'bottom': ICON_SHADED_FACE,
    'light': (224, 240, 255),
    'shade': (30, 76, 160),
}
TRIANGLE_CORNERS = ((8, 0.5), (15.5, 14.5), (0.5, 14.5))
TRIANGLE_VERTICES = ((7, 1), (13, 13), (1, 13))   # top-left pixel of each 2x2 mark
TRIANGLE_VERTEX = ICON_VERTEX
TRIANGLE_VERTEX_LIGHT = (255, 206, 128)
TRIANGLE_VERTEX_SHADE = (204, 106, 16)


def rect_mask(rects, size):
    """Pixels inside any of the rectangles, given as inclusive x0, y0, x1, y1."""
    return [[any(x0 <= x <= x1 and y0 <= y <= y1 for x0, y0, x1, y1 in rects)
             for x in range(size)] for y in range(size)]


def triangle():
    """A mesh triangle with its three vertices marked."""
    mask = polygon_mask(TRIANGLE_CORNERS, TOOL_CELL)
    cells = bevelled(mask, TRIANGLE_PALETTE, TOOL_BEVEL)
    for x, y in TRIANGLE_VERTICES:
        cells[y][x] = TRIANGLE_VERTEX_LIGHT
        cells[y][x + 1] = TRIANGLE_VERTEX
        cells[y + 1][x] = TRIANGLE_VERTEX
        cells[y + 1][x + 1] = TRIANGLE_VERTEX_SHADE
    return cells


# A ball lit from the upper left, in five steps from the icon's light face to its
# outline: the shaded look of the preview.
SHADED_STEPS = ((214, 234, 255), ICON_LIT_FACE, (86, 146, 222), ICON_SHADED_FACE, (30, 70, 150))
SHADED_LIGHT = (-0.5, -0.6, 0.62)


def shaded_ball():
    cells = [[None] * TOOL_CELL for _ in range(TOOL_CELL)]
    centre, radius = 7.5, 7.0
    length = math.sqrt(sum(c * c for c in SHADED_LIGHT))
    light = [c / length for c in SHADED_LIGHT]
    for y in range(TOOL_CELL):
        for x in range(TOOL_CELL):
            dx, dy = (x - centre) / radius, (y - centre) / radius
            if dx * dx + dy * dy > 1:
                continue
            dz = math.sqrt(1 - dx * dx - dy * dy)
            lit = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            if dx * dx + dy * dy > 0.8:
                cells[y][x] = ICON_OUTLINE
            else:
                cells[y][x] = SHADED_STEPS[min(4, int((1 - lit) * 5))]
    return cells


# A square of two triangles drawn as its edges over a pale face: the edges look.
EDGES_FACE = (214, 234, 255)
EDGES_LINE = ICON_OUTLINE
EDGES_CORNERS = ((2, 2), (13, 2), (13, 13), (2, 13))


def edges_square():
    cells = [[None] * TOOL_CELL for _ in range(TOOL_CELL)]
    (left, top), (right, _), (_, bottom) = EDGES_CORNERS[0], EDGES_CORNERS[1], EDGES_CORNERS[2]
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            on_side = x in (left, right) or y in (top, bottom)
            on_diagonal = x - left == y - top
            cells[y][x] = EDGES_LINE if on_side or on_diagonal else EDGES_FACE
    for x, y in EDGES_CORNERS:
        cells[y][x] = ICON_VERTEX
    return cells


def draw_toolbar():
    bars = rect_mask([(2, 6, 13, 9)], TOOL_CELL)
    cross = rect_mask([(2, 6, 13, 9), (6, 2, 9, 13)], TOOL_CELL)
    up = polygon_mask(arrow_points(TOOL_CELL, *TOOL_ARROW_GEOMETRY), TOOL_CELL)
    glyphs = [
        pencil(),
        bevelled(cross, PLUS_PALETTE, TOOL_BEVEL),
        bevelled(bars, MINUS_PALETTE, TOOL_BEVEL),
        triangle(),
    ] + [bevelled(turn_mask(up, d), TOOL_ARROW_PALETTE, TOOL_BEVEL)
         for d in ('left', 'right', 'up', 'down')] + [shaded_ball(), edges_square()]
    canvas = Canvas(TOOL_CELL * len(glyphs), TOOL_CELL, TOOL_TRANSPARENT, 1.0)
    for i, glyph in enumerate(glyphs):
        paint_cell(canvas, glyph, i * TOOL_CELL, 0, TOOL_TRANSPARENT)
    return canvas


# ---------------------------------------------------------------------------

def main():
    write('kel_morvane.ico', ico_bytes([draw_icon(size).rgba_rows() for size in ICON_SIZES]))
    write('about.bmp', bmp24_bytes(draw_about().rgb_rows(ABOUT_BACKGROUND)))
    write('arrows.bmp', bmp24_bytes(draw_arrows().rgb_rows(ARROW_TRANSPARENT)))
    write('toolbar.bmp', bmp8_bytes(draw_toolbar().rgb_rows(TOOL_TRANSPARENT)))


if __name__ == '__main__':
    main()
