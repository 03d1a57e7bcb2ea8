#!/usr/bin/env python3
"""The installer's payload and the build step that packs it. PAYLOAD_MANIFEST, PAYLOAD_BINARY_DIR: payload/manifest, its build folder."""

import os, re, shutil, subprocess, sys, tempfile, unittest
from pathlib import Path

MANIFEST = os.environ.get("PAYLOAD_MANIFEST", "")
SOURCE_DIR = os.path.dirname(os.path.abspath(MANIFEST))
BINARY_DIR = os.environ.get("PAYLOAD_BINARY_DIR", "")

# What one installation writes: text files, pictures, the program file.
TEXT_FILES, TEXT_BYTES = 34, 315697
PICTURES, PICTURE_BYTES = 3, 735089
PROGRAM_BYTES = 1606656


def read_manifest():
    """Every manifest line as a dict; a '-' size or target is None."""
    lines = [line.split("#", 1)[0].split() for line in Path(MANIFEST).read_text(encoding="utf-8").splitlines()]
    return [dict(name=name, type=rtype, format=fmt, size=None if size == "-" else int(size),
                 path=os.path.join(BINARY_DIR if file[:6] == "build:" else SOURCE_DIR, file.removeprefix("build:")),
                 target=None if target == "-" else target.replace("\\", "/"))
            for name, rtype, file, size, fmt, target in filter(None, lines)]


def installed_text(resource):
    """What the installer writes of a text: up to its NUL, split at CR (LF after it belongs to it), each line then CR LF."""
    lines = re.split(rb"\r\n?", resource.split(b"\0", 1)[0])
    return b"".join(line + b"\r\n" for line in (lines if lines[-1] else lines[:-1]))  # no line after a final break


def content(item):
    return Path(item["path"]).read_bytes()


class PayloadTest(unittest.TestCase):
    """The payload installs exactly the files and sizes required, every picture and page in it whole."""

    items = read_manifest()
    targets = {i["target"].lower(): i for i in items if i["target"]}

    def installed(self, fmt):
        return [i for i in self.items if i["target"] and i["format"] == fmt]

    def test_installed_files_and_sizes(self):
        texts, pictures, programs = self.installed("text"), self.installed("jpeg"), self.installed("exe")
        self.assertEqual((len(texts), sum(len(installed_text(content(i))) for i in texts)), (TEXT_FILES, TEXT_BYTES))
        self.assertEqual((len(pictures), sum(len(content(i)) for i in pictures)), (PICTURES, PICTURE_BYTES))
        self.assertEqual([(i["target"], len(content(i))) for i in programs], [("Zelcap2-1.exe", PROGRAM_BYTES)])
        self.assertEqual(len(self.targets), len([i for i in self.items if i["target"]]), "a target written twice")

    @unittest.skipUnless(shutil.which("convert"), "needs ImageMagick")
    def test_pictures_decode_whole(self):
        # A damaged scan or a missing end is a warning, made an error here.
        for item in self.installed("jpeg"):
            run = subprocess.run(["/usr/bin/convert", "-regard-warnings", item["path"], "null:"], capture_output=True,
                                 text=True)
            self.assertEqual(run.returncode, 0, item["name"] + run.stderr)

    def test_pages_declare_cp1251_and_link_only_to_installed_files(self):
        pages, linked = [t for t in self.targets if t.endswith(".htm")], set()
        for target in pages:
            page = content(self.targets[target])[:-1].decode("cp1251")
            self.assertRegex(page, r"(?s)\A<html>.*charset=windows-1251.*</html>\Z", target)
            anchors = set(re.findall(r'<a name="([^"]+)"', page))
            for ref in re.findall(r'(?:href|src)="([^"]+)"', page):
                ref, _, anchor = ref.partition("#")
                resolved = os.path.normpath(os.path.join(os.path.dirname(target), ref)).lower() if ref else None
                self.assertTrue(anchor in anchors if not ref else resolved in self.targets, f"{target}: {ref}#{anchor}")
                linked.add(resolved)
        # Every page is reachable from a menu, a frame set or a neighbour.
        self.assertTrue(pages)
        self.assertEqual(sorted(set(pages) - linked), [])


# (item, how it is spoilt, what the message says; None: the file is removed)
REJECTS = [
    ("STR27", lambda d: d[:100] + d[101:], "expected {size}"),
    ("STREAM0", lambda d: d + b"\0", "expected"),
    ("STR6", None, "missing"),
    ("STR35", lambda d: d[:-3] + b"\r\n\0", "CR LF after its last line"),
    ("STR36", lambda d: d[:-1] + b".", "does not end with a NUL"),
    ("STR31", lambda d: d[:10] + b"\0" + d[11:], "NUL byte at offset 10"),
    # Sizes are free for the wizard's own texts, the rules are not.
    ("STR1", lambda d: d.replace(b"\r\n", b"\n", 1), "LF without CR"),
    ("STREAM2", lambda d: d[:-2] + b"\0\0", "does not end with FF D9"),
    ("STREAM3", lambda d: d[:200] + b"\0" * (len(d) - 202) + b"\xFF\xD9", "JPEG"),
    ("1", lambda d: d.replace(b"</assembly>", b"</assembly"), "not well-formed"),
    ("1", lambda d: d.replace(b'version="6.0.0.0"', b'version="5.82.0.0"'), "Common-Controls 6.0.0.0"),
    ("1", lambda d: d.replace(b"requireAdministrator", b"asInvoker"), "requireAdministrator"),
    ("1", lambda d: d.replace(b"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", b"{}"),
     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"),
    ("1", lambda d: d.replace(b"PerMonitorV2, System", b"System"), "resolution awareness"),
    # 165x310 becomes 310x165: same bytes, wrong shape.
    ("BITMAP1", lambda d: d[:18] + d[22:26] + d[18:22] + d[26:], "expected 165x310"),
]


class GeneratorRejectTest(unittest.TestCase):
    """A bad payload stops the build with a message naming the item; the sound copy it is spoilt from passes."""

    def test_each_spoilt_item_is_rejected(self):
        items = {i["name"]: i for i in read_manifest()}
        with tempfile.TemporaryDirectory() as tmp:
            source, binary, out = (os.path.join(tmp, name) for name in ("payload", "build", "payload.bin"))
            shutil.copytree(SOURCE_DIR, source)
            shutil.copytree(BINARY_DIR, binary, ignore=lambda d, names: [n for n in names if n != "Zelcap2-1.exe"])

            def run():
                Path(out).unlink(missing_ok=True)
                return subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "make_rc.py"), "archive", "--manifest",
                                       os.path.join(source, "manifest"), "--source-dir", source, "--binary-dir", binary,
                                       "--output", out], capture_output=True, text=True)

            sound = run()
            self.assertEqual(sound.returncode, 0, sound.stderr)
            for name, change, reason in REJECTS:
                reason = reason.replace("{size}", str(items[name]["size"]))
                with self.subTest(name=name, reason=reason):
                    path = Path(items[name]["path"].replace(SOURCE_DIR, source, 1).replace(BINARY_DIR, binary, 1))
                    original = path.read_bytes()
                    path.write_bytes(change(original)) if change else path.unlink()
                    try:
                        r = run()  # exit code 1, no archive, a message naming the item and the reason
                        self.assertEqual((r.returncode, os.path.exists(out)), (1, False), r.stdout + r.stderr)
                        self.assertTrue(f"{name}:" in r.stderr and reason in r.stderr, r.stderr)
                    finally:
                        path.write_bytes(original)


if __name__ == "__main__":
    if not os.path.isfile(MANIFEST) or not os.path.isdir(BINARY_DIR):
        sys.exit("set PAYLOAD_MANIFEST and PAYLOAD_BINARY_DIR")
    unittest.main()
