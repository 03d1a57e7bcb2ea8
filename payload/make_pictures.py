#!/usr/bin/env python3
"""Draws the sample pictures of the payload with ImageMagick's convert.

- The JPEG pictures (format jpeg): each of exactly its size in the manifest,
  encoded at the highest quality that fits, a comment segment (COM) right
  after the start marker making up the rest.
- The side pictures (format bmp:WxH): the wizard's side panels, of that size.
- The icon (format ico:S,...): the program icon in those sizes.

Usage: make_pictures.py [PAYLOAD-DIR]
  Run by hand to regenerate the sample pictures; the build never runs it (it
  checks the pictures against the manifest). PAYLOAD-DIR is this folder by
  default.

Reads PAYLOAD-DIR/manifest (through make_rc.py) for each picture's payload
file, format and size; this tool only knows how each one looks, by its payload
file. It stops when the manifest lists a picture it does not draw.
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile

from make_rc import read_manifest

PAYLOAD = os.path.dirname(os.path.abspath(__file__))
FONT = "DejaVu-Sans-Bold"

# How each picture looks, by its payload file.
JPEGS = {  # seed, pixels, plasma colours, caption
    "img/db.jpg": (7, "1024x768", "lightsteelblue-navy", "Сорванта"),
    "img/Num1.jpg": (3, "1280x960", "gold-firebrick", "1"),
    "img/Num4.jpg": (5, "1600x1200", "palegreen-darkgreen", "4"),
}
SIDES = {  # gradient, caption, seed
    "side/welcome.bmp": ("#2b5fb4-#cfe3ff", "Сорванта", 11),
    "side/finish.bmp": ("#2f8f4e-#d8f5df", "Готово", 12),
}
ICON, ICON_SIZES = "icon/sorvanta.ico", "48,32,16"  # largest first, as the icon file lists them


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def with_comment(jpeg, total, note):
    """The JPEG with a COM segment after SOI making it `total` bytes long."""
    gap = total - len(jpeg)
    if gap < 4 or gap > 65537:
        raise ValueError(f"cannot pad {len(jpeg)} bytes to {total} with one comment")
    body = (note * (gap // len(note) + 1)).encode("ascii")[:gap - 4]
    return jpeg[:2] + b"\xFF\xFE" + struct.pack(">H", gap - 2) + body + jpeg[2:]


def make_jpeg(path, seed, size, colours, caption, total, tmp):
    base = os.path.join(tmp, "base.png")
    w, h = (int(v) for v in size.split("x"))
    convert("-size", size, "-seed", str(seed), f"plasma:{colours}",
            "(", "-size", size, "radial-gradient:white-black", ")",
            "-compose", "multiply", "-composite",
            "-font", FONT, "-pointsize", str(h // 6), "-fill", "white",
            "-stroke", "black", "-strokewidth", "2", "-gravity", "south",
            "-annotate", f"+0+{h // 12}", caption, base)
    note = f"Sorvanta v2.1 - {os.path.basename(path)}, {w}x{h}. "
    best = None
    lo, hi = 30, 98
    while lo <= hi:  # size grows with quality: the highest that leaves room
        q = (lo + hi) // 2
        out = os.path.join(tmp, "q.jpg")
        convert(base, "-strip", "-quality", str(q), out)
        data = open(out, "rb").read()
        if len(data) + 4 <= total:
            best, lo = data, q + 1
        else:
            hi = q - 1
    if best is None:
        raise SystemExit(f"{path}: even the lowest quality is over {total} bytes")
    with open(os.path.join(PAYLOAD, path), "wb") as f:
        f.write(with_comment(best, total, note))


def make_side(path, size, colours, caption, seed):
    convert("-size", size, f"gradient:{colours}",
            "(", "-size", size, "-seed", str(seed), "plasma:white-gray70", "-blur", "0x3", ")",
            "-compose", "soft-light", "-composite",
            "-fill", "none", "-stroke", "white", "-strokewidth", "3",
            "-draw", "circle 82,120 82,60", "-draw", "circle 82,120 82,80",
            "-stroke", "none", "-fill", "white", "-font", FONT, "-pointsize", "22",
            "-gravity", "south", "-annotate", "+0+40", caption,
            "-pointsize", "14", "-annotate", "+0+18", "v2.1",
            "-type", "TrueColor", f"BMP3:{os.path.join(PAYLOAD, path)}")


def make_icon(path, sizes, tmp):
    big = os.path.join(tmp, "icon.png")
    convert("-size", "48x48", "xc:none", "-fill", "#1f4e9c",
            "-draw", "roundrectangle 2,2 45,45 9,9",
            "-fill", "#f2b824", "-draw", "circle 24,24 24,11",
            "-font", FONT, "-pointsize", "22", "-fill", "#1f4e9c",
            "-gravity", "center", "-annotate", "+0+1", "С", big)
    convert(big, "-define", f"icon:auto-resize={sizes}", os.path.join(PAYLOAD, path))


def main(argv):
    global PAYLOAD
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("payload", nargs="?", default=PAYLOAD)
    PAYLOAD = parser.parse_args(argv).payload
    pictures = [item for item in read_manifest(os.path.join(PAYLOAD, "manifest"))
                if item.format == "jpeg" or item.format.split(":")[0] in ("bmp", "ico")]
    unknown = [item.file for item in pictures if item.file not in JPEGS and item.file not in SIDES and item.file != ICON]
    if unknown:
        raise SystemExit(f"pictures of the manifest this tool does not draw: {', '.join(unknown)}")
    with tempfile.TemporaryDirectory() as tmp:
        for item in pictures:
            os.makedirs(os.path.join(PAYLOAD, os.path.dirname(item.file)), exist_ok=True)
            kind, _, arg = item.format.partition(":")
            if kind == "jpeg":
                make_jpeg(item.file, *JPEGS[item.file], item.size, tmp)
            elif kind == "bmp":
                make_side(item.file, arg, *SIDES[item.file])
            else:
                if not set(arg.split(",")) <= set(ICON_SIZES.split(",")):
                    raise SystemExit(f"{item.file}: the icon is drawn in {ICON_SIZES} pixels, not {arg}")
                make_icon(item.file, ICON_SIZES, tmp)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
