#!/usr/bin/python3
"""Write whether Load must accept each corpus file: the load_accepts column of
tests/data/corpus/EXPECTED.tsv.

The answer is worked out here from each file's own bytes and the bounds the README promises, not
from the program's code, so a wrong bound in the decoder shows as a failed corpus test:

- the file starts with a BMP ("BM"), GIF ("GIF87a", "GIF89a") or JPEG (FF D8 FF) signature;
- Qt's reader decodes it (the table's qt_decodes column, Qt's own verdict on the file);
- its size, read from its header, is within the bounds for its kind:
  a GIF's logical screen and a compressed bitmap at most 16384 pixels a side and 4096 x 4096
  pixels in all (an uncompressed bitmap is read row by row and has no bound but its format's);
  a progressive or multi-scan JPEG at most 128 MiB of coefficients (64 values of 2 bytes per
  8 x 8 block of each component), and no JPEG more than 1000 scans.

Run from the repository root with Debian's Python, by hand, after the table changes:

    /usr/bin/python3 tools/corpus_acceptance.py
"""

import csv
import os
import struct
import sys

CORPUS = os.path.join("tests", "data", "corpus")
TABLE = os.path.join(CORPUS, "EXPECTED.tsv")
COLUMN = "load_accepts"

MAX_SIDE = 16384
MAX_PIXELS = 4096 * 4096
MAX_COEFFICIENT_BYTES = 128 * 1024 * 1024
MAX_SCANS = 1000


def kind(data):
    if data[:2] == b"BM":
        return "bmp"
    if data[:6] in (b"GIF87a", b"GIF89a"):
        return "gif"
    if data[:3] == b"\xff\xd8\xff":
        return "jpeg"
    return None


def within_pixel_bounds(width, height):
    return 0 < width <= MAX_SIDE and 0 < height <= MAX_SIDE and width * height <= MAX_PIXELS


def bitmap_fits(data):
    if len(data) < 34:
        return False
    header = struct.unpack_from("<I", data, 14)[0]
    if header == 12:  # OS/2 1.x: no compression
        return True
    width, height, _, _, compression = struct.unpack_from("<iiHHI", data, 18)
    # BI_RGB and BI_BITFIELDS / BI_ALPHABITFIELDS are read row by row; RLE, JPEG and PNG inside
    # are decoded whole
    if compression in (0, 3, 6):
        return True
    return within_pixel_bounds(abs(width), abs(height))


def gif_fits(data):
    if len(data) < 10:
        return False
    width, height = struct.unpack_from("<HH", data, 6)
    return within_pixel_bounds(width, height)


def jpeg_fits(data):
    """Walks the marker segments up to each scan; counts the scans by their markers."""
    scans = data.count(b"\xff\xda")
    if scans > MAX_SCANS:
        return False
    position = 2
    while position + 4 <= len(data):
        if data[position] != 0xFF:
            return True  # no frame header found where expected: nothing to bound
        marker = data[position + 1]
        if marker == 0xFF:
            position += 1
            continue
        length = struct.unpack_from(">H", data, position + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE,
                      0xCF):
            if position + 10 > len(data):
                return True
            height, width, count = struct.unpack_from(">HHB", data, position + 5)
            progressive = marker in (0xC2, 0xC6, 0xCA, 0xCE)
            if not progressive and scans <= 1:
                return True
            factors = []
            for i in range(count):
                at = position + 10 + 3 * i + 1
                if at >= len(data):
                    break
                factors.append((data[at] >> 4, data[at] & 15))
            if not factors:
                return True
            hmax = max(h for h, _ in factors) or 1
            vmax = max(v for _, v in factors) or 1
            blocks = 0
            for h, v in factors:
                columns = -(-width * h // hmax)
                rows = -(-height * v // vmax)
                blocks += -(-columns // 8) * -(-rows // 8)
            return blocks * 64 * 2 <= MAX_COEFFICIENT_BYTES
        if marker == 0xDA:
            return True
        position += 2 + length
    return True


def accepts(row):
    with open(os.path.join(CORPUS, row["path"]), "rb") as f:
        data = f.read()
    format_ = kind(data)
    if format_ is None or row["qt_decodes"] != "yes":
        return False
    return {"bmp": bitmap_fits, "gif": gif_fits, "jpeg": jpeg_fits}[format_](data)


def main():
    with open(TABLE, newline="", encoding="utf-8") as table:
        reader = csv.DictReader(table, delimiter="\t", quoting=csv.QUOTE_NONE)
        columns = list(reader.fieldnames)
        rows = list(reader)
    if COLUMN not in columns:
        columns.append(COLUMN)
    for row in rows:
        row[COLUMN] = "yes" if accepts(row) else "no"
    with open(TABLE, "w", newline="", encoding="utf-8") as table:
        writer = csv.DictWriter(table, columns, delimiter="\t", quoting=csv.QUOTE_NONE,
                                escapechar="\\", lineterminator="\n")
        writer.writeheader()
        writer.writerows(rows)
    accepted = sum(row[COLUMN] == "yes" for row in rows)
    print(f"{accepted} of {len(rows)} files accepted")
    return 0


if __name__ == "__main__":
    sys.exit(main())
