#!/usr/bin/python3
"""Render the load corpus with Pillow, as the reference the corpus test compares Load against.

For every loader input listed in tests/data/corpus/EXPECTED.tsv this opens the file with Pillow
(an independent decoder: it shares no code with Qt's BMP and GIF readers), takes its first frame,
lays it over white and keeps the top-left 48 x 48 pixels: what the canvas shows after Load. The
bit-field bitmaps whose channel widths Pillow refuses are read by this script itself. The
cells go into one picture, one 48 x 48 cell per file in the table's order, 16 cells a row, and a
table says which cell is whose:

  tests/data/corpus/PILLOW-REFERENCE.png   the cells (viewable as a contact sheet)
  tests/data/corpus/PILLOW-REFERENCE.tsv   path, cell (-1: Pillow reads no picture), Pillow's
                                           width and height, and whether Pillow needed to be
                                           told to accept a truncated file

Run from the repository root with Debian's Python and Pillow (python3-pil), by hand:

    /usr/bin/python3 tools/make_corpus_references.py
"""

import csv
import os
import struct
import sys

from PIL import Image, ImageFile

CORPUS = os.path.join("tests", "data", "corpus")
SIDE = 48
PER_ROW = 16
WHITE = (255, 255, 255, 255)


def bit_fields(path):
    """An uncompressed bit-field bitmap whose layout Pillow 9.4 refuses ("Unsupported BMP
    bitfields layout": channels of other widths than 5, 6 and 8 bits), read here by the format's
    definition: each channel's bits spread over 0 to 255, alpha only where a mask names it.
    None for anything else."""
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 66 or data[:2] != b"BM":
        return None
    offset, info_size, width, height, _, bits, compression = struct.unpack_from(
        "<IIiiHHI", data, 10)
    if compression not in (3, 6) or bits not in (16, 32) or width <= 0 or height == 0:
        return None
    count = 4 if info_size >= 56 or compression == 6 else 3
    masks = list(struct.unpack_from(f"<{count}I", data, 54)) + [0] * (4 - count)
    stride = (width * bits + 31) // 32 * 4
    rows = abs(height)
    if len(data) < offset + rows * stride:
        return None

    def channel(pixel, mask, absent):
        if mask == 0:
            return absent
        shift = (mask & -mask).bit_length() - 1
        top = mask >> shift
        return ((pixel & mask) >> shift) * 255 // top if top else absent

    image = Image.new("RGBA", (width, rows))
    for y in range(rows):
        row = offset + (rows - 1 - y if height > 0 else y) * stride
        for x in range(width):
            at = row + x * bits // 8
            pixel = int.from_bytes(data[at:at + bits // 8], "little")
            image.putpixel((x, y), tuple(channel(pixel, m, absent) for m, absent in
                                         zip(masks, (0, 0, 0, 255))))
    return image


def corner(path):
    """(the 48 x 48 canvas over white, the picture's size, truncated) or None."""
    own = bit_fields(path)
    if own is not None:
        try:
            Image.open(path).load()
            own = None  # Pillow reads it: Pillow is the reference
        except Exception:
            pass
    if own is not None:
        cut = own.crop((0, 0, min(SIDE, own.size[0]), min(SIDE, own.size[1])))
        canvas = Image.new("RGBA", (SIDE, SIDE), WHITE)
        canvas.alpha_composite(cut)
        return canvas.convert("RGB"), own.size, False
    for truncated in (False, True):
        ImageFile.LOAD_TRUNCATED_IMAGES = truncated
        try:
            with Image.open(path) as image:
                image.seek(0)
                image.load()
                rgba = image.convert("RGBA")
                size = image.size
        except Exception:  # Pillow refuses it: no reference
            continue
        cut = rgba.crop((0, 0, min(SIDE, size[0]), min(SIDE, size[1])))
        canvas = Image.new("RGBA", (SIDE, SIDE), WHITE)
        canvas.alpha_composite(cut)
        return canvas.convert("RGB"), size, truncated
    return None


def main():
    if not os.path.isdir(CORPUS):
        sys.exit("run from the repository root")
    with open(os.path.join(CORPUS, "EXPECTED.tsv"), newline="") as table:
        paths = [row["path"] for row in csv.DictReader(table, delimiter="\t")]
    cells = []
    rows = []
    for path in paths:
        result = corner(os.path.join(CORPUS, path))
        if result is None:
            rows.append((path, -1, 0, 0, "-"))
            continue
        picture, size, truncated = result
        rows.append((path, len(cells), size[0], size[1], "yes" if truncated else "no"))
        cells.append(picture)
    sheet = Image.new("RGB", (PER_ROW * SIDE, (len(cells) + PER_ROW - 1) // PER_ROW * SIDE),
                      (255, 255, 255))
    for i, cell in enumerate(cells):
        sheet.paste(cell, ((i % PER_ROW) * SIDE, (i // PER_ROW) * SIDE))
    sheet.save(os.path.join(CORPUS, "PILLOW-REFERENCE.png"), optimize=True)
    with open(os.path.join(CORPUS, "PILLOW-REFERENCE.tsv"), "w", newline="") as out:
        out.write("path\tcell\tpil_width\tpil_height\ttruncated\n")
        for row in rows:
            out.write("\t".join(str(v) for v in row) + "\n")
    print(f"{len(cells)} of {len(paths)} files rendered")


if __name__ == "__main__":
    main()
