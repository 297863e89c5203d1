"""Where a PDF shows the texts a trace says were drawn: every text's width is
its font's design width, and its first and last words begin and end on the
sheet where the trace puts them. Used on the built-in printer's files (Linux)
and on the PostScript printers' jobs turned into PDF (Windows)."""

import re
import subprocess

from font_widths import width_mm

# The families the documents' font names are drawn with, as the program's
# font table has them on Linux (and the Wine prefix maps them).
FAMILIES = {"veranda": "DejaVu Sans", "verdana": "DejaVu Sans", "": "DejaVu Sans",
            "arial": "Liberation Sans", "times new roman": "Liberation Serif",
            "courier new": "Liberation Mono"}
MM = 72 / 25.4


def pdf_words(pdf):
    """{page: [(xMin, yMin, xMax, yMax, word)]} in points, as the page is shown."""
    out = subprocess.run(["pdftotext", "-bbox", str(pdf), "-"], capture_output=True,
                         text=True, check=True).stdout
    pages, page = {}, 0
    for line in out.splitlines():
        if "<page " in line:
            page += 1
            pages[page] = []
        m = re.search(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">'
                      r'(.*)</word>', line)
        if m:
            word = (m.group(5).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">")
                    .replace("&quot;", '"').replace("&apos;", "'"))
            pages[page].append((*map(float, m.groups()[:4]), word))
    return pages


def assert_drawn_as_measured(test, events, job, pdf, area_w, area_h, left, top, tolerance_pt):
    """Every text of the job (its `job` event): its trace width is the width of
    its font's design, and the PDF shows its words where the trace says it
    began and ended, within tolerance_pt. area_w x area_h is the printable
    area in millimetres (portrait), left/top its corner on the sheet."""
    kx = area_w / job["scaleWidth"]
    ky = area_h / job["scaleHeight"]
    if job["orientation"] == 2:
        kx, ky = area_h / job["scaleWidth"], area_w / job["scaleHeight"]
    words = pdf_words(pdf)
    texts = [e for e in events if e["ev"] == "text" and e["job"] == job["job"]]
    for e in texts:
        family = FAMILIES.get(e["font"].strip().lower(), "Liberation Sans")
        design = width_mm(family, e["bold"], e["italic"], e["text"], e["size"])
        test.assertAlmostEqual(e["w"] * kx, design, delta=0.02, msg=e)
        stripped = e["text"].strip()
        if not stripped or e["x"] < 0 or (e["x"] + e["w"]) > job["scaleWidth"]:
            continue
        # Where the text's first and last words begin and end on the sheet.
        lead = e["text"][:len(e["text"]) - len(e["text"].lstrip())]
        trail = e["text"][len(e["text"].rstrip()):]
        start = (left + e["x"] * kx + width_mm(family, e["bold"], e["italic"], lead,
                                                e["size"])) * MM
        end = (left + (e["x"] + e["w"]) * kx - width_mm(family, e["bold"], e["italic"], trail,
                                                        e["size"])) * MM
        line = [w for w in words[e["page"]]
                if (top + e["y"] * ky) * MM - 1 <= w[3] <= (top + (e["y"] + e["h"]) * ky) * MM + 1]
        first, last = stripped.split()[0], stripped.split()[-1]
        test.assertTrue(any(w[4].startswith(first) and abs(w[0] - start) < tolerance_pt
                            for w in line), f"{e['text']!r} does not start at {start:.1f} pt")
        test.assertTrue(any(w[4].endswith(last) and abs(w[2] - end) < tolerance_pt
                            for w in line), f"{e['text']!r} does not end at {end:.1f} pt")
