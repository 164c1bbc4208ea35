#!/usr/bin/env python3
"""Draws the program's pictures: background, icon, toolbar strips and form photos.

Run from anywhere: python3 resources/draw_images.py. Needs ImageMagick 6 as
/usr/bin/convert and the WenQuanYi Micro Hei font; the outputs are committed so
that the build itself needs no image tools. The same inputs give the same bytes.
"""

import struct
import subprocess
import sys
from pathlib import Path

CONVERT = "/usr/bin/convert"
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
OUT = Path(__file__).resolve().parent

# Small pictures are drawn this many times larger and averaged down, which gives
# clean edges on the pixel grid of a 16-unit design.
SUPERSAMPLE = 4


def convert(args, stdin=None):
    result = subprocess.run([CONVERT, *args], input=stdin, stdout=subprocess.PIPE, check=True)
    return result.stdout


def rgba_pixels(args, width, height):
    """Runs convert and returns the picture as 8-bit RGBA rows, top row first."""
    data = convert([*args, "-depth", "8", "rgba:-"])
    if len(data) != width * height * 4:
        sys.exit(f"convert gave {len(data)} bytes for a {width}x{height} picture")
    return data


class Canvas:
    """A convert command that paints layers onto a transparent or given ground.

    Shapes are given in design units; scale (one number, or x and y) maps them
    to pixels. Gradient layers fill a shape with a gradient placed in design units.
    """

    def __init__(self, width, height, scale=1.0, ground="xc:none"):
        self.width, self.height = width, height
        self.sx, self.sy = scale if isinstance(scale, tuple) else (scale, scale)
        self.args = ["-size", f"{width}x{height}", ground]

    def _affine(self, mvg):
        return f"affine {self.sx},0,0,{self.sy},0,0 stroke-linejoin round {mvg}"

    def _mask(self, shape):
        return ["(", "-size", f"{self.width}x{self.height}", "xc:black",
                "-draw", self._affine(f"fill white stroke none {shape}"), ")"]

    def _ground(self, *defines_and_source):
        return ["-size", f"{self.width}x{self.height}", *defines_and_source]

    def _fill_with(self, ground, shape, opacity, blur=0):
        mask = self._mask(shape)
        if blur:
            mask = [*mask[:-1], "-blur", f"0x{blur * (self.sx + self.sy) / 2}", ")"]
        self.args += ["(", *ground, *mask, "-alpha", "off", "-compose", "CopyOpacity", "-composite"]
        if opacity < 1.0:
            self.args += ["-channel", "A", "-evaluate", "multiply", str(opacity), "+channel"]
        self.args += [")", "-compose", "Over", "-composite"]
        return self

    def draw(self, mvg):
        self.args += ["-draw", self._affine(mvg)]
        return self

    def gradient(self, shape, start, end, colour_from, colour_to, opacity=1.0):
        x0, y0 = start
        x1, y1 = end
        vector = f"{x0 * self.sx:.2f},{y0 * self.sy:.2f},{x1 * self.sx:.2f},{y1 * self.sy:.2f}"
        return self._fill_with(self._ground("-define", f"gradient:vector={vector}",
                                            f"gradient:{colour_from}-{colour_to}"), shape, opacity)

    def radial(self, shape, centre, radii, colour_from, colour_to, opacity=1.0):
        return self._fill_with(self._ground(
            "-define", f"gradient:center={centre[0] * self.sx:.2f},{centre[1] * self.sy:.2f}",
            "-define", f"gradient:radii={radii[0] * self.sx:.2f},{radii[1] * self.sy:.2f}",
            f"radial-gradient:{colour_from}-{colour_to}"), shape, opacity)

    def soft(self, shape, colour, blur, offset=(0, 0), opacity=1.0):
        """A blurred, plain-coloured copy of shape (a shadow or a glow); blur in design units."""
        moved = f"translate {offset[0]},{offset[1]} {shape}"
        return self._fill_with(self._ground(f"xc:{colour}"), moved, opacity, blur)

    def grain(self, shape, strength, seed):
        """Fine, fixed-seed noise over shape, like paper or cloth."""
        self.args += ["(", *self._ground("xc:gray50"), "-seed", str(seed), "-attenuate", str(strength),
                      "+noise", "Gaussian", *self._mask(shape), "-alpha", "off", "-compose", "CopyOpacity",
                      "-composite", ")", "-compose", "SoftLight", "-composite"]
        return self

    def rgba(self, size):
        """The picture averaged down to size x size, as RGBA bytes."""
        return rgba_pixels([*self.args, "-filter", "box", "-resize", f"{size}x{size}!"], size, size)


def render_icon(mvg, size=16, design=16):
    """Renders MVG drawn in a design x design space as a size x size RGBA picture."""
    big = size * SUPERSAMPLE
    return Canvas(big, big, big / design).draw(mvg).rgba(size)


def dib_rows_bgra(rgba, width, height):
    """RGBA rows top-down -> BGRA rows bottom-up, as a DIB stores them."""
    stride = width * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(rgba[y * stride:(y + 1) * stride])
        row[0::4], row[2::4] = row[2::4], row[0::4]
        rows.append(bytes(row))
    return b"".join(rows)


def bitmap_info_header(width, height):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, width * height * 4, 2835, 2835, 0, 0)


def bmp32(rgba, width, height):
    """A 32-bit BI_RGB bitmap whose fourth byte is straight (not premultiplied) alpha."""
    pixels = dib_rows_bgra(rgba, width, height)
    header = bitmap_info_header(width, height)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def and_mask(rgba, width, height):
    """1-bit mask, bottom-up, set where the picture is fully transparent."""
    stride = (width + 31) // 32 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if rgba[(y * width + x) * 4 + 3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
    return b"".join(rows)


def ico(images):
    """An .ico of 32-bit DIB entries; images are (size, rgba) pairs, largest first."""
    entries = []
    blobs = []
    offset = 6 + 16 * len(images)
    for size, rgba in images:
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        blob = header + dib_rows_bgra(rgba, size, size) + and_mask(rgba, size, size)
        dim = size if size < 256 else 0
        entries.append(struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def strip(pictures, size=16):
    """Puts size x size RGBA pictures side by side into one RGBA strip."""
    stride = size * 4
    rows = []
    for y in range(size):
        rows.extend(p[y * stride:(y + 1) * stride] for p in pictures)
    return b"".join(rows), size * len(pictures), size


def write(name, data):
    (OUT / name).write_bytes(data)
    print(f"{name}: {len(data)} bytes")


def jpeg_near(args, target, chroma="2x2"):
    """Encodes the picture built by args as the JPEG whose size is nearest target.

    chroma is the colour subsampling: 2x2 (4:2:0) or 1x1 (none, for small text).
    """
    raw = convert([*args, "-depth", "8", "-strip", "ppm:-"])
    best, best_quality = None, None
    for quality in range(50, 101):
        data = convert(["ppm:-", "-strip", "-sampling-factor", f"{chroma},1x1,1x1",
                        "-quality", str(quality), "jpeg:-"], stdin=raw)
        if best is None or abs(len(data) - target) < abs(len(best) - target):
            best, best_quality = data, quality
        if len(data) > target:
            break
    print(f"  JPEG quality {best_quality}")
    return best


# ---------------------------------------------------------------------------
# Toolbar pictures, 16 x 16 design units, pixel edges on whole numbers.

SHEET = ("fill '#ffffff' stroke '#6d7f93' stroke-width 1 "
         "path 'M 2.5,0.5 L 9.5,0.5 L 13.5,4.5 L 13.5,15.5 L 2.5,15.5 Z' "
         "fill '#dbe4ee' path 'M 9.5,0.5 L 9.5,4.5 L 13.5,4.5 Z' ")


def person(x, y, scale=1.0, body="#3f86d6", body_line="#23589a"):
    """A head-and-shoulders figure whose head centre is at x, y."""
    s = scale
    return (f"push graphic-context translate {x},{y} scale {s},{s} "
            f"fill '{body}' stroke '{body_line}' stroke-width {1 / s} "
            "path 'M -4.5,9.5 C -4.5,5.3 -2.6,3.8 0,3.8 C 2.6,3.8 4.5,5.3 4.5,9.5 Z' "
            f"fill '#f7cfa6' stroke '#b47a4c' circle 0,0 2.6,0 "
            "pop graphic-context ")


def plus_badge(cx, cy):
    return (f"stroke '#ffffff' stroke-width 4 stroke-linecap square "
            f"line {cx - 3},{cy} {cx + 3},{cy} line {cx},{cy - 3} {cx},{cy + 3} "
            f"stroke '#23963c' stroke-width 2 stroke-linecap butt "
            f"line {cx - 3.5},{cy} {cx + 3.5},{cy} line {cx},{cy - 3.5} {cx},{cy + 3.5} ")


def spreadsheet(x0):
    """A small green-headed worksheet, 9 units wide, starting at x0."""
    x1 = x0 + 9
    return (f"fill '#ffffff' stroke '#3d7d4f' stroke-width 1 rectangle {x0 + 0.5},1.5 {x1 - 0.5},14.5 "
            f"fill '#4caf63' stroke none rectangle {x0 + 1},2 {x1 - 1},4 "
            f"stroke '#9fc9aa' stroke-width 1 "
            f"line {x0 + 1},6.5 {x1 - 1},6.5 line {x0 + 1},9.5 {x1 - 1},9.5 line {x0 + 1},12.5 {x1 - 1},12.5 "
            f"line {x0 + 4.5},4 {x0 + 4.5},14 ")


def arrow_right(x0, x1, cy, fill, line):
    head = x1 - 4
    return (f"fill '{fill}' stroke '{line}' stroke-width 1 "
            f"path 'M {x0},{cy - 1.5} L {head},{cy - 1.5} L {head},{cy - 4} L {x1},{cy} "
            f"L {head},{cy + 4} L {head},{cy + 1.5} L {x0},{cy + 1.5} Z' ")


BROOM = ("push graphic-context translate 8,8 rotate 35 translate -8,-8 "
         "stroke '#7a4b22' stroke-width 1 fill '#b07a43' rectangle 7,-1.5 9,7.5 "
         "fill '#d7413c' stroke '#8e2420' rectangle 5,7.5 11,9.5 "
         "fill '#f1c24e' stroke '#a77a1c' path 'M 5,9.5 L 11,9.5 L 13.5,16 L 2.5,16 Z' "
         "stroke '#c89a2a' line 6.8,10.5 5.5,15.2 line 8,10.5 8,15.2 line 9.2,10.5 10.5,15.2 "
         "pop graphic-context "
         "fill '#ffd84a' stroke none "
         "path 'M 13,1 L 13.6,2.6 L 15.2,3.2 L 13.6,3.8 L 13,5.4 L 12.4,3.8 L 10.8,3.2 L 12.4,2.6 Z' ")

UNDO = ("fill none stroke '#1f6fb5' stroke-width 4.2 stroke-linecap round "
        "path 'M 13.2,13 C 13.6,7.5 10.5,5.6 6.5,5.8' "
        "stroke '#4aa3ef' stroke-width 2.2 "
        "path 'M 13.2,13 C 13.6,7.5 10.5,5.6 6.5,5.8' "
        "fill '#4aa3ef' stroke '#1f6fb5' stroke-width 1 stroke-linecap butt "
        "path 'M 7.2,1.3 L 1.3,6 L 7.2,10.6 Z' ")

HOME = ("fill '#f4efe4' stroke '#8a7a62' stroke-width 1 rectangle 3.5,7.5 12.5,14.5 "
        "fill '#9b6a3c' stroke '#6a4525' rectangle 6.5,9.5 9.5,14.5 "
        "fill '#d9483b' stroke '#8f261d' stroke-width 1 "
        "path 'M 0.8,8.3 L 8,1.4 L 15.2,8.3 L 13.6,9.4 L 8,4 L 2.4,9.4 Z' "
        "fill '#7fb8e8' stroke '#3f6f9a' rectangle 10.5,3.5 12.5,5.5 ")


def toolbar_pictures():
    """The 26 pictures of the main toolbar strip, by index."""
    p = [None] * 26
    # 0 new sheet
    p[0] = SHEET + ("stroke '#b5c3d2' line 4,7.5 11,7.5 line 4,9.5 11,9.5 line 4,11.5 9,11.5 "
                    "fill '#ffd23c' stroke '#c08a10' "
                    "path 'M 4,0.5 L 5,3 L 7.5,4 L 5,5 L 4,7.5 L 3,5 L 0.5,4 L 3,3 Z' ")
    # 1 open folder
    p[1] = ("fill '#e2a93a' stroke '#a36d14' stroke-width 1 "
            "path 'M 0.5,3.5 L 5.5,3.5 L 7,5 L 13.5,5 L 13.5,13.5 L 0.5,13.5 Z' "
            "fill '#ffffff' stroke '#a0aab5' rectangle 2.5,6.5 11.5,12 "
            "fill '#f8cf62' stroke '#a36d14' path 'M 0.5,13.5 L 3,7.5 L 15.5,7.5 L 13.5,13.5 Z' ")
    # 2 add student
    p[2] = person(6, 4.5) + plus_badge(12, 12)
    # 3 deleted students (bin)
    p[3] = ("fill '#9fb3c8' stroke '#4f6479' stroke-width 1 "
            "path 'M 3.5,4.5 L 12.5,4.5 L 11.5,15.5 L 4.5,15.5 Z' "
            "stroke '#e9f0f7' line 6.5,6.5 6.5,13.5 line 9.5,6.5 9.5,13.5 "
            "fill '#b9cbdc' stroke '#4f6479' rectangle 1.5,2.5 14.5,4.5 "
            "fill none rectangle 5.5,0.5 10.5,2.5 ")
    # 4 save
    p[4] = ("fill '#3a78c9' stroke '#1e4f8f' stroke-width 1 "
            "path 'M 1.5,1.5 L 12.5,1.5 L 14.5,3.5 L 14.5,14.5 L 1.5,14.5 Z' "
            "fill '#ffffff' stroke none rectangle 4,2 12,7 "
            "fill '#1e4f8f' rectangle 9,3 11,6 "
            "fill '#dfe8f3' stroke '#1e4f8f' rectangle 3.5,9.5 12.5,14.5 "
            "stroke '#9fb3c8' line 5,11.5 11,11.5 ")
    # 5 whole class (list)
    rows = "".join(f"fill '#3f86d6' stroke none rectangle 3,{y} 5,{y + 2} "
                   f"stroke '#8796a8' stroke-width 1 line 6.5,{y + 1} 12.5,{y + 1} "
                   for y in (3, 6, 9, 12))
    p[5] = ("fill '#ffffff' stroke '#56708e' stroke-width 1 roundrectangle 1.5,1.5 14.5,14.5 1.5,1.5 "
            + rows)
    # 6 print
    p[6] = ("fill '#ffffff' stroke '#8796a8' stroke-width 1 rectangle 4.5,0.5 11.5,5.5 "
            "fill '#c9d3de' stroke '#56667a' roundrectangle 0.5,5.5 15.5,12.5 1,1 "
            "fill '#ffffff' stroke '#8796a8' rectangle 3.5,9.5 12.5,15.5 "
            "stroke '#b5c3d2' line 5,12.5 11,12.5 "
            "fill '#4caf63' stroke none rectangle 12,7 14,8 ")
    # 7 batch export: arrow leaving a worksheet
    p[7] = spreadsheet(0) + arrow_right(6, 15.5, 8, "#f29a2e", "#a85e0c")
    # 8 system initialise (broom)
    p[8] = BROOM
    # 9 undo
    p[9] = UNDO
    # 10 settings (gear)
    teeth = "".join(f"push graphic-context translate 8,8 rotate {a} "
                    "rectangle -1.6,-7.3 1.6,-4 pop graphic-context " for a in range(0, 360, 45))
    p[10] = ("fill '#8a97a6' stroke '#4e5b6a' stroke-width 1 " + teeth +
             "circle 8,8 8,2.6 fill '#8a97a6' stroke none circle 8,8 8,3.2 "
             "fill '#ffffff' stroke '#4e5b6a' circle 8,8 8,5.8 ")
    # 11 edit (pencil)
    p[11] = ("push graphic-context translate 8,8 rotate 45 translate -8,-8 "
             "stroke-width 1 fill '#f09ab0' stroke '#a9546a' rectangle 6,-1.5 10,1.5 "
             "fill '#c5ccd4' stroke '#6c7682' rectangle 6,1.5 10,3 "
             "fill '#f6b93b' stroke '#a8700f' rectangle 6,3 10,11.5 "
             "stroke '#fbd98a' line 7.2,3.8 7.2,11 "
             "fill '#f4dcb0' stroke '#a8700f' path 'M 6,11.5 L 10,11.5 L 8,16.5 Z' "
             "fill '#3b3b3b' stroke none path 'M 7.3,14.8 L 8.7,14.8 L 8,16.5 Z' "
             "pop graphic-context ")
    # 12 copy
    p[12] = ("fill '#e6ecf3' stroke '#6d7f93' stroke-width 1 rectangle 1.5,0.5 9.5,10.5 "
             "fill '#ffffff' rectangle 5.5,4.5 14.5,15.5 "
             "stroke '#b5c3d2' line 7,7.5 13,7.5 line 7,9.5 13,9.5 line 7,11.5 13,11.5 line 7,13.5 11,13.5 ")
    # 13 calendar
    cells = "".join(f"rectangle {x},{y} {x + 2},{y + 1} " for y in (7, 10, 13) for x in (3, 6, 9, 12))
    p[13] = ("fill '#ffffff' stroke '#6d7f93' stroke-width 1 rectangle 1.5,2.5 14.5,15.5 "
             "fill '#e0473c' stroke '#9c2a22' rectangle 1.5,2.5 14.5,5.5 "
             "fill '#9aa7b5' stroke none " + cells.replace("rectangle 12,13 14,14 ", "") +
             "fill '#e0473c' rectangle 12,13 14,14 "
             "fill '#c9d3de' stroke '#56667a' rectangle 4.5,0.5 5.5,3.5 rectangle 10.5,0.5 11.5,3.5 ")
    # 14 batch import: green arrow entering a worksheet
    p[14] = spreadsheet(7) + arrow_right(0.5, 10, 8, "#3fb24f", "#1f7a2e")
    # 15 favourite
    p[15] = ("fill '#ffcf33' stroke '#b98300' stroke-width 1 "
             "path 'M 8,0.8 L 10.2,5.5 L 15.2,6 L 11.4,9.4 L 12.5,14.6 L 8,12 L 3.5,14.6 "
             "L 4.6,9.4 L 0.8,6 L 5.8,5.5 Z' "
             "fill '#ffe999' stroke none path 'M 8,3 L 9.4,6.4 L 8,9.5 L 6.6,6.4 Z' ")
    # 16 delete (red cross)
    p[16] = ("fill none stroke-linecap round stroke '#9b1d24' stroke-width 4.6 "
             "line 3.5,3.5 12.5,12.5 line 12.5,3.5 3.5,12.5 "
             "stroke '#e5434b' stroke-width 2.6 "
             "line 3.5,3.5 12.5,12.5 line 12.5,3.5 3.5,12.5 ")
    # 17 lock
    p[17] = ("fill none stroke '#6c7682' stroke-width 2 path 'M 4.5,8 L 4.5,5 C 4.5,0.5 11.5,0.5 11.5,5 L 11.5,8' "
             "fill '#f2bd3a' stroke '#a27414' stroke-width 1 roundrectangle 2.5,7.5 13.5,15.5 1,1 "
             "fill '#7a5510' stroke none circle 8,10.8 8,9.6 rectangle 7.4,11 8.6,13.5 ")
    # 18 statistics (bar chart)
    p[18] = ("stroke-width 1 fill '#3f86d6' stroke '#23589a' rectangle 1.5,8.5 4.5,14.5 "
             "fill '#4caf63' stroke '#2c7a3f' rectangle 6.5,3.5 9.5,14.5 "
             "fill '#f29a2e' stroke '#a85e0c' rectangle 11.5,6.5 14.5,14.5 "
             "stroke '#56667a' line 0,15.5 16,15.5 ")
    # 19 about (i in a circle)
    p[19] = ("fill '#2f80d8' stroke '#1a579e' stroke-width 1 circle 8,8 8,0.5 "
             "fill '#ffffff' stroke none circle 8,4.4 8,3.1 roundrectangle 6.8,6.6 9.2,12.6 0.5,0.5 ")
    # 20 exit (open door and arrow)
    p[20] = ("fill '#dfe5ec' stroke '#56667a' stroke-width 1 rectangle 1.5,0.5 10.5,15.5 "
             "fill '#a8723f' stroke '#6a4525' path 'M 1.5,0.5 L 7.5,2.5 L 7.5,15.5 L 1.5,15.5 Z' "
             "fill '#f2d06b' stroke none circle 6,9 6,8.2 "
             + arrow_right(8.5, 16, 8, "#e5434b", "#9b1d24"))
    # 21 help
    p[21] = ("fill '#43a85a' stroke '#24743a' stroke-width 1 circle 8,8 8,0.5 "
             "fill none stroke '#ffffff' stroke-width 2 stroke-linecap round "
             "path 'M 5.6,5.8 C 5.6,2.6 10.6,2.6 10.6,5.6 C 10.6,7.6 8,7.6 8,9.6' "
             "fill '#ffffff' stroke none circle 8,12.3 8,11.1 ")
    # 22 mail
    p[22] = ("fill '#ffffff' stroke '#56708e' stroke-width 1 rectangle 0.5,2.5 15.5,13.5 "
             "fill '#e8eef5' path 'M 0.5,2.5 L 8,9 L 15.5,2.5 Z' "
             "fill none stroke '#9fb0c4' path 'M 1,13 L 6,7.5 M 15,13 L 10,7.5' ")
    # 23 search person
    p[23] = ("fill '#d9ecfb' stroke '#4e5b6a' stroke-width 1.6 circle 6.5,6.5 6.5,1 "
             + person(6.5, 4.9, 0.55) +
             "fill none stroke '#4e5b6a' stroke-width 1.6 circle 6.5,6.5 6.5,1 "
             "stroke '#7a4b22' stroke-width 3 stroke-linecap round line 11,11 14.3,14.3 ")
    # 24 home
    p[24] = HOME
    # 25 picture
    p[25] = ("fill '#bfe3fb' stroke '#56708e' stroke-width 1 rectangle 0.5,1.5 15.5,14.5 "
             "fill '#ffcf33' stroke none circle 11.5,5 11.5,3.4 "
             "fill '#4caf63' path 'M 1,14 L 6,7 L 9,11 L 11,9 L 15,14 Z' "
             "fill none stroke '#56708e' rectangle 0.5,1.5 15.5,14.5 ")
    return p


def deleted_toolbar_pictures():
    """Restore, back to the main window, clear all."""
    return [UNDO, HOME, BROOM]


# ---------------------------------------------------------------------------
# Program icon: a seedling sprouting from an open book on a sky disc, 128 units.

ICON_SIZES = (128, 64, 48, 40, 32, 24, 20, 16)

DISC = "circle 64,64 64,3"
LEFT_PAGE = "path 'M 64,80 C 50,70 30,68 12,72 L 12,106 C 30,102 50,104 64,114 Z'"
RIGHT_PAGE = "path 'M 64,80 C 78,70 98,68 116,72 L 116,106 C 98,102 78,104 64,114 Z'"
COVER = "path 'M 64,86 C 48,78 26,78 7,80 L 7,112 C 28,110 48,112 64,121 C 80,112 100,110 121,112 L 121,80 C 102,78 80,78 64,86 Z'"
LEFT_LEAF = "path 'M 64,60 C 54,40 34,34 18,40 C 26,58 46,68 64,60 Z'"
RIGHT_LEAF = "path 'M 64,56 C 72,26 96,14 116,20 C 110,46 88,62 64,56 Z'"


def app_icon(size):
    small = size <= 24
    scale = size * SUPERSAMPLE / 128
    c = Canvas(size * SUPERSAMPLE, size * SUPERSAMPLE, scale)
    c.gradient(DISC, (0, 6), (0, 124), "#7cc8f2", "#d9f2c4")
    c.draw(f"fill none stroke '#3f8fc4' stroke-width {5 if small else 3} {DISC}")
    c.draw("fill '#ffffff' stroke none fill-opacity 0.35 ellipse 64,30 40,16 0,360")
    # The seedling grows out of the book's fold, so its stem goes behind the pages.
    stem = "path 'M 64,100 C 64,80 62,70 64,56'"
    c.draw(f"fill none stroke '#2c7a35' stroke-width {13 if small else 9} stroke-linecap round {stem}")
    c.draw(f"fill none stroke '#5cb848' stroke-width {8 if small else 5} stroke-linecap round {stem}")
    # The book: a green cover under two cream pages.
    c.soft(COVER, "#1d4f3a", 3, (0, 3), 0.35)
    c.gradient(COVER, (0, 80), (0, 121), "#3c9a6a", "#23684a")
    c.draw(f"fill '#fffcf2' stroke '#b9ab86' stroke-width {3 if small else 1.5} {LEFT_PAGE} {RIGHT_PAGE}")
    if not small:
        c.gradient("path 'M 64,80 C 58,76 54,74 50,73 L 50,107 C 56,108 60,110 64,114 Z'",
                   (50, 0), (64, 0), "#fffcf2", "#e6dcc2")
        c.gradient("path 'M 64,80 C 70,76 74,74 78,73 L 78,107 C 72,108 68,110 64,114 Z'",
                   (78, 0), (64, 0), "#fffcf2", "#e6dcc2")
        lines = "".join(f"path 'M 20,{y} C 32,{y - 2.5} 44,{y - 2} 54,{y + 1.5}' "
                        f"path 'M 108,{y} C 96,{y - 2.5} 84,{y - 2} 74,{y + 1.5}' "
                        for y in (82, 89, 96))
        c.draw(f"fill none stroke '#c9d9e6' stroke-width 2.2 stroke-linecap round {lines}")
    # Leaves last: they cover the top of the stem.
    for leaf, start, end in ((LEFT_LEAF, (18, 40), (64, 60)), (RIGHT_LEAF, (116, 20), (64, 56))):
        c.gradient(leaf, start, end, "#9be05a", "#3ea33c")
        c.draw(f"fill none stroke '#2c7a35' stroke-width {4 if small else 2.2} {leaf}")
    if not small:
        c.draw("fill none stroke '#c8f29a' stroke-width 2 stroke-linecap round "
               "path 'M 58,56 C 48,48 36,44 26,42' path 'M 70,50 C 82,38 96,28 108,24'")
    return c.rgba(size)


# ---------------------------------------------------------------------------
# Gate window background. Drawn in the window's client space (393 x 327) and
# stretched to 1024 x 1024 here, so that the window's own stretch undoes it.
# The band from y 141 to 209 holds the class name box and the enter button.

CLIENT_W, CLIENT_H = 393, 327
BACKGROUND_SIZE = 1024


def cloud(x, y, s):
    return (f"ellipse {x},{y} {22 * s},{9 * s} 0,360 ellipse {x - 12 * s},{y - 4 * s} {11 * s},{9 * s} 0,360 "
            f"ellipse {x + 6 * s},{y - 8 * s} {13 * s},{12 * s} 0,360 ellipse {x + 18 * s},{y - 1 * s} {9 * s},{7 * s} 0,360 ")


def seedling(x, y, s, dark="#2c7a35", light="#5cb848"):
    """A two-leaf seedling standing at x, y (its foot), s = height / 60."""
    stem = f"path 'M {x},{y} C {x},{y - 22 * s} {x - 3 * s},{y - 36 * s} {x},{y - 48 * s}'"
    left = (f"path 'M {x},{y - 46 * s} C {x - 6 * s},{y - 60 * s} {x - 22 * s},{y - 64 * s} {x - 34 * s},{y - 58 * s} "
            f"C {x - 28 * s},{y - 44 * s} {x - 12 * s},{y - 40 * s} {x},{y - 46 * s} Z'")
    right = (f"path 'M {x},{y - 48 * s} C {x + 6 * s},{y - 68 * s} {x + 24 * s},{y - 78 * s} {x + 42 * s},{y - 74 * s} "
             f"C {x + 38 * s},{y - 54 * s} {x + 18 * s},{y - 42 * s} {x},{y - 48 * s} Z'")
    veins = (f"path 'M {x - 4 * s},{y - 49 * s} C {x - 12 * s},{y - 54 * s} {x - 20 * s},{y - 57 * s} {x - 28 * s},{y - 57 * s}' "
             f"path 'M {x + 4 * s},{y - 52 * s} C {x + 14 * s},{y - 62 * s} {x + 26 * s},{y - 69 * s} {x + 36 * s},{y - 72 * s}'")
    return stem, left, right, veins


def draw_seedling(c, x, y, s):
    stem, left, right, veins = seedling(x, y, s)
    c.draw(f"fill none stroke '#2c7a35' stroke-width {4.2 * s} stroke-linecap round {stem}")
    c.draw(f"fill none stroke '#66bf4c' stroke-width {2.4 * s} stroke-linecap round {stem}")
    c.gradient(left, (x - 34 * s, y - 60 * s), (x, y - 46 * s), "#a6e466", "#43a83e")
    c.gradient(right, (x + 42 * s, y - 76 * s), (x, y - 48 * s), "#a6e466", "#43a83e")
    c.draw(f"fill none stroke '#2f7f37' stroke-width {1.1 * s} {left} {right}")
    c.draw(f"fill none stroke '#d2f5a4' stroke-width {0.9 * s} stroke-linecap round {veins}")


def school(x, y, s):
    """A small school house with a flag, its ground line centred at x, y."""
    return (f"push graphic-context translate {x},{y} scale {s},{s} stroke-width 0.8 "
            "fill '#fff6e6' stroke '#b48a6a' rectangle -20,-18 20,0 "
            "fill '#e26a4f' stroke '#a84532' path 'M -24,-17 L 0,-31 L 24,-17 Z' "
            "fill '#fff6e6' stroke '#b48a6a' circle 0,-21 3.2,-21 "
            "fill '#8bc5ea' stroke '#6a8fae' stroke-width 0.6 rectangle -16,-14 -10,-8 rectangle 10,-14 16,-8 "
            "fill '#a8723f' stroke '#6a4525' rectangle -3.5,-11 3.5,0 "
            "fill none stroke '#7c6a5a' stroke-width 0.8 line 0,-31 0,-40 "
            "fill '#e5434b' stroke none path 'M 0,-40 L 9,-37.5 L 0,-35 Z' "
            "pop graphic-context ")


def background():
    scale = (BACKGROUND_SIZE / CLIENT_W, BACKGROUND_SIZE / CLIENT_H)
    c = Canvas(BACKGROUND_SIZE, BACKGROUND_SIZE, scale, "xc:#ffffff")
    whole = f"rectangle 0,0 {CLIENT_W},{CLIENT_H}"
    c.gradient(whole, (0, 0), (0, 235), "#6fc0ee", "#eaf8f4")
    # Sun glow in the top right corner.
    c.soft("circle 352,34 352,-20", "#fffbe0", 24, opacity=0.9)
    c.draw("fill '#fff3b0' stroke none fill-opacity 0.95 circle 352,34 352,16")
    # Clouds.
    for x, y, s, o in ((62, 52, 1.0, 0.85), (300, 104, 0.8, 0.7), (150, 26, 0.55, 0.6)):
        c.soft(cloud(x, y, s), "#ffffff", 1.2, opacity=o)
    # Hills: a pale far one carrying the school, then the near one.
    far_hill = ("path 'M 0,258 C 60,232 130,228 200,244 C 260,256 320,238 393,232 "
                f"L 393,{CLIENT_H} L 0,{CLIENT_H} Z'")
    near_hill = ("path 'M 0,292 C 70,262 150,260 230,276 C 300,290 350,280 393,266 "
                 f"L 393,{CLIENT_H} L 0,{CLIENT_H} Z'")
    c.gradient(far_hill, (0, 228), (0, 300), "#b9e3a0", "#8fcf78")
    c.draw(school(58, 243, 0.75))
    c.soft(near_hill, "#3d8f45", 3, (0, -2), 0.35)
    c.gradient(near_hill, (0, 262), (0, CLIENT_H), "#7dc96a", "#3f9a4a")
    # Flowers and small sprouts on the near hill.
    flowers = ((30, 302, "#ffffff"), (112, 294, "#ffd84a"), (228, 296, "#ff9fb7"), (376, 290, "#ffffff"),
               (290, 314, "#ffd84a"), (70, 318, "#ff9fb7"), (178, 318, "#ffffff"))
    for x, y, colour in flowers:
        petals = " ".join(f"circle {x + dx},{y + dy} {x + dx + 2.1},{y + dy}"
                          for dx, dy in ((0, -2.6), (2.5, -0.8), (1.5, 2.1), (-1.5, 2.1), (-2.5, -0.8)))
        c.draw(f"fill '{colour}' stroke none {petals} fill '#f0a030' circle {x},{y} {x + 1.3},{y}")
    for x, y, s in ((150, 306, 0.28), (256, 312, 0.22)):
        draw_seedling(c, x, y, s)
    # The seedling of the register, growing from the near hill.
    c.soft("ellipse 326,290 20,3.5 0,360", "#2c6a30", 2, opacity=0.35)
    draw_seedling(c, 326, 290, 0.85)
    # Title and subtitle above the band.
    title = f"font '{CJK_FONT}' font-size 60 kerning 6 text 100,100 '蔚苗簿'"
    c.soft(f"stroke white stroke-width 4 {title}", "#ffffff", 3, opacity=0.9)
    c.soft(title, "#0d4020", 1.6, (1.5, 2.5), 0.35)
    c.gradient(f"stroke white stroke-width 1.2 {title}", (0, 48), (0, 102), "#2f9a4c", "#16643a")
    subtitle = f"font '{CJK_FONT}' font-size 15 kerning 7 text 130,131 '学生信息管理'"
    c.soft(subtitle, "#ffffff", 1.5, opacity=0.9)
    c.draw(f"fill '#2a6f8f' stroke none {subtitle}")
    c.draw("fill none stroke '#2a6f8f' stroke-opacity 0.5 stroke-width 1 line 88,125.5 122,125.5 line 272,125.5 306,125.5")
    # A calm, frosted band behind the class name box and the button.
    band = "roundrectangle 28,141 380,209 10,10"
    c.soft(band, "#2a6f8f", 4, (0, 2), 0.18)
    c.draw(f"fill '#ffffff' fill-opacity 0.55 stroke '#ffffff' stroke-opacity 0.9 stroke-width 1 {band}")
    return c.args


# ---------------------------------------------------------------------------
# Sample photo of the sample student 小苹果: a cartoon apple on a tablecloth.

PHOTO_W, PHOTO_H = 663, 659

APPLE = ("path 'M 331,222 C 384,174 522,178 546,302 C 570,424 500,562 420,568 "
         "C 386,571 360,558 331,562 C 302,558 276,571 242,568 "
         "C 162,562 92,424 116,302 C 140,178 278,174 331,222 Z'")
APPLE_LEAF = "path 'M 352,170 C 372,118 424,92 486,104 C 466,156 414,182 352,170 Z'"


def sample_photo():
    c = Canvas(PHOTO_W, PHOTO_H, 1.0, "xc:#ffffff")
    wall = f"rectangle 0,0 {PHOTO_W},500"
    c.gradient(wall, (0, 0), (0, 500), "#fff4d6", "#ffe0cc")
    dots = " ".join(f"circle {x + (y // 60 % 2) * 30},{y} {x + (y // 60 % 2) * 30 + 7},{y}"
                    for y in range(30, 500, 60) for x in range(0, PHOTO_W + 60, 60))
    c.draw(f"fill '#ffffff' fill-opacity 0.55 stroke none {dots}")
    # Blue gingham tablecloth.
    cloth = f"rectangle 0,500 {PHOTO_W},{PHOTO_H}"
    c.draw(f"fill '#f7fbff' stroke none {cloth}")
    stripes = " ".join(f"rectangle {x},500 {x + 22},{PHOTO_H}" for x in range(0, PHOTO_W, 44))
    bands = " ".join(f"rectangle 0,{y} {PHOTO_W},{y + 20}" for y in range(510, PHOTO_H, 40))
    c.draw(f"fill '#5b9bd8' fill-opacity 0.38 stroke none {stripes} {bands}")
    c.gradient(f"rectangle 0,496 {PHOTO_W},512", (0, 496), (0, 512), "#c9a27a", "#f1dcc4", 0.8)
    c.grain(f"rectangle 0,0 {PHOTO_W},{PHOTO_H}", 0.6, 17)
    # The apple: shadow, body, rim light, highlight.
    c.soft("ellipse 331,574 190,26 0,360", "#3a2a40", 10, opacity=0.45)
    c.radial(APPLE, (262, 300), (330, 330), "#ff7a68", "#b8141f")
    c.soft("path 'M 480,260 C 540,340 520,470 450,540 C 500,450 505,350 480,260 Z'", "#ffb0a0", 6, opacity=0.5)
    c.draw(f"fill none stroke '#7e0f19' stroke-width 7 {APPLE}")
    c.soft("ellipse 206,300 30,62 0,360", "#ffffff", 9, opacity=0.55)
    c.draw("fill '#ffffff' fill-opacity 0.85 stroke none ellipse 214,250 11,15 0,360")
    # Stem and leaf.
    c.draw("fill none stroke '#5a3417' stroke-width 22 stroke-linecap round path 'M 331,222 C 332,190 338,160 354,132'")
    c.draw("fill none stroke '#8b5a2b' stroke-width 12 stroke-linecap round path 'M 331,222 C 332,190 338,160 354,132'")
    c.gradient(APPLE_LEAF, (486, 104), (352, 170), "#9fdc5a", "#3c9a3a")
    c.draw(f"fill none stroke '#2a6e2e' stroke-width 6 {APPLE_LEAF}")
    c.draw("fill none stroke '#d4f5a6' stroke-width 4 stroke-linecap round path 'M 366,164 C 400,146 436,124 472,108'")
    # Face.
    for x in (268, 394):
        c.draw(f"fill '#3a1212' stroke none ellipse {x},386 19,26 0,360 "
               f"fill '#ffffff' ellipse {x + 6},376 7,9 0,360 ellipse {x - 6},396 3,3 0,360")
    for x in (226, 436):
        c.soft(f"ellipse {x},440 32,18 0,360", "#ff9aa8", 7, opacity=0.75)
    c.draw("fill '#7a1622' stroke '#3a1212' stroke-width 6 stroke-linecap round "
           "path 'M 296,438 C 308,476 354,476 366,438 Z' "
           "fill '#ff8fa0' stroke none path 'M 312,458 C 322,470 340,470 350,458 C 340,452 322,452 312,458 Z'")
    return c.args


# ---------------------------------------------------------------------------
# Picture-box placeholder: "插入照片" in purple on light blue.

PLACEHOLDER_W, PLACEHOLDER_H = 198, 249


def photo_placeholder():
    c = Canvas(PLACEHOLDER_W, PLACEHOLDER_H, 1.0, "xc:#ffffff")
    c.gradient(f"rectangle 0,0 {PLACEHOLDER_W},{PLACEHOLDER_H}", (0, 0), (0, PLACEHOLDER_H), "#e3f2fd", "#c4e2f8")
    c.draw("fill none stroke '#8a6cc8' stroke-width 2 stroke-dasharray 8,5 roundrectangle 10,10 188,239 10,10")
    # A person-shaped frame hint above the words.
    c.draw("fill '#ffffff' fill-opacity 0.6 stroke '#a58bd8' stroke-width 2.5 "
           "circle 99,78 99,52 "
           "path 'M 52,160 C 52,122 74,110 99,110 C 124,110 146,122 146,160 Z'")
    c.draw("fill '#7e57c2' stroke none circle 142,148 142,134 "
           "fill '#ffffff' rectangle 140,141 144,155 rectangle 135,146 149,150")
    words = f"font '{CJK_FONT}' font-size 31 kerning 2 text 33,208 '插入照片'"
    c.soft(words, "#ffffff", 2, opacity=0.9)
    c.draw(f"fill '#6a2fa8' stroke '#6a2fa8' stroke-width 0.6 {words}")
    return c.args


def main():
    write("sample_photo.jpg", jpeg_near(sample_photo(), 224238, chroma="1x1"))
    write("photo_placeholder.jpg", jpeg_near(photo_placeholder(), 27027, chroma="1x1"))
    write("background.jpg", jpeg_near(background(), 124293))
    write("app.ico", ico([(size, app_icon(size)) for size in ICON_SIZES]))
    pictures = [render_icon(m) for m in toolbar_pictures()]
    write("toolbar.bmp", bmp32(*strip(pictures)))
    pictures = [render_icon(m) for m in deleted_toolbar_pictures()]
    write("toolbar_deleted.bmp", bmp32(*strip(pictures)))


if __name__ == "__main__":
    main()
