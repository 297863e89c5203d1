#!/usr/bin/env python3
"""Asks real PDF readers about the sample files of write_samples.

    check_samples.py WRITE_SAMPLES TESTDATA

Every file must pass qpdf --check, list only embedded subset fonts with a
Unicode map (pdffonts: "yes yes yes"), give back every word in pdftotext, each
within 0.2 mm of where the printer measured it (pdftotext -bbox), have an A4
page of its orientation, run through Ghostscript without a single message, and
show the expected colour at each spot when Ghostscript renders it.
"""
import json
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

MM = 72 / 25.4          # points per millimetre
TOLERANCE = 0.2 * MM    # positions: 0.2 mm
COLOUR_TOLERANCE = 40   # JPEG colours are not exact
RENDER_DPI = 200  # fine enough to tell a gap of 0.5 mm from a square cap

WRITE_SAMPLES = TESTDATA = None


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False)


def read_ppm(path):
    data = path.read_bytes()
    fields = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", data)
    width, height = int(fields.group(1)), int(fields.group(2))
    pixels = data[fields.end():]
    return width, height, pixels


class Samples(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.folder = pathlib.Path(cls.tmp.name) / "Ausdrucke"
        written = run(WRITE_SAMPLES, str(cls.folder), TESTDATA)
        if written.returncode != 0:
            raise RuntimeError("write_samples failed: " + written.stderr)
        cls.expected = json.loads((cls.folder / "expected.json").read_text())

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def each(self):
        """Each sample and its path; a test checks each under subTest(file=...)."""
        return [(sample, str(self.folder / sample["file"])) for sample in self.expected]

    def test_qpdf_finds_no_error(self):
        for _, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                result = run("qpdf", "--check", path)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertIn("No syntax or stream encoding errors found", result.stdout)

    def test_every_font_is_an_embedded_subset_with_a_unicode_map(self):
        for _, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                rows = run("pdffonts", path).stdout.splitlines()[2:]
                self.assertTrue(rows)
                for row in rows:
                    self.assertRegex(row, r"^[A-Z]{6}\+\S+\s+CID TrueType\s+Identity-H\s+yes yes yes")

    def test_info_and_page_size(self):
        for sample, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                info = run("pdfinfo", path).stdout
                self.assertRegex(info, r"Title:\s+Aufzeichnungen – Prüfung\n")
                self.assertRegex(info, r"Creator:\s+Lumaro\n")
                self.assertRegex(info, r"Pages:\s+%d\n" % sample["pages"])
                size = "595.276 x 841.89" if sample["orientation"] == 1 else "841.89 x 595.276"
                self.assertIn("Page size:       %s pts (A4)" % size, info)

    def test_every_word_comes_back_where_it_was_measured(self):
        for sample, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                xml = run("pdftotext", "-bbox", path, "-").stdout
                pages = xml.split("<page ")[1:]
                found = []
                for number, page in enumerate(pages, 1):
                    for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" '
                                         r'yMax="([\d.]+)">([^<]*)</word>', page):
                        found.append((number, m.group(5).replace("&amp;", "&"),
                                      *(float(m.group(i)) for i in range(1, 5))))
                words = sample["words"]
                self.assertEqual(len(found), len(words), [f[1] for f in found])
                for word in words:
                    box = [word["x0"] * MM, word["top"] * MM, word["x1"] * MM, word["bottom"] * MM]
                    candidates = [f for f in found if f[0] == word["page"] and f[1] == word["text"]]
                    self.assertTrue(candidates, word)
                    best = min(candidates, key=lambda f: sum(abs(a - b) for a, b in zip(f[2:], box)))
                    for got, want, what in zip(best[2:], box, ("x0", "top", "x1", "bottom")):
                        self.assertAlmostEqual(got, want, delta=TOLERANCE,
                                               msg="%s of %r" % (what, word["text"]))

    def test_plain_text_holds_every_text(self):
        for sample, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                text = " ".join(run("pdftotext", path, "-").stdout.split())
                for word in sample["words"]:
                    self.assertIn(word["text"], text)

    def test_ghostscript_reads_without_a_word(self):
        for _, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                result = run("gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=nullpage", path)
                self.assertEqual(result.returncode, 0)
                self.assertEqual(result.stdout + result.stderr, "")

    def test_pictures_are_stored_once_jpegs_unchanged_pixels_exact(self):
        jpegs = {p.read_bytes() for p in pathlib.Path(TESTDATA).glob("*.jpg")}
        for sample, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                listed = run("pdfimages", "-list", path).stdout.splitlines()[2:]
                objects = {tuple(row.split()[10:12]) for row in listed}
                self.assertEqual(len(objects), sample["images"])
                out = pathlib.Path(self.tmp.name) / "images"
                out.mkdir(exist_ok=True)
                for old in out.iterdir():
                    old.unlink()
                run("pdfimages", "-j", path, str(out / "i"))
                for image in out.iterdir():
                    if image.suffix == ".jpg":
                        self.assertIn(image.read_bytes(), jpegs)
                        continue
                    # The only picture of pixels: left half green, right half yellow.
                    width, height, pixels = read_ppm(image)
                    self.assertEqual((width, height), (20, 10))
                    for y in range(height):
                        for x in range(width):
                            want = (0, 255, 0) if x < 10 else (255, 255, 0)
                            at = (y * width + x) * 3
                            self.assertEqual(tuple(pixels[at:at + 3]), want)

    def test_colours_are_where_they_were_drawn(self):
        for sample, path in self.each():
            with self.subTest(file=pathlib.Path(path).name):
                out = pathlib.Path(self.tmp.name) / "render"
                out.mkdir(exist_ok=True)
                for old in out.glob("*.ppm"):
                    old.unlink()
                result = run("gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=ppmraw",
                             "-r%d" % RENDER_DPI, "-sOutputFile=%s/page%%d.ppm" % out, path)
                self.assertEqual(result.returncode, 0, result.stderr)
                for spot in sample["spots"]:
                    width, _, pixels = read_ppm(out / ("page%d.ppm" % spot["page"]))
                    x = int(spot["x"] / 25.4 * RENDER_DPI)
                    y = int(spot["y"] / 25.4 * RENDER_DPI)
                    at = (y * width + x) * 3
                    got = list(pixels[at:at + 3])
                    for g, w in zip(got, spot["rgb"]):
                        self.assertAlmostEqual(g, w, delta=COLOUR_TOLERANCE, msg=str(spot))


if __name__ == "__main__":
    WRITE_SAMPLES, TESTDATA = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
