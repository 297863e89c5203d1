"""What the end-to-end tests of both systems share."""

import json
import re
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

EXAMPLES = Path(__file__).resolve().parents[2] / "examples"
CAPTION = "Druckfunktion für Tierärzte - Version 26. September 2010"
INI = "[Allgemein]\r\nPraxis=Tierarztpraxis Grünwald\r\n[Drucker]\r\nLabeldrucker=\r\n"
END = "  +++++ Programm Lumaro wird beendet +++++"
# A picture that is none before any text of the form: the form's handler reports
# it, the job ends, the file goes; after a text the run ends, the file stays.
BAD_PICTURE = ((True, 0, "MELDUNG [stop] Lumaro: Fehler 481 (Ungültiges Bild) in Prozedur "
                "XMLVorlageHinzufuegen im Modul FunktionenDrucker"),
               (False, 3, "MELDUNG [stop] Lumaro: Laufzeitfehler '481':\\n\\nUngültiges Bild"))
NO_PRINTER = (f"MELDUNG [information] {CAPTION}: Bitte den Drucker einstellen und das Programm "
              "dann beenden.")


def cp1252(text):
    return text.encode("cp1252")


def log_lines(folder):
    """The day logs' lines without their times (every line has one and ends
    in CR LF); a test that crosses midnight reads both days."""
    lines = []
    for f in sorted(Path(folder).glob("[0-9][0-9]_[0-9][0-9]_[0-9][0-9].txt")):
        raw = f.read_bytes()
        assert raw.endswith(b"\r\n"), "log line without CR LF"
        for line in raw.split(b"\r\n")[:-1]:
            assert line[:8].decode("ascii").count(":") == 2, line
            lines.append(line[8:].decode("cp1252"))
    return lines


def entry(typ, oben, links, wortlaut, extra=""):
    return (f"<FormularDaten><Typ>{typ}</Typ><oben>{oben}</oben><links>{links}</links>"
            f"<Groesse>10</Groesse><Wortlaut>{wortlaut}</Wortlaut>{extra}</FormularDaten>")


def picture_certificate(picture_first):
    """A certificate: the picture bild.png before (or after) its one text."""
    picture = entry("Grafik", 10, 10, "bild.png", "<Breite>30</Breite><Hoehe>20</Hoehe>")
    text = entry("Text", 40, 10, "Besamungsschein")
    return cp1252("<Anzahl>1</Anzahl>" + (picture + text if picture_first else text + picture))


def pdf_pages(pdf):
    """[(width_pt, height_pt, rotation)] of each page (pdfinfo fails on a broken PDF)."""
    out = subprocess.run(["pdfinfo", "-f", "1", "-l", "999", str(pdf)], capture_output=True,
                         text=True, check=True).stdout
    sizes = re.findall(r"Page +\d+ size: +([\d.]+) x ([\d.]+)", out)
    rots = re.findall(r"Page +\d+ rot: +(\d+)", out)
    return [(float(w), float(h), int(r)) for (w, h), r in zip(sizes, rots)]


class FolderTest(unittest.TestCase):
    """A program folder of its own under a fresh temporary folder."""

    def parent(self):
        return None  # the system's temporary folder

    def setUp(self):
        self.dir = Path(tempfile.mkdtemp(prefix="lumaro-e2e-", dir=self.parent()))
        self.dir.chmod(0o755)  # reachable for the user nobody, when a test drops privileges
        self.folder = self.dir / "Halmor"
        self.folder.mkdir()
        self.trace_file = self.dir / "t.jsonl"

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def host_files(self):
        (self.folder / "Halmor.ini").write_bytes(cp1252(INI))
        (self.folder / "Halmor.mdb").write_bytes(b"")

    def fresh_folder(self):
        shutil.rmtree(self.folder)
        self.folder.mkdir()

    def example(self, name):
        shutil.copytree(EXAMPLES / name, self.folder, dirs_exist_ok=True)

    def trace(self, path=None):
        text = (path or self.trace_file).read_text(encoding="utf-8")
        return [json.loads(l) for l in text.splitlines()]

    def messages(self, r):
        err = r if isinstance(r, bytes) else r.stderr
        return [l for l in err.decode("utf-8", "replace").splitlines() if l.startswith("MELDUNG ")]
