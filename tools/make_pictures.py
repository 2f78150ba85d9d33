#!/usr/bin/python3
"""Paint Avatello's built-in pictures.

Every picture that ships with the program is drawn here from code: there are
no input files, and every run writes exactly the same bytes.

Written files (paths relative to the repository root):

  src/imageio/pictures/template01.gif ... template12.*
      the twelve pictures of the template gallery
  src/imageio/pictures/startup.gif
      the start-up picture (the same file as template 1)
  src/imageio/pictures/white.bmp, black.gif
      the stock all-white and all-black icons
  src/ui/icons/avatello-{16,24,32,48,64,128,256}.png
      the window icon: a grey page with a purple tulip in front of it
  docs/templates.png
      a contact sheet: the gallery as the program shows it, enlarged 4x,
      plus the window icon

Run from the repository root with Debian's Python and Pillow (python3-pil):

    /usr/bin/python3 tools/make_pictures.py
"""

import io
import math
import os
import sys

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

TEMPLATE_DIR = os.path.join("src", "imageio", "pictures")
DOCUMENT_DIR = os.path.join("src", "imageio", "pictures")
ICON_DIR = os.path.join("src", "ui", "icons")
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)

CLEAR = (0, 0, 0, 0)

# Colours shared by several pictures.
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
SHIRT_YELLOW = (255, 221, 0)
SHIRT_RED = (222, 24, 24)
FLAME_RED = (230, 52, 16)
FLAME_ORANGE = (255, 132, 0)
FLAME_YELLOW = (255, 214, 0)
FLAME_PALE = (255, 246, 140)
GREY = (136, 136, 136)


# ---------------------------------------------------------------------------
# Small drawing helpers.  Pictures are painted on RGBA images whose alpha is
# either 0 (transparent) or 255; partial coverage is always mixed into an
# opaque colour by the picture itself.


def rgba(c):
    return c if len(c) == 4 else (c[0], c[1], c[2], 255)


def new_canvas(size, fill=CLEAR):
    return Image.new("RGBA", (size, size), rgba(fill))


def put(img, x, y, c):
    if 0 <= x < img.width and 0 <= y < img.height:
        img.putpixel((x, y), rgba(c))


def sprite(img, left, top, rows, colours):
    """Draw ASCII pixel art; '.' leaves the pixel as it is."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != ".":
                put(img, left + dx, top + dy, colours[ch])


def line(img, p0, p1, c):
    ImageDraw.Draw(img).line([p0, p1], fill=rgba(c), width=1)


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def coverage(inside, x, y, n=4):
    """Share of pixel (x, y) that the shape `inside(px, py)` covers."""
    hits = 0
    for j in range(n):
        for i in range(n):
            if inside(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hits += 1
    return hits / (n * n)


def in_polygon(px, py, pts):
    """Even-odd test of point (px, py) against polygon pts."""
    inside = False
    n = len(pts)
    for i in range(n):
        x0, y0 = pts[i]
        x1, y1 = pts[(i + 1) % n]
        if (y0 > py) != (y1 > py):
            xc = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
            if px < xc:
                inside = not inside
    return inside


def mask_from(size, inside):
    """Set of pixels whose centre lies inside the shape."""
    return {(x, y) for y in range(size) for x in range(size)
            if inside(x + 0.5, y + 0.5)}


def border_of(mask):
    """Pixels of mask that touch (4-neighbourhood) a pixel outside it."""
    out = set()
    for (x, y) in mask:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            if (x + dx, y + dy) not in mask:
                out.add((x, y))
                break
    return out


def ring_around(mask, diagonal=False):
    """Pixels outside mask that touch it."""
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diagonal:
        steps += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
    out = set()
    for (x, y) in mask:
        for dx, dy in steps:
            q = (x + dx, y + dy)
            if q not in mask:
                out.add(q)
    return out


def paint(img, pixels, c):
    for (x, y) in sorted(pixels):
        put(img, x, y, c)


def distance_field(size, mask):
    """Approximate distance (in pixels) from every pixel to the mask."""
    big = 1e9
    d = [[0.0 if (x, y) in mask else big for x in range(size)]
         for y in range(size)]
    r2 = math.sqrt(2.0)
    for y in range(size):
        for x in range(size):
            for dx, dy, w in ((-1, 0, 1), (0, -1, 1), (-1, -1, r2), (1, -1, r2)):
                qx, qy = x + dx, y + dy
                if 0 <= qx < size and 0 <= qy < size:
                    d[y][x] = min(d[y][x], d[qy][qx] + w)
    for y in reversed(range(size)):
        for x in reversed(range(size)):
            for dx, dy, w in ((1, 0, 1), (0, 1, 1), (1, 1, r2), (-1, 1, r2)):
                qx, qy = x + dx, y + dy
                if 0 <= qx < size and 0 <= qy < size:
                    d[y][x] = min(d[y][x], d[qy][qx] + w)
    return d


BAYER4 = ((0, 8, 2, 10),
          (12, 4, 14, 6),
          (3, 11, 1, 9),
          (15, 7, 13, 5))


def dither_level(t, x, y, levels):
    """Ordered dither of t in [0, 1] onto 0 .. levels-1."""
    v = max(0.0, min(1.0, t)) * (levels - 1)
    base = int(v)
    if base >= levels - 1:
        return levels - 1
    return base + (1 if (v - base) * 16 > BAYER4[y % 4][x % 4] + 0.5 else 0)


# ---------------------------------------------------------------------------
# The little cartoon figure that several templates share: a round white head
# with a black outline and a face, a box-shaped shirt and stick arms and legs.

HEAD = (
    "..kkkkk..",
    ".kwwwwwk.",
    "kwwwwwwwk",
    "kwwkwkwwk",
    "kwwwwwwwk",
    "kwkwwwkwk",
    "kwwkkkwwk",
    ".kwwwwwk.",
    "..kkkkk..",
)


def head(img, cx, top):
    sprite(img, cx - 4, top, HEAD, {"k": BLACK, "w": WHITE})


def figure(img, cx, top, shirt, arms="down", legs="stand"):
    """Head of 9x9 at (cx-4, top), shirt below it, limbs by pose."""
    head(img, cx, top)
    body_top = top + 9
    # shirt: 7 wide, 6 tall, black outline
    for y in range(body_top, body_top + 6):
        for x in range(cx - 3, cx + 4):
            edge = x in (cx - 3, cx + 3) or y in (body_top, body_top + 5)
            put(img, x, y, BLACK if edge else shirt)
    sy = body_top + 1                      # shoulder row
    if arms == "down":
        arm = [(cx - 4, sy), (cx - 5, sy + 1), (cx - 6, sy + 2), (cx - 6, sy + 3)]
    elif arms == "up":
        arm = [(cx - 4, sy), (cx - 5, sy - 1), (cx - 6, sy - 2), (cx - 7, sy - 3),
               (cx - 7, sy - 4), (cx - 8, sy - 5)]
    elif arms == "spread":
        arm = [(cx - 4, sy), (cx - 5, sy), (cx - 6, sy - 1), (cx - 7, sy - 1),
               (cx - 8, sy - 2), (cx - 9, sy - 2)]
    elif arms == "hang":                   # both hands up, holding on above
        arm = [(cx - 4, sy), (cx - 5, sy - 1)] + \
              [(cx - 6, y) for y in range(top - 3, sy - 1)]
    else:
        arm = []
    for (x, y) in arm:
        put(img, x, y, BLACK)
        put(img, 2 * cx - x, y, BLACK)
    hip = body_top + 6
    if legs == "stand":
        leg = [(cx - 2, hip), (cx - 2, hip + 1), (cx - 2, hip + 2), (cx - 3, hip + 2)]
    elif legs == "apart":
        leg = [(cx - 2, hip), (cx - 3, hip + 1), (cx - 4, hip + 2), (cx - 5, hip + 2)]
    elif legs == "straight":               # legs straight down, no feet
        leg = [(cx - 2, hip), (cx - 2, hip + 1), (cx - 2, hip + 2), (cx - 2, hip + 3)]
    elif legs == "jump":                   # knees pulled up
        leg = [(cx - 2, hip), (cx - 3, hip + 1), (cx - 2, hip + 2)]
    else:
        leg = []
    for (x, y) in leg:
        put(img, x, y, BLACK)
        put(img, 2 * cx - x, y, BLACK)


# ---------------------------------------------------------------------------
# Template 1 (also the start-up picture): a figure engulfed in flames.


def flame_mask(size, peaks, cx, cy, rx, ry):
    """A flame: a round bottom around (cx, cy) rising into pointed tongues.

    peaks are (x, tip_y, steepness); the top edge at column x is the lowest
    of the curves tip_y + steepness * |x - px| ** 1.4.
    """
    def inside(px, py):
        dx = (px - cx) / rx
        dy = max(0.0, py - cy) / ry
        if dx * dx + dy * dy > 1.0:
            return False
        top = min(ty + k * abs(px - x) ** 1.4 for (x, ty, k) in peaks)
        return py >= top
    return mask_from(size, inside)


def paint_flame(img, mask):
    """Colour a flame by depth: red rim, orange body, yellow heart."""
    outside = {(x, y) for y in range(img.height) for x in range(img.width)} - mask
    depth = distance_field(img.width, outside)
    for (x, y) in sorted(mask):
        d = depth[y][x]
        if d <= 1.0:
            c = FLAME_RED
        elif d <= 2.5:
            c = FLAME_ORANGE
        elif d <= 4.0:
            c = FLAME_YELLOW
        else:
            c = FLAME_PALE
        put(img, x, y, c)


def template01():
    img = new_canvas(50)
    # tongues behind the figure, licking up past its head
    paint_flame(img, flame_mask(50, [(15, 10, 2.0), (19, 4, 2.4), (29, 3, 2.4),
                                     (33, 9, 2.0)],
                                24, 20, 10.5, 4))
    figure(img, 24, 9, SHIRT_YELLOW, arms="up", legs=None)
    # flames in front, swallowing the body
    paint_flame(img, flame_mask(50, [(16, 17, 1.8), (21, 16, 2.0), (24, 20, 2.0),
                                     (27, 16, 2.0), (32, 17, 1.8)],
                                24, 24, 9, 7))
    return img


# ---------------------------------------------------------------------------
# Template 2: a figure inside a red and orange burst, with sparks.


def star_points(cx, cy, r_out, r_in, n, rot=-math.pi / 2):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = rot + i * math.pi / n
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def template02():
    img = new_canvas(50)
    cx, cy = 24.5, 17.5
    outer = star_points(cx, cy, 12.0, 7.6, 11, rot=-math.pi / 2 + 0.15)
    inner = star_points(cx, cy, 8.6, 6.0, 11, rot=-math.pi / 2 + 0.15 + math.pi / 11)
    burst = mask_from(50, lambda x, y: in_polygon(x, y, outer))
    core = mask_from(50, lambda x, y: in_polygon(x, y, inner))
    paint(img, burst, FLAME_RED)
    paint(img, core, FLAME_ORANGE)
    figure(img, 24, 9, SHIRT_YELLOW, arms="down", legs=None)
    # scattered sparks
    for (x, y) in ((8, 7), (41, 6), (6, 21), (43, 20), (11, 32), (38, 33),
                   (24, 35), (16, 2), (33, 1)):
        put(img, x, y, FLAME_ORANGE)
    for (x, y) in ((8, 14), (40, 13), (14, 29), (35, 30)):
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            put(img, x + dx, y + dy, FLAME_ORANGE if (dx, dy) != (0, 0) else FLAME_YELLOW)
    return img


# ---------------------------------------------------------------------------
# Template 3: a lightning bolt, blue outline, white inside.

BOLT_BLUE = (0, 72, 232)


def template03():
    img = new_canvas(50)
    # the bolt row by row: a block slanting down to the right, a bar that
    # sticks out to the right, and a tail narrowing to a point; its rim is
    # drawn in blue, the rest is white
    spans = []
    for r in range(10):
        x0 = int(0.45 * r + 0.5)
        spans.append((x0, x0 + 7))
    spans += [(4, 17), (4, 17)]
    for r in range(15):
        t = r / 14.0
        spans.append((int(11 + 11 * t + 0.5), int(17 + 5 * t + 0.5)))
    left, top = 4, 2
    shape = {(left + x, top + y) for y, (x0, x1) in enumerate(spans)
             for x in range(x0, x1 + 1)}
    rim = border_of(shape)
    paint(img, shape - rim, WHITE)
    paint(img, rim, BOLT_BLUE)
    return img


# ---------------------------------------------------------------------------
# Template 4: a dark-green leaf with lighter veins and a short stem.

LEAF_DARK = (0, 100, 24)
LEAF_EDGE = (0, 68, 16)
LEAF_VEIN = (104, 190, 72)
STEM = (72, 110, 30)


def template04():
    img = new_canvas(50, WHITE)
    cx, cy = 25.0, 12.5
    a = math.radians(-40)                  # leaf axis points up and right
    ca, sa = math.cos(a), math.sin(a)
    half = 10.5

    def local(px, py):
        dx, dy = px - cx, py - cy
        return dx * ca + dy * sa, -dx * sa + dy * ca

    def inside(px, py):
        u, v = local(px, py)
        if abs(u) > half:
            return False
        return abs(v) <= 6.0 * (1 - (u / half) ** 2) ** 0.85

    leaf = mask_from(50, inside)
    paint(img, leaf, LEAF_DARK)
    # veins: the midrib and three pairs of side veins
    veins = set()
    for (x, y) in leaf:
        u, v = local(x + 0.5, y + 0.5)
        if abs(v) < 0.55 and u < half - 2:
            veins.add((x, y))
        for u0 in (-5.0, -1.0, 3.0):
            # side vein leaves the midrib at u0 and runs toward the tip
            t = abs(v)
            if 1.0 < t < 4.8 and abs((u - u0) - 0.9 * t) < 0.55:
                veins.add((x, y))
    paint(img, veins, LEAF_VEIN)
    paint(img, border_of(leaf), LEAF_EDGE)
    # short stem leaving the base of the leaf
    bx, by = cx - half * ca, cy - half * sa
    for i in range(5):
        put(img, int(bx - i * ca * 0.9), int(by - i * sa * 0.9 + 0.5), STEM)
    return img


# ---------------------------------------------------------------------------
# Template 5: a white hand with a black outline.

HAND = (
    ".........kk.......",
    "........kwwkkk....",
    "........kwwkwwk...",
    "......kkkwwkwwk...",
    ".....kwwkwwkwwkkk.",
    ".....kwwkwwkwwkwwk",
    ".....kwwkwwkwwkwwk",
    ".kk..kwwkwwkwwkwwk",
    "kwwk.kwwkwwkwwkwwk",
    "kwwk.kwwkwwkwwkwwk",
    "kwwwkkwwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwwwk",
    "....kwwwwwwwwwwwk.",
    ".....kwwwwwwwwwk..",
    ".....kwwwwwwwwwk..",
    ".....kkkkkkkkkkk..",
)


def template05():
    img = new_canvas(50)
    sprite(img, 15, 6, HAND, {"k": BLACK, "w": WHITE})
    return img


# ---------------------------------------------------------------------------
# Template 6: a figure hanging from a wooden beam (JPEG).

WOOD = (150, 92, 40)
WOOD_DARK = (100, 58, 22)
WOOD_LIGHT = (190, 128, 66)


def template06():
    img = new_canvas(48, WHITE)
    for y in range(0, 7):
        for x in range(48):
            c = WOOD
            if y == 0:
                c = WOOD_LIGHT
            elif y == 6:
                c = WOOD_DARK
            elif (y == 2 and (x // 7) % 3 != 1) or (y == 4 and (x // 9) % 2 == 0):
                c = WOOD_DARK
            put(img, x, y, c)
    # knots in the wood
    for (x, y) in ((9, 3), (10, 3), (35, 3), (36, 3)):
        put(img, x, y, WOOD_DARK)
    figure(img, 23, 10, SHIRT_YELLOW, arms="hang", legs="stand")
    return img


# ---------------------------------------------------------------------------
# Template 7: a chequered cord coming down to a figure with arms spread.

CORD_ORANGE = (244, 144, 32)
CORD_BROWN = (128, 70, 18)


def template07():
    img = new_canvas(48, WHITE)
    # a figure swinging on a cord that it holds at the end of one spread arm
    figure(img, 21, 18, SHIRT_YELLOW, arms="spread", legs="apart")
    hand_x, hand_y = 21 + 9, 18 + 10 - 2
    for y in range(0, hand_y):
        for x in (hand_x, hand_x + 1):
            put(img, x, y, CORD_ORANGE if ((x + y // 2) % 2) else CORD_BROWN)
    # the fist round the end of the cord
    for (x, y) in ((hand_x - 1, hand_y - 1), (hand_x + 2, hand_y - 1),
                   (hand_x, hand_y), (hand_x + 1, hand_y)):
        put(img, x, y, BLACK)
    return img


# ---------------------------------------------------------------------------
# Template 8: two figures on a grey ground line, with motion marks.


def template08():
    img = new_canvas(48, WHITE)
    for x in range(5, 43):
        put(img, x, 39, GREY)
    figure(img, 15, 21, SHIRT_YELLOW, arms="up", legs="stand")
    figure(img, 33, 21, SHIRT_RED, arms="up", legs="stand")
    # small grey motion marks above each head
    for ox in (15, 33):
        for (dx, dy) in ((-5, -2), (-4, -3), (0, -5), (0, -4), (4, -3), (5, -2)):
            put(img, ox + dx, 19 + dy, GREY)
    return img


# ---------------------------------------------------------------------------
# Template 9: a pink rabbit head in profile with a bow tie.

RABBIT = (255, 156, 173)


def ellipse_inside(cx, cy, rx, ry, ang=0.0):
    ca, sa = math.cos(ang), math.sin(ang)

    def f(px, py):
        dx, dy = px - cx, py - cy
        u, v = dx * ca + dy * sa, -dx * sa + dy * ca
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return f


def template09():
    img = new_canvas(50, WHITE)
    skull = ellipse_inside(26, 27, 14, 11)
    snout = ellipse_inside(13, 30, 8, 6.5, 0.25)
    jaw = ellipse_inside(22, 32, 12, 6.5)
    ear_back = ellipse_inside(35, 11, 4.0, 11.5, math.radians(-28))
    ear_front = ellipse_inside(26.5, 9.5, 4.6, 11.5, math.radians(-12))

    def neck(px, py):
        return 21.5 <= px <= 31.5 and 33 <= py <= 40

    def face(px, py):
        return (skull(px, py) or snout(px, py) or jaw(px, py)
                or ear_front(px, py) or neck(px, py))

    back = mask_from(50, ear_back)
    front = mask_from(50, face)
    paint(img, back, RABBIT)
    paint(img, front, RABBIT)
    # a white seam where the front ear overlaps the back one
    paint(img, ring_around(mask_from(50, ear_front)) & back, WHITE)
    # the eye
    sprite(img, 14, 23, (".ww.", "wwww", "wwww", ".ww."), {"w": WHITE})
    # bow tie on the bottom edge: two wings and a knot
    left_wing = [(14.5, 38.5), (26, 43), (14.5, 47.8)]
    right_wing = [(38.5, 38.5), (27, 43), (38.5, 47.8)]

    def bow(px, py):
        return (in_polygon(px, py, left_wing) or in_polygon(px, py, right_wing)
                or (24 <= px <= 29 and 40.5 <= py <= 45.5))
    tie = mask_from(50, bow)
    paint(img, ring_around(tie, diagonal=True), WHITE)
    paint(img, tie, RABBIT)
    # white creases between the knot and the wings
    for y in range(41, 46):
        put(img, 23, y, WHITE)
        put(img, 29, y, WHITE)
    return img


# ---------------------------------------------------------------------------
# Template 10: a soft white star on dithered lavender.

LAVENDER = (222, 189, 255)
LAVENDER_DEEP = (212, 174, 250)


def template10():
    img = new_canvas(48)
    pts = star_points(24.0, 25.5, 23.5, 9.6, 5)
    star = lambda x, y: in_polygon(x, y, pts)
    star_mask = mask_from(48, star)
    dist = distance_field(48, star_mask)
    for y in range(48):
        for x in range(48):
            # light ordered dither: a little deeper lavender toward the corners
            r = math.hypot(x - 23.5, y - 23.5) / 33.0
            bg = LAVENDER_DEEP if dither_level(r * r * 0.9, x, y, 2) else LAVENDER
            cov = coverage(star, x, y)
            if cov >= 1.0:
                c = WHITE
            elif cov > 0.0:
                c = mix(bg, WHITE, 0.35 + 0.65 * cov)
            else:
                glow = max(0.0, 1.0 - dist[y][x] / 2.5)
                c = mix(bg, WHITE, 0.45 * glow)
            put(img, x, y, c)
    return img


# ---------------------------------------------------------------------------
# Template 11: a glowing white heart on pink that fades toward white.

HEART_PINK = (255, 189, 255)


def heart_inside(cx, cy, r):
    """A heart of two round lobes of radius r meeting in a point below.

    (cx, cy) is the dip between the lobes; the point is 2.4 r below it.
    """
    lobes = ((cx - 0.92 * r, cy + 0.25 * r), (cx + 0.92 * r, cy + 0.25 * r))
    tip = (cx, cy + 2.4 * r)
    pts = []
    for (lx, ly), side in zip(lobes, (-1, 1)):
        dx, dy = tip[0] - lx, tip[1] - ly
        dist = math.hypot(dx, dy)
        base = math.atan2(dy, dx)
        turn = math.acos(r / dist)
        a = base - side * turn             # tangent point on the outer side
        pts.append((lx + r * math.cos(a), ly + r * math.sin(a)))
    poly = [lobes[0], pts[0], tip, pts[1], lobes[1]]

    def f(px, py):
        for (lx, ly) in lobes:
            if (px - lx) ** 2 + (py - ly) ** 2 <= r * r:
                return True
        return in_polygon(px, py, poly)
    return f


def template11():
    img = new_canvas(48)
    heart = heart_inside(24.0, 13.0, 9.0)
    hmask = mask_from(48, heart)
    dist = distance_field(48, hmask)
    for y in range(48):
        for x in range(48):
            cov = coverage(heart, x, y)
            # the pink fades toward white the closer it gets to the heart
            t = min(1.0, dist[y][x] / 7.0)
            level = dither_level(t ** 0.9, x, y, 6)
            bg = mix(WHITE, HEART_PINK, level / 5)
            c = mix(bg, WHITE, cov)
            put(img, x, y, c)
    return img


# ---------------------------------------------------------------------------
# Template 12: two pale pink hearts with lighter rims, overlapping.

PALE_PINK = (255, 198, 255)
PALE_RIM = (255, 230, 255)
PALE_EDGE = (240, 168, 236)


def template12():
    img = new_canvas(50, WHITE)
    for (cx, cy, s) in ((19.5, 8.5, 9.6), (34.0, 27.0, 5.6)):
        shape = mask_from(50, heart_inside(cx, cy, s))
        edge = border_of(shape)
        rim = border_of(shape - edge)
        paint(img, shape, PALE_PINK)
        paint(img, rim, PALE_RIM)
        paint(img, edge, PALE_EDGE)
    return img


TEMPLATES = [
    # number, painter, file extension, transparent, interlaced. The files written here are the
    # program's template table: it finds template N as pictures/templateNN.*, whatever the format.
    (1, template01, "gif", True, False),
    (2, template02, "gif", True, False),
    (3, template03, "gif", True, True),
    (4, template04, "gif", False, False),
    (5, template05, "gif", True, False),
    (6, template06, "jpg", False, False),
    (7, template07, "bmp", False, False),
    (8, template08, "bmp", False, False),
    (9, template09, "gif", False, False),
    (10, template10, "gif", False, False),
    (11, template11, "gif", False, False),
    (12, template12, "gif", False, False),
]


# ---------------------------------------------------------------------------
# The window icon: a grey document page with a folded corner and a purple
# tulip standing in front of it.  Described once in a 0..1 square and
# rendered per size.

PAGE = (226, 226, 226)
PAGE_SHADE = (188, 188, 188)
PAGE_LINE = (92, 92, 92)
PAGE_TEXT = (166, 166, 166)
TULIP = (132, 36, 178)
TULIP_LIGHT = (186, 104, 230)
TULIP_DARK = (76, 12, 110)
STALK = (44, 140, 44)
STALK_DARK = (20, 84, 20)


def icon_art(size):
    """Draw the icon at `size` by supersampling a vector drawing."""
    ss = 8 if size <= 64 else 4
    n = size * ss
    img = Image.new("RGBA", (n, n), CLEAR)
    d = ImageDraw.Draw(img)

    def P(x, y):
        return (x * n, y * n)

    def poly(pts, fill, edge, width):
        d.polygon([P(x, y) for (x, y) in pts], fill=rgba(fill))
        if width:
            d.line([P(x, y) for (x, y) in pts + [pts[0]]], fill=rgba(edge),
                   width=width, joint="curve")

    # outlines: about 1/24 of the icon, but never thinner than one pixel
    ow = max(int(ss * 1.2), int(n / 24))
    # the page, its folded corner and a few lines of text
    left, top, right, bottom, fold = 0.30, 0.05, 0.94, 0.95, 0.22
    poly([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
          (left, bottom)], PAGE, PAGE_LINE, ow)
    for i, y in enumerate((0.17, 0.27, 0.40, 0.50, 0.60, 0.70, 0.80)):
        x1 = right - fold - 0.06 if y < top + fold else right - 0.08
        d.rectangle([P(left + 0.08, y), P(x1 - (0.12 if i % 3 == 2 else 0), y + 0.04)],
                    fill=rgba(PAGE_TEXT))
    poly([(right - fold, top), (right - fold, top + fold), (right, top + fold)],
         PAGE_SHADE, PAGE_LINE, ow)
    # the tulip: stalk, a leaf over the page, and the cup of petals
    sw = max(int(ss * 1.4), int(n * 0.06))
    d.line([P(0.38, 0.70), P(0.40, 0.99)], fill=rgba(STALK_DARK), width=sw + ow)
    d.line([P(0.38, 0.70), P(0.40, 0.99)], fill=rgba(STALK), width=sw)
    poly([(0.40, 0.97), (0.47, 0.78), (0.70, 0.60), (0.62, 0.80)], STALK, STALK_DARK,
         max(ss, ow // 2))
    cup = [(0.14, 0.28), (0.27, 0.40), (0.38, 0.22), (0.49, 0.40), (0.62, 0.28),
           (0.61, 0.56), (0.53, 0.68), (0.38, 0.72), (0.23, 0.68), (0.15, 0.56)]
    poly(cup, TULIP, TULIP_DARK, ow)
    poly([(0.31, 0.38), (0.38, 0.29), (0.45, 0.38), (0.46, 0.60), (0.38, 0.68),
          (0.30, 0.60)], TULIP_LIGHT, TULIP, 0)
    d.line([P(0.38, 0.42), P(0.38, 0.68)], fill=rgba(TULIP), width=max(ss, ow // 2))
    return img.resize((size, size), Image.LANCZOS)


# The 16-pixel icon is drawn pixel by pixel: the same page and tulip.
ICON16 = (
    ".....ggggggg....",
    ".....gpppppgg...",
    ".....gptttpgsg..",
    ".....gpppppgssg.",
    ".....gptttpggggg",
    "D...D...Dppppppg",
    "DD.DPD.DDttttppg",
    "DPDPLPDPDppppppg",
    "DPPPLPPPDttttppg",
    ".DPPLPPDgppppppg",
    "..DDDDD.gttttppg",
    "....G...gppppppg",
    "....G..GGttttppg",
    "....G.GGHppppppg",
    "....GGGHgppppppg",
    "....GG..gggggggg",
)


def make_icon(size):
    if size == 16:
        img = new_canvas(16)
        sprite(img, 0, 0, ICON16, {
            "g": PAGE_LINE, "p": PAGE, "s": PAGE_SHADE, "t": PAGE_TEXT,
            "D": TULIP_DARK, "P": TULIP, "L": TULIP_LIGHT, "G": STALK,
            "H": STALK_DARK})
        return img
    img = icon_art(size)
    # keep the edge crisp: no nearly-clear or nearly-solid fringe
    a = img.getchannel("A").point(lambda v: 0 if v < 24 else (255 if v > 232 else v))
    img.putalpha(a)
    return img


# ---------------------------------------------------------------------------
# Writers.  Each returns the encoded bytes, which are written only if they
# differ from what is on disk.


def to_palette(img, transparent):
    """RGBA -> ('P' image, transparent index or None), stable palette order."""
    colours = []
    seen = {}
    index_of = []
    if transparent:
        colours.append((255, 255, 255))     # index 0: the transparent colour
    for (r, g, b, a) in img.getdata():
        if a == 0:
            if not transparent:
                raise ValueError("transparent pixel in an opaque picture")
            index_of.append(0)
            continue
        key = (r, g, b)
        if key not in seen:
            seen[key] = None
    ordered = sorted(seen)
    base = 1 if transparent else 0
    lookup = {c: base + i for i, c in enumerate(ordered)}
    colours += ordered
    if len(colours) > 256:
        raise ValueError("too many colours for a GIF: %d" % len(colours))
    data = [0 if a == 0 else lookup[(r, g, b)] for (r, g, b, a) in img.getdata()]
    out = Image.new("P", img.size)
    flat = []
    for c in colours:
        flat += list(c)
    out.putpalette(flat)
    out.putdata(data)
    return out, (0 if transparent else None)


def encode_gif(img, transparent=False, interlace=False):
    pal, tindex = to_palette(img, transparent)
    pal.info["version"] = b"89a"
    buf = io.BytesIO()
    args = {"format": "GIF", "optimize": False, "interlace": 1 if interlace else 0}
    if tindex is not None:
        args["transparency"] = tindex
    pal.save(buf, **args)
    data = buf.getvalue()
    if data[:6] != b"GIF89a":
        raise RuntimeError("encoder did not write GIF89a")
    return data


def encode_bmp24(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, format="BMP")
    return buf.getvalue()


def encode_bmp8(img):
    pal, _ = to_palette(img, False)
    buf = io.BytesIO()
    pal.save(buf, format="BMP")
    return buf.getvalue()


def encode_jpeg(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, format="JPEG", quality=92, subsampling=0,
                            optimize=False, progressive=False)
    return buf.getvalue()


def encode_png(img):
    buf = io.BytesIO()
    img.save(buf, format="PNG", optimize=False, compress_level=9)
    return buf.getvalue()


def write(relpath, data):
    path = os.path.join(ROOT, relpath)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------
# Checks of what was written.


def gif_interlaced(data):
    """Interlace flag of the first image descriptor of a GIF."""
    pos = 13
    flags = data[10]
    if flags & 0x80:
        pos += 3 * (2 << (flags & 7))
    while pos < len(data):
        tag = data[pos]
        if tag == 0x2C:
            return bool(data[pos + 9] & 0x40)
        if tag == 0x21:                    # extension: skip its sub-blocks
            pos += 2
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        else:
            break
    raise ValueError("no image descriptor")


def describe(relpath, expect):
    """Reopen a written file, check it against `expect`, return a summary."""
    path = os.path.join(ROOT, relpath)
    with open(path, "rb") as f:
        data = f.read()
    im = Image.open(io.BytesIO(data))
    im.load()
    problems = []
    fmt = expect.get("format")
    if fmt and im.format != fmt:
        problems.append("format %s, wanted %s" % (im.format, fmt))
    size = expect.get("size")
    if size and im.size != (size, size):
        problems.append("size %s, wanted %d" % (im.size, size))
    notes = []
    if im.format == "GIF":
        version = data[:6].decode("ascii")
        if version != "GIF89a":
            problems.append("header %s" % version)
        interlaced = gif_interlaced(data)
        if interlaced != expect.get("interlace", False):
            problems.append("interlace flag %s" % interlaced)
        notes.append(version)
        if interlaced:
            notes.append("interlaced")
    has_t = "transparency" in im.info
    if "transparent" in expect and has_t != expect["transparent"]:
        problems.append("transparency %s" % has_t)
    if has_t:
        rgba_im = im.convert("RGBA")
        clear = sum(1 for a in rgba_im.getchannel("A").getdata() if a == 0)
        notes.append("%d%% transparent" % round(100.0 * clear / (im.width * im.height)))
    elif im.mode != "RGBA":
        notes.append("opaque")
    if im.format == "BMP":
        bpp = int.from_bytes(data[28:30], "little")
        hdr = int.from_bytes(data[14:18], "little")
        comp = int.from_bytes(data[30:34], "little")
        notes.append("%d bpp, header %d, compression %d" % (bpp, hdr, comp))
        if "bpp" in expect and bpp != expect["bpp"]:
            problems.append("%d bits per pixel" % bpp)
        if hdr != 40 or comp != 0:
            problems.append("not an uncompressed BITMAPINFOHEADER bitmap")
    if im.format == "JPEG":
        if data[6:11] != b"JFIF\0":
            problems.append("no JFIF header")
        if b"\xff\xc2" in data:
            problems.append("progressive")
        notes.append("baseline JFIF")
    if "colour" in expect:
        colours = im.convert("RGB").getcolors()
        if colours != [(im.width * im.height, expect["colour"])]:
            problems.append("not a single-colour picture")
    if problems:
        raise SystemExit("%s: %s" % (relpath, "; ".join(problems)))
    return "%-40s %-4s %dx%d %-4s %s" % (relpath, im.format, im.width, im.height,
                                         im.mode, ", ".join(notes))


# ---------------------------------------------------------------------------
# The contact sheet: the gallery as the program shows it.

GALLERY_W, GALLERY_H = 290, 177
TILE_LEFT = (8, 64, 120, 176, 232)
TILE_TOP = (8, 64, 120)
WINDOW_FACE = (240, 240, 240)


def tile_view(img):
    """What a gallery tile shows: 48x48 over white, inside a black frame."""
    tile = Image.new("RGB", (50, 50), BLACK)
    inner = Image.new("RGB", (48, 48), WHITE)
    src = img.convert("RGBA").crop((0, 0, 48, 48))
    inner.paste(src, (0, 0), src)
    tile.paste(inner, (1, 1))
    return tile


def contact_sheet(pictures, icons):
    scale = 4
    sheet = Image.new("RGB", (GALLERY_W, GALLERY_H), WINDOW_FACE)
    for i, img in enumerate(pictures):
        row, col = divmod(i, 5)
        sheet.paste(tile_view(img), (TILE_LEFT[col], TILE_TOP[row]))
    sheet = sheet.resize((GALLERY_W * scale, GALLERY_H * scale), Image.NEAREST)
    # window icon in the free space of the last row: 16 and 32 px enlarged,
    # 128 px as it is
    y = TILE_TOP[2] * scale
    x = TILE_LEFT[2] * scale
    for s in (16, 32):
        big = icons[s].resize((s * scale, s * scale), Image.NEAREST)
        sheet.paste(big, (x, y), big)
        x += s * scale + 24
    sheet.paste(icons[128], (x, y), icons[128])
    return sheet


# ---------------------------------------------------------------------------


def main():
    summary = []
    pictures = []
    for (num, painter, ext, transparent, interlace) in TEMPLATES:
        img = painter()
        pictures.append(img)
        rel = os.path.join(TEMPLATE_DIR, "template%02d.%s" % (num, ext))
        expect = {"size": img.width, "transparent": transparent}
        if ext == "gif":
            data = encode_gif(img, transparent, interlace)
            expect.update(format="GIF", interlace=interlace)
        elif ext == "jpg":
            data = encode_jpeg(img)
            expect.update(format="JPEG")
        else:
            data = encode_bmp24(img)
            expect.update(format="BMP", bpp=24)
        write(rel, data)
        summary.append(describe(rel, expect))
        if num == 1:
            startup = os.path.join(DOCUMENT_DIR, "startup.gif")
            write(startup, data)
            summary.append(describe(startup, expect))

    white = os.path.join(DOCUMENT_DIR, "white.bmp")
    write(white, encode_bmp8(new_canvas(50, WHITE)))
    summary.append(describe(white, {"format": "BMP", "size": 50, "bpp": 8,
                                    "transparent": False, "colour": WHITE}))
    black = os.path.join(DOCUMENT_DIR, "black.gif")
    write(black, encode_gif(new_canvas(50, BLACK)))
    summary.append(describe(black, {"format": "GIF", "size": 50, "transparent": False,
                                    "colour": BLACK}))

    icons = {}
    for s in ICON_SIZES:
        icons[s] = make_icon(s)
        rel = os.path.join(ICON_DIR, "avatello-%d.png" % s)
        write(rel, encode_png(icons[s]))
        summary.append(describe(rel, {"format": "PNG", "size": s}))

    sheet_rel = os.path.join("docs", "templates.png")
    write(sheet_rel, encode_png(contact_sheet(pictures, icons)))
    summary.append(describe(sheet_rel, {"format": "PNG"}))

    for line_ in summary:
        print(line_)


if __name__ == "__main__":
    sys.exit(main())
