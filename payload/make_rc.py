#!/usr/bin/env python3
"""Turns the payload manifest into what the program carries, checking every item.

The installer's own data (type 100: texts and streams) and its side pictures
travel compressed in an archive appended to the program file, after its last
section, so that a copy cut short loses payload, never code, and the program
can tell. The icon and manifest that the system reads stay resources; the
archive keeps their digests too.

Commands:
  rc      --manifest M --source-dir S --binary-dir B --output FILE.rc
          check every item and write the resource script of the items the
          system reads (icon and manifest) (stops on the first bad item with a message naming it, exit
          code 1)
  archive --manifest M --source-dir S --binary-dir B --output FILE
          check every item and write the payload archive
  attach  EXE ARCHIVE
          append the archive to the program file, replacing one already there
  files   --manifest M --source-dir S --binary-dir B
          print the payload files, one a line (what the build depends on)
  pad     --manifest M --name NAME INPUT OUTPUT
          copy INPUT to OUTPUT with zero bytes appended up to NAME's size
  size    EXE...
          print each program file's size: code and data, resources (.rsrc)
          and the appended archive

Archive (little-endian): a header {magic "OMBRELPZ", count of entries,
count of blocks, total size, CRC-32 of the tables, CRC-32 of the header's
fields before it}; count entries {name: 16 bytes, upper case, NUL-padded;
kind: 0 data, 1 bitmap, 2 icon group resource, 3 the application manifest
(RT_MANIFEST 1); block; offset in the block's unpacked bytes; size; CRC-32
of the bytes}; the blocks {method: 0 stored, 1 LZMA, 2 LZMA of the x86 code
converted as for compression (BCJ); offset of the packed bytes from the
archive's start; packed size; unpacked size; CRC-32 of the packed bytes;
the LZMA properties, 5 bytes and 3 of padding}; then the packed bytes in
block order. Data and bitmaps lie in blocks; the icon and manifest are
resources (block and offset 0). A bitmap's bytes are its file without the
file header (a packed DIB). An icon group's bytes are its directory (the
header and each image's entry without its resource id) followed by its
images in group order.

Blocks: the texts together, in manifest order, so that the pages' own (the
first lines) are unpacked at the start without the text files after them;
every other item alone, unpacked as far as it is read and whole in the
program's idle time or when it is written. Program files go through the x86
converter first. JPEG pictures are packed too (LZMA wins 7 % of them, some
55 KB): only their headers are read at the start.

Manifest lines: name, type, file, size, format, target (whitespace-separated;
'#' starts a comment; '-' means none). A file given as build:PATH is a build
product under the binary dir; any other path is under the source dir.
"""

import argparse
import lzma
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

TYPES = {"100": "100", "BITMAP": "BITMAP", "ICON": "ICON", "MANIFEST": "24"}
RUSSIAN = "25, 1"  # LANG_RUSSIAN, SUBLANG_DEFAULT: language 1049


class PayloadError(Exception):
    pass


class Item:
    def __init__(self, line_no, fields):
        if len(fields) != 6:
            raise PayloadError(f"manifest line {line_no}: expected 6 fields "
                               f"(name type file size format target), got {len(fields)}")
        self.name, self.type, self.file, size, self.format, self.target = fields
        self.line_no = line_no
        if self.type not in TYPES:
            raise PayloadError(f"{self.name}: unknown resource type '{self.type}'")
        if size == "-":
            self.size = None
        elif size.isdigit():
            self.size = int(size)
        else:
            raise PayloadError(f"{self.name}: size '{size}' is not a number")
        self.path = None

    def resolve(self, source_dir, binary_dir):
        if self.file.startswith("build:"):
            self.path = os.path.join(binary_dir, self.file[len("build:"):])
        else:
            self.path = os.path.join(source_dir, self.file)
        return self.path


def read_manifest(path):
    items, names = [], set()
    with open(path, encoding="utf-8") as f:
        for no, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            item = Item(no, line.split())
            key = (item.type, item.name.upper())
            if key in names:
                raise PayloadError(f"{item.name}: listed twice in the manifest")
            names.add(key)
            items.append(item)
    if not items:
        raise PayloadError(f"{path}: the manifest lists nothing")
    return items


# Format rules: each takes the item and the file's bytes and raises
# PayloadError naming the item when the bytes break the rule.

def check_text(item, data, arg):
    # Read back as NUL-terminated text, split at CR LF and written with CR LF
    # after every line: the bytes must survive that trip unchanged.
    if not data.endswith(b"\0"):
        raise PayloadError(f"{item.name}: text does not end with a NUL byte")
    text = data[:-1]
    nul = text.find(b"\0")
    if nul >= 0:
        raise PayloadError(f"{item.name}: text has a NUL byte at offset {nul} "
                           f"before its end (exactly one NUL, at the end)")
    if text.endswith(b"\r\n"):
        raise PayloadError(f"{item.name}: text has a CR LF after its last line")
    for i, b in enumerate(text):
        if b == 13 and text[i + 1:i + 2] != b"\n":
            raise PayloadError(f"{item.name}: CR without LF at offset {i}")
        if b == 10 and (i == 0 or text[i - 1] != 13):
            raise PayloadError(f"{item.name}: LF without CR at offset {i}")
    try:
        text.decode("cp1251")
    except UnicodeDecodeError as e:
        raise PayloadError(f"{item.name}: byte 0x{text[e.start]:02X} at offset {e.start} "
                           f"is not code page 1251") from None


JPEG_SOF = {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}


def check_jpeg(item, data, arg):
    if not data.startswith(b"\xFF\xD8"):
        raise PayloadError(f"{item.name}: JPEG does not start with FF D8")
    if not data.endswith(b"\xFF\xD9"):
        raise PayloadError(f"{item.name}: JPEG does not end with FF D9 (end of image)")
    # Walk the header segments up to the first scan: a frame header must come first.
    pos, frame = 2, False
    while True:
        if pos + 4 > len(data) or data[pos] != 0xFF:
            raise PayloadError(f"{item.name}: JPEG segment broken at offset {pos}")
        marker = data[pos + 1]
        if marker == 0xFF:  # fill byte
            pos += 1
            continue
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if length < 2 or pos + 2 + length > len(data):
            raise PayloadError(f"{item.name}: JPEG segment FF {marker:02X} at offset {pos} "
                               f"runs past the end")
        if marker in JPEG_SOF:
            frame = True
        if marker == 0xDA:
            if not frame:
                raise PayloadError(f"{item.name}: JPEG scan without a frame header")
            return
        pos += 2 + length


def check_exe(item, data, arg):
    if len(data) < 64 or not data.startswith(b"MZ"):
        raise PayloadError(f"{item.name}: not an executable (no MZ header)")
    pe = struct.unpack("<I", data[60:64])[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise PayloadError(f"{item.name}: not a PE executable")


def check_bmp(item, data, arg):
    if len(data) < 26 or not data.startswith(b"BM"):
        raise PayloadError(f"{item.name}: not a BMP file")
    width, height = struct.unpack("<ii", data[18:26])
    want = tuple(int(v) for v in arg.split("x"))
    if (width, abs(height)) != want:
        raise PayloadError(f"{item.name}: bitmap is {width}x{abs(height)}, "
                           f"expected {want[0]}x{want[1]}")
    if struct.unpack("<I", data[2:6])[0] != len(data):
        raise PayloadError(f"{item.name}: BMP header size does not match the file")


def check_ico(item, data, arg):
    if len(data) < 6 or data[:4] != b"\0\0\1\0":
        raise PayloadError(f"{item.name}: not an icon file")
    count = struct.unpack("<H", data[4:6])[0]
    sizes = set()
    for i in range(count):
        entry = data[6 + 16 * i:22 + 16 * i]
        if len(entry) < 16:
            raise PayloadError(f"{item.name}: icon directory cut short")
        w = entry[0] or 256
        size, offset = struct.unpack("<II", entry[8:16])
        if offset + size > len(data):
            raise PayloadError(f"{item.name}: icon image {i} runs past the end")
        sizes.add(w)
    want = {int(v) for v in arg.split(",")}
    if not want <= sizes:
        raise PayloadError(f"{item.name}: icon lacks the sizes {sorted(want - sizes)}")


ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
# Windows 7, 8, 8.1, 10 and 11: the program is written for all of them.
SUPPORTED_OS = ["{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]


def check_appmanifest(item, data, arg):
    # Windows refuses to start a program whose manifest it cannot read, so the
    # manifest is parsed here, not searched for words.
    try:
        root = ET.fromstring(data)
    except ET.ParseError as e:
        raise PayloadError(f"{item.name}: application manifest is not well-formed XML: {e}")
    controls = [a for a in root.iter(ASM_V1 + "assemblyIdentity")
                if a.get("name") == "Microsoft.Windows.Common-Controls"]
    if not any(a.get("version") == "6.0.0.0" for a in controls):
        raise PayloadError(f"{item.name}: application manifest does not ask for "
                           f"Microsoft.Windows.Common-Controls 6.0.0.0")
    levels = [e for ns in (ASM_V1, ASM_V3) for e in root.iter(ns + "requestedExecutionLevel")]
    if [(e.get("level"), e.get("uiAccess")) for e in levels] != [("requireAdministrator", "false")]:
        raise PayloadError(f"{item.name}: application manifest does not request "
                           f"requireAdministrator without uiAccess")
    ids = {e.get("Id", "").lower() for e in root.iter(COMPATIBILITY + "supportedOS")}
    missing = [g for g in SUPPORTED_OS if g not in ids]
    if missing:
        raise PayloadError(f"{item.name}: application manifest lacks supportedOS {', '.join(missing)}")
    # Windows blurs a program that does not say it lays itself out for the screen's resolution (Wine never
    # does, so only this check sees it): per monitor (version 2), else the system's resolution.
    aware = [e.text.strip().lower() for e in root.iter(SETTINGS_2005 + "dpiAware")]
    awareness = [[v.strip().lower() for v in e.text.split(",")] for e in root.iter(SETTINGS_2016 + "dpiAwareness")]
    if aware != ["true"] or awareness != [["permonitorv2", "system"]]:
        raise PayloadError(f"{item.name}: application manifest does not declare the resolution awareness "
                           f"PerMonitorV2, System")


RULES = {"text": check_text, "jpeg": check_jpeg, "exe": check_exe, "bmp": check_bmp,
         "ico": check_ico, "appmanifest": check_appmanifest}


def check_item(item):
    rule, _, arg = item.format.partition(":")
    if rule not in RULES:
        raise PayloadError(f"{item.name}: unknown format rule '{item.format}'")
    if not os.path.isfile(item.path):
        raise PayloadError(f"{item.name}: payload file {item.path} is missing")
    with open(item.path, "rb") as f:
        data = f.read()
    if item.size is not None and len(data) != item.size:
        raise PayloadError(f"{item.name}: {item.path} has {len(data)} bytes, "
                           f"expected {item.size}")
    RULES[rule](item, data, arg)
    return len(data)


def rc_path(path):
    # windres reads the script through the C preprocessor: forward slashes,
    # quotes and backslashes escaped.
    return os.path.abspath(path).replace("\\", "/").replace('"', '\\"')


def write_rc(items, output):
    lines = ["// Generated from the payload manifest; do not edit.",
             f"LANGUAGE {RUSSIAN}", ""]
    total = 0
    for item in items:
        size = check_item(item)
        if item.type in ("100", "BITMAP"):
            continue
        total += size
        lines.append(f'{item.name} {TYPES[item.type]} "{rc_path(item.path)}"')
    lines.append(f"// {total} bytes of resources")
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    return total


ARCHIVE_MAGIC = b"OMBRELPZ"
HEADER = struct.Struct("<8sIIIII")
ENTRY = struct.Struct("<16sIIIII")
BLOCK = struct.Struct("<IIIII5s3x")
KIND_DATA, KIND_BITMAP, KIND_ICON, KIND_MANIFEST = 0, 1, 2, 3
STORED, LZMA, LZMA_X86 = 0, 1, 2
# lc 3, lp 0, pb 2; the dictionary holds the largest item whole.
LZMA_OPTIONS = {"id": lzma.FILTER_LZMA1, "preset": 9 | lzma.PRESET_EXTREME, "lc": 3, "lp": 0, "pb": 2,
                "dict_size": 1 << 21}


def lzma_props(options):
    return bytes([(options["pb"] * 5 + options["lp"]) * 9 + options["lc"]]) + struct.pack("<I", options["dict_size"])


def pack(method, data):
    """The packed bytes (raw LZMA with its end mark, the decoder's input) and the properties."""
    if method == STORED:
        return data, b"\0" * 5
    if len(data) > LZMA_OPTIONS["dict_size"]:
        raise PayloadError(f"{len(data)} bytes in one block: more than the dictionary of {LZMA_OPTIONS['dict_size']}")
    filters = ([{"id": lzma.FILTER_X86}] if method == LZMA_X86 else []) + [LZMA_OPTIONS]
    packed = lzma.compress(data, format=lzma.FORMAT_RAW, filters=filters)
    if lzma.decompress(packed, format=lzma.FORMAT_RAW, filters=filters) != data:
        raise PayloadError("LZMA round trip failed")
    return packed, lzma_props(LZMA_OPTIONS)


def method_of(item):
    rule = item.format.partition(":")[0]
    return {"exe": LZMA_X86}.get(rule, LZMA)


def resource_bytes(item, data):
    """The bytes the system keeps for a resource item, as the program reads
    them back: an icon as its group's directory without the images' resource
    ids (the header, then each image's entry as the file has it but its
    offset), then its images in the order of the file (the order of the
    group); the manifest as it is."""
    if item.type == "MANIFEST":
        return KIND_MANIFEST, data
    count = struct.unpack("<H", data[4:6])[0]
    directory, images = data[:6], b""
    for i in range(count):
        entry = data[6 + 16 * i:6 + 16 * i + 16]
        size, offset = struct.unpack("<II", entry[8:16])
        directory += entry[:12]
        images += data[offset:offset + size]
    return KIND_ICON, directory + images


def write_archive(items, output):
    # Entries as (name, kind, block or None, offset in block, bytes); blocks as [method, bytes].
    entries, blocks, texts = [], [], None
    for item in items:
        check_item(item)
        if len(item.name) > 15 or not item.name.isascii():
            raise PayloadError(f"{item.name}: names of at most 15 ASCII characters")
        with open(item.path, "rb") as f:
            data = f.read()
        if item.type in ("ICON", "MANIFEST"):
            kind, kept = resource_bytes(item, data)
            entries.append((item.name, kind, None, 0, kept))
            continue
        kind, kept = (KIND_BITMAP, data[14:]) if item.type == "BITMAP" else (KIND_DATA, data)
        if item.format == "text":
            if texts is None:
                texts = len(blocks)
                blocks.append([LZMA, b""])
            block = texts
        else:
            block = len(blocks)
            blocks.append([method_of(item), b""])
        entries.append((item.name, kind, block, len(blocks[block][1]), kept))
        blocks[block][1] += kept
    table = b""
    for name, kind, block, offset, kept in entries:
        table += ENTRY.pack(name.upper().encode(), kind, block or 0, offset, len(kept), zlib.crc32(kept))
    at = HEADER.size + len(table) + BLOCK.size * len(blocks)
    packed_blocks = []
    for method, data in blocks:
        packed, props = pack(method, data)
        table += BLOCK.pack(method, at, len(packed), len(data), zlib.crc32(packed), props)
        packed_blocks.append(packed)
        at += len(packed)
    fields = HEADER.pack(ARCHIVE_MAGIC, len(entries), len(blocks), at, zlib.crc32(table), 0)[:HEADER.size - 4]
    header = fields + struct.pack("<I", zlib.crc32(fields))
    with open(output, "wb") as f:
        f.write(header + table + b"".join(packed_blocks))
    return at


def image_end(exe):
    """Where what the linker wrote ends (sections, then a symbol table with its
    strings, if there is one): whatever lies after is appended."""
    pe = struct.unpack("<I", exe[60:64])[0]
    sections, symbols, count, optional = struct.unpack("<HxxxxIIH", exe[pe + 6:pe + 22])
    table = pe + 24 + optional
    end = table + 40 * sections
    for i in range(sections):
        raw_size, raw_at = struct.unpack("<II", exe[table + 40 * i + 16:table + 40 * i + 24])
        if raw_size:
            end = max(end, raw_at + raw_size)
    if symbols:
        strings = symbols + 18 * count
        end = max(end, strings + struct.unpack("<I", exe[strings:strings + 4])[0])
    return end


def attach(exe_path, archive_path):
    with open(exe_path, "rb") as f:
        exe = f.read()
    with open(archive_path, "rb") as f:
        archive = f.read()
    with open(exe_path, "wb") as f:
        f.write(exe[:image_end(exe)] + archive)


def program_sizes(exe_path):
    """The program file's bytes: (all, code and data, resources, payload)."""
    with open(exe_path, "rb") as f:
        exe = f.read()
    pe = struct.unpack("<I", exe[60:64])[0]
    sections, optional = struct.unpack("<H12xH", exe[pe + 6:pe + 22])
    table = pe + 24 + optional
    resources = 0
    for i in range(sections):
        entry = exe[table + 40 * i:table + 40 * i + 40]
        if entry[:8].rstrip(b"\0") == b".rsrc":
            resources += struct.unpack("<I", entry[16:20])[0]
    appended = len(exe) - image_end(exe)
    return len(exe), len(exe) - resources - appended, resources, appended


def size_report(exe_path):
    total, code, resources, appended = program_sizes(exe_path)
    return (f"{os.path.basename(exe_path)}: {total} bytes (code and data "
            f"{code}, resources {resources}, payload {appended})")


def pad(items, name, source, output):
    item = next((i for i in items if i.name == name), None)
    if item is None or item.size is None:
        raise PayloadError(f"{name}: no size for it in the manifest")
    with open(source, "rb") as f:
        data = f.read()
    if len(data) > item.size:
        raise PayloadError(f"{name}: {source} has {len(data)} bytes, more than the "
                           f"{item.size} it must fill")
    # Bytes after the PE image are an overlay: the loader ignores them.
    with open(output, "wb") as f:
        f.write(data + b"\0" * (item.size - len(data)))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("command", choices=["rc", "archive", "attach", "files", "pad", "size"])
    parser.add_argument("--manifest")
    parser.add_argument("--source-dir")
    parser.add_argument("--binary-dir")
    parser.add_argument("--output")
    parser.add_argument("--name")
    parser.add_argument("paths", nargs="*")
    args = parser.parse_intermixed_args(argv)
    if args.command == "attach":
        if len(args.paths) != 2:
            parser.error("attach needs EXE ARCHIVE")
        attach(*args.paths)
        return 0
    if args.command == "size":
        if not args.paths:
            parser.error("size needs EXE")
        for path in args.paths:
            print(size_report(path))
        return 0
    if not args.manifest:
        parser.error(f"{args.command} needs --manifest")
    source_dir = args.source_dir or os.path.dirname(os.path.abspath(args.manifest))
    binary_dir = args.binary_dir or source_dir
    try:
        items = read_manifest(args.manifest)
        for item in items:
            item.resolve(source_dir, binary_dir)
        if args.command == "files":
            print("\n".join(os.path.abspath(i.path) for i in items))
        elif args.command == "rc":
            if not args.output:
                parser.error("rc needs --output")
            write_rc(items, args.output)
        elif args.command == "archive":
            if not args.output:
                parser.error("archive needs --output")
            total = write_archive(items, args.output)
            print(f"payload: {len(items)} items, archive of {total} bytes")
        else:
            if not args.name or len(args.paths) != 2:
                parser.error("pad needs --name NAME INPUT OUTPUT")
            pad(items, args.name, *args.paths)
    except PayloadError as e:
        print(f"payload error: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
