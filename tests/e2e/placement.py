"""The texts a trace says were drawn, as pdftotext finds them in the PDF: every
word, and where a text's first and last words begin and end on the sheet."""

import html
import re
import subprocess

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
            pages[page].append((*map(float, m.groups()[:4]), html.unescape(m.group(5))))
    return pages


def assert_placed(test, events, job, pdf, area=None, tolerance_pt=0):
    """Every text of the job (its `job` event) on its page and, with area (the
    printable area's width, height, left, top in millimetres, portrait), where
    the trace puts it. An end with blanks is only checked to lie in the span."""
    area_w, area_h, left, top = area or (1, 1, 0, 0)
    kx, ky = area_w / job["scaleWidth"], area_h / job["scaleHeight"]
    if job["orientation"] == 2:
        kx, ky = area_h / job["scaleWidth"], area_w / job["scaleHeight"]
    words = pdf_words(pdf)
    for e in (e for e in events if e["ev"] == "text" and e["job"] == job["job"]):
        stripped = e["text"].strip()
        if not stripped or e["x"] < 0 or (e["x"] + e["w"]) > job["scaleWidth"]:
            continue
        on_page = " ".join(w[4] for w in words[e["page"]])
        for word in stripped.split():
            test.assertIn(word, on_page, e)
        if not area:
            continue
        start, end = (left + e["x"] * kx) * MM, (left + (e["x"] + e["w"]) * kx) * MM
        line = [w for w in words[e["page"]]
                if (top + e["y"] * ky) * MM - 1 <= w[3] <= (top + (e["y"] + e["h"]) * ky) * MM + 1]
        first, last = stripped.split()[0], stripped.split()[-1]

        def near(x, want, blanks):
            return start - tolerance_pt < x < end + tolerance_pt if blanks else (
                abs(x - want) < tolerance_pt)

        test.assertTrue(any(w[4].startswith(first) and near(w[0], start, e["text"][0].isspace())
                            for w in line), f"{e['text']!r} does not start at {start:.1f} pt")
        test.assertTrue(any(w[4].endswith(last) and near(w[2], end, e["text"][-1].isspace())
                            for w in line), f"{e['text']!r} does not end at {end:.1f} pt")
