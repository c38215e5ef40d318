#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: a few small good files per loader and a few
that are nearly good, so the fuzzer starts next to every check. Standard library only.

    python3 fuzz/make_seeds.py        (rewrites fuzz/corpus/{index,map,sheet,manifest}/seed_*)

Regression inputs kept beside the seeds (named after what they broke) are left alone.
"""
import pathlib
import struct
import zlib

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"
SHEET_PREFIX_BYTES = 762


def words(*values):
    return struct.pack("<%dh" % len(values), *values)


# ---- out.dat ----

def piece(src_y, src_x, width, height, offset_x, offset_y, next_piece, surface, page):
    return words(src_y, src_x, width, height, offset_x, offset_y) + struct.pack(
        "<i", next_piece) + words(surface, page)


def sprite(first_piece, left, top, width, height):
    return struct.pack("<i", first_piece) + words(left, top, width, height)


def index(pieces, sprites, names, page_height=512):
    out = words(len(sprites) - 1, len(pieces) - 1) + words(*[0] * len(sprites))
    out += b"".join(pieces) + b"".join(sprites) + words(page_height)
    for name in names:
        out += words(len(name)) + name
    return out


def index_seeds():
    # Sprite 1 draws pieces 1 -> 2 -> end, sprite 2 draws piece 3 on the second page.
    pieces = [piece(0, 0, 0, 0, 0, 0, 0, 0, 0),
              piece(0, 0, 16, 16, -8, -8, 2, 0, 0),
              piece(0, 16, 16, 8, -8, 8, 0, 0, 0),
              piece(4, 32, 8, 8, 0, 0, 0, 0, 1)]
    sprites = [sprite(0, 0, 0, 0, 0), sprite(1, -8, -8, 16, 24), sprite(3, 0, 0, 8, 8)]
    names = [b"", b"ship", b"shot"]
    good = index(pieces, sprites, names)
    looped = list(pieces)
    looped[2] = piece(0, 16, 16, 8, -8, 8, 1, 0, 0)  # 2 leads back to 1
    wild = list(pieces)
    wild[3] = piece(4, 32, 8, 8, 0, 0, 9, 0, 0)  # past the last piece
    return {
        "seed_good": good,
        "seed_empty_placeholders": index([pieces[0]], [sprites[0]], [b""]),
        "seed_loop": index(looped, sprites, names),
        "seed_next_out_of_range": index(wild, sprites, names),
        "seed_negative_name": good[:-6] + words(-2) + b"shot",
        "seed_truncated": good[:-3],
    }


# ---- .map.dat ----

def map_file(width, height, cells):
    return words(width, height, 0, *cells)


def map_seeds():
    # 2 x 2 shown cells, then the repeated first column and first row.
    good = map_file(2, 2, [1, 2, 1, 3, 4, 3, 1, 2, 1])
    return {
        "seed_good": good,
        "seed_one_cell": map_file(1, 1, [7, 7, 7, 7]),
        "seed_short": good[:-2],
        "seed_zero_width": map_file(0, 2, [1, 2, 3]),
        "seed_negative_height": map_file(3, -1, [1, 2, 3, 4]),
    }


# ---- pictures ----

def png(width, height, rows, declared=None):
    """8-bit RGB PNG; `declared` overrides the size its header gives."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data))
    w, h = declared or (width, height)
    header = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw))
            + chunk(b"IEND", b""))


def bmp(width, height, rows):
    """24-bit bottom-up BMP."""
    stride = (width * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + (
        info + pixels)


def sheet_seeds():
    magenta, red, green, blue = (255, 0, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255)
    rows = [[magenta, red], [green, blue]]
    prefix = b"VELDRANE SHEET".ljust(SHEET_PREFIX_BYTES, b"\0")
    sheet, plain = b"\1", b"\0"  # the first byte picks how the target reads the rest
    picture = png(2, 2, rows)
    return {
        "seed_sheet_png": sheet + prefix + picture,
        "seed_plain_png": plain + picture,
        "seed_plain_bmp": plain + bmp(2, 2, rows),
        "seed_sheet_prefix_only": sheet + prefix,
        "seed_plain_png_huge_header": plain + png(2, 2, rows, declared=(4096, 4096)),
        "seed_plain_png_truncated": plain + picture[:-20],
        "seed_plain_bmp_top_down": plain + bmp(2, 2, rows)[:22] + struct.pack("<i", -2)
                                   + bmp(2, 2, rows)[26:],
    }


# ---- manifests ----

def manifest_seeds():
    # part.txt, loop.txt and sub/deep.txt are planted beside the manifest by the target.
    return {
        "seed_every_line": b"# a short manifest\ncount 500\n"
                           b"sprite 1 ship 0 player box -2 3 20 10 origin 16 8\n"
                           b"range 10 3 font 65 f_   # A, B, C\n"
                           b"sprite 20 ship 4 bank origin 1 2\ncopy Stage01.parts\n",
        "seed_include": b"count 500\nsprite 1 a 0 x\ninclude part.txt\ninclude sub/deep.txt\n",
        "seed_include_loop": b"count 9\ninclude loop.txt\n",
        "seed_duplicate": b"count 9\nrange 1 4 a 0 p\nsprite 2 a 0 x\n",
        "seed_above_count": b"count 9\nrange 8 3 a 0 p\n",
        "seed_bad_number": b"count 9\nsprite 1 a 2x x box 0 0 -4 4\n",
    }


def main():
    for target, seeds in (("index", index_seeds()), ("map", map_seeds()),
                          ("sheet", sheet_seeds()), ("manifest", manifest_seeds())):
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.glob("seed_*"):
            old.unlink()
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
