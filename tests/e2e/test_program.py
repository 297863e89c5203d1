"""The real program as the host starts it, printing through a private CUPS
server or the built-in PDF printer."""

import datetime
import os
import re
import shutil
import subprocess
from pathlib import Path

import placement
from common import (END, EXAMPLES, INI, NO_PRINTER, FolderTest, cp1252, log_lines, pdf_pages,
                    picture_certificate)
from cups_server import CupsServer

LUMARO = os.environ.get("LUMARO_BIN", "build/release/lumaro")
DPI = 100  # Ghostscript's renderings, in which colours are checked
cups = None


def setUpModule():
    global cups
    cups = CupsServer()
    cups.start()


def tearDownModule():
    cups.stop()


def lumaro_env(home, server=None, display=False, extra=None):
    """display=False: Qt's offscreen platform; None: no display named at all."""
    env = (server or cups).env() if server is not False else dict(os.environ)
    env["HOME"] = str(home)  # no lpoptions of the machine's user
    for k in ("LUMARO_FOLDER", "LUMARO_PDF", "LUMARO_UNATTENDED", "LUMARO_TRACE",
              "LUMARO_ARCHIVE", "LPDEST", "PRINTER", "DISPLAY", "WAYLAND_DISPLAY",
              "QT_QPA_PLATFORM"):
        env.pop(k, None)
    if display is False:
        env["QT_QPA_PLATFORM"] = "offscreen"
    env.update(extra or {})
    return env


class ProgramTest(FolderTest):
    def run_lumaro(self, *args, env_extra=None, server=None, display=False):
        """server=False: no CUPS server named."""
        return subprocess.run([LUMARO, *args], env=lumaro_env(self.dir, server, display, env_extra),
                              capture_output=True, timeout=120)

    def run_in_folder(self, *args, **kw):
        return self.run_lumaro("--folder", str(self.folder), "--unattended", *args, **kw)


class PracticeSetUps(ProgramTest):
    def test_usage_errors_and_missing_ini_touch_nothing(self):
        (self.folder / "Halmor.mdb").write_bytes(b"")
        r = self.run_in_folder()
        self.assertEqual(r.returncode, 2, r.stderr)
        self.assertIn(f"MELDUNG [stop] Datei fehlt!: Im Ordner '{self.folder}' existiert keine "
                      "Datei mit dem Namen 'halmor.ini' die aber für den Druck benötigt wird.",
                      r.stderr.decode())
        self.assertEqual(log_lines(self.folder)[-1], END)
        self.fresh_folder()
        self.host_files()
        data = self.folder / "Besamung.xml"
        data.write_bytes(b"<Anzahl>1</Anzahl>")
        missing = self.dir / "Halmro"
        for args, said in (
                (["--folder"], "--folder braucht einen Wert"),
                # A mistyped option must not run the document in another folder.
                (["--fodler", "x", "--unattended"], "unbekannte Option --fodler"),
                (["--folder", str(missing), "--unattended"],
                 f'Der Programmordner "{missing}" (--folder) existiert nicht oder ist kein '
                 "Ordner.")):
            # Started where the program would find another folder's files.
            r = self.run_lumaro(*args, env_extra={"LUMARO_FOLDER": str(self.folder)})
            self.assertEqual(r.returncode, 64, args)
            self.assertIn(said, r.stderr.decode(), args)
            self.assertIn("Aufruf: lumaro [--folder DIR]", r.stderr.decode(), args)
        for args, out in ((["--help"], "Aufruf: lumaro [--folder DIR] [--pdf DIR] [--unattended] "
                           "[--trace FILE] [--archive DIR]"), (["--version"], "Lumaro ")):
            r = self.run_lumaro(*args, env_extra={"LUMARO_FOLDER": str(self.folder)})
            self.assertEqual((r.returncode, r.stdout.decode()[:len(out)]), (0, out), args)
        self.assertEqual(log_lines(self.folder), [])
        self.assertTrue(data.exists())
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(INI))
        # With the host files, a certificate without form: its message, then it goes.
        r = self.run_in_folder("--pdf", str(self.dir / "pdf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse(data.exists())
        self.assertIn("MELDUNG [stop] Keine Formulardaten für Besamungsschein: Der Besamungsschein"
                      " enthält keine Formulardaten", r.stderr.decode())

    def test_without_a_default_the_record_avoids_the_label_printer(self):
        # CUPS lists its queues by name, so the label printer comes first.
        server = CupsServer(queues=["A-Etiketten", "B-Buero"], default=None)
        server.start()
        try:
            self.example("a4-milchviehbetrieb")
            ini = INI.replace("Labeldrucker=", "Labeldrucker=A-Etiketten")
            (self.folder / "Halmor.ini").write_bytes(cp1252(ini))
            r = self.run_in_folder(server=server)
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertEqual([len(pdf_pages(j)) for j in server.received(1, queue="B-Buero")], [3])
            self.assertEqual(server.received(0, timeout=0), [])
        finally:
            server.stop()
        self.assertEqual(
            log_lines(self.folder)[2:5],
            ["      DruckerEinlesen wird ausgeführt.",
             "          Kein Standarddrucker im System; die Dokumente gehen an B-Buero, den "
             "ersten Drucker, der nicht der Labeldrucker A-Etiketten ist.",
             "          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = B-Buero"])
        self.assertFalse((self.folder / "WZBeleg.xml").exists())
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(ini))

    def test_scheduler_down_puts_the_pdf_into_ausdrucke_and_says_where(self):
        self.example("besamung-standard")
        data = self.folder / "Besamung.xml"
        dead = {"CUPS_SERVER": str(self.dir / "no-cups.sock")}
        r = self.run_in_folder(env_extra=dead)
        self.assertEqual(r.returncode, 0, r.stderr)
        pdfs = sorted((self.folder / "Ausdrucke").glob("*.pdf"))
        self.assertEqual([len(pdf_pages(p)) for p in pdfs], [1])  # complete
        self.assertIn("MELDUNG [information] Lumaro PDF: Das Dokument wurde nicht auf Papier "
                      f"gedruckt, sondern als PDF-Datei gespeichert:\\n{pdfs[0]}",
                      r.stderr.decode().splitlines())
        lines = log_lines(self.folder)
        self.assertIn("          Kein Drucker im System; die Dokumente werden als PDF-Dateien im "
                      "Ordner Ausdrucke gespeichert.", lines)
        said = lines.index(f"      Dokument als PDF-Datei gespeichert: {pdfs[0]}")
        self.assertGreater(said, lines.index(f"      Besamungsschein gefunden: {data}"))
        self.assertFalse(data.exists())
        # The file goes only once its PDF is complete: a PDF that cannot be
        # written (Ausdrucke is a file) keeps it, and nothing is announced.
        shutil.rmtree(self.folder / "Ausdrucke")
        (self.folder / "Ausdrucke").write_bytes(b"")
        for name, data_file, status in (("besamung-standard", "Besamung.xml", 3),
                                        ("a4-milchviehbetrieb", "WZBeleg.xml", 1)):
            with self.subTest(name):
                shutil.copy(EXAMPLES / name / data_file, self.folder)
                r = self.run_in_folder(env_extra=dead)
                err = r.stderr.decode()
                self.assertEqual(r.returncode, status, err)
                self.assertTrue((self.folder / data_file).exists())
                self.assertIn("Fehler 482 (Druckerfehler)", err)
                self.assertNotIn("MELDUNG [information] Lumaro PDF", err)
                (self.folder / data_file).unlink()

    def test_a_saved_label_printer_that_is_absent_stays_byte_for_byte(self):
        ini = ("; Halmor\r\n[Drucker]\r\nLabeldrucker=Zebra USB\r\n"
               "[Allgemein]\r\nPraxis=Tierarztpraxis Grünwald\r\n")
        (self.folder / "Halmor.mdb").write_bytes(b"")
        (self.folder / "Halmor.ini").write_bytes(cp1252(ini))
        # Nothing to print (the window waits), then printed (the timer ends it).
        for status in (1, 0):
            r = self.run_in_folder("--pdf", str(self.dir / "pdf"))
            self.assertEqual(r.returncode, status, r.stderr)
            self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(ini))
            shutil.copy(EXAMPLES / "2xa5-seitenwechsel" / "WZBeleg.xml", self.folder)

    def test_without_a_display_the_run_goes_on_unattended(self):
        for name, env in (("none named", {}), ("one that is not there", {"DISPLAY": ":97"})):
            with self.subTest(name):
                self.fresh_folder()
                self.example("besamung-standard")
                jobs_before = len(cups.received(0, timeout=0))
                r = self.run_lumaro("--folder", str(self.folder), display=None, env_extra=env)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertFalse((self.folder / "Besamung.xml").exists())
                self.assertEqual(len(cups.received(jobs_before + 1)), jobs_before + 1)
                lines = log_lines(self.folder)
                self.assertEqual(
                    [l for l in lines if "Keine Anzeige" in l],
                    ["      Keine Anzeige vorhanden: das Programm läuft ohne Fenster und ohne "
                     "Rückfragen wie mit --unattended; Meldungen gehen auf die "
                     "Standardfehlerausgabe und in dieses Protokoll."])
                self.assertEqual(lines[-1], END)
        # Nothing to print: the message on standard error and in the day log.
        r = self.run_lumaro("--folder", str(self.folder), display=None)
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertIn(NO_PRINTER, self.messages(r))
        self.assertIn("      " + NO_PRINTER, log_lines(self.folder))

    def test_host_files_in_capitals_are_found_and_logged_as_found(self):
        (self.folder / "HALMOR.INI").write_bytes(cp1252(INI))
        (self.folder / "HALMOR.MDB").write_bytes(b"")
        data = self.folder / "WZBELEG.XML"
        shutil.copy(EXAMPLES / "2xa5-seitenwechsel" / "WZBeleg.xml", data)
        out = self.dir / "pdf"
        r = self.run_in_folder("--pdf", str(out))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn(f"      Medikamentenbeleg gefunden: {data}", log_lines(self.folder))
        self.assertFalse(data.exists())
        self.assertEqual([len(pdf_pages(p)) for p in out.glob("*.pdf")], [1])
        self.assertEqual((self.folder / "HALMOR.INI").read_bytes(), cp1252(INI))
        self.assertFalse((self.folder / "Halmor.ini").exists())

    def test_every_job_on_paper_is_also_archived_as_pdf_and_logged(self):
        self.example("a4-milchviehbetrieb")
        ini = (self.folder / "Halmor.ini").read_bytes()
        (self.folder / "Halmor.ini").write_bytes(ini + b"[Lumaro]\r\nArchivordner=Archiv\r\n")
        jobs_before = len(cups.received(0, timeout=0))
        r = self.run_in_folder()
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse((self.folder / "WZBeleg.xml").exists())
        job = cups.received(jobs_before + 1)[jobs_before]
        copies = list((self.folder / "Archiv" / str(datetime.date.today().year)).glob("*.pdf"))
        self.assertEqual(len(copies), 1)
        self.assertRegex(copies[0].name,
                         r"^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_Wartezeiten-A4_LFBIS-\d+_Nr-.+\.pdf$")
        lines = log_lines(self.folder)
        self.assertIn(f"      Archivordner: {self.folder / 'Archiv'}", lines)
        self.assertIn(f"          Archivkopie geschrieben: {copies[0]}", lines)
        # The copy holds the job as it went to paper: same sheets, real text.
        self.assertEqual(len(pdf_pages(copies[0])), len(pdf_pages(job)))
        text = subprocess.run(["pdftotext", str(copies[0]), "-"], capture_output=True).stdout
        self.assertIn("Aufzeichnungen über Anwendung".encode(), text)


class ExamplePdfs(ProgramTest):
    def test_every_example_is_a_valid_pdf_with_each_text_where_the_trace_has_it(self):
        for name in sorted(p.name for p in EXAMPLES.iterdir() if (p / "Halmor.ini").exists()):
            with self.subTest(name):
                work = self.dir / name
                shutil.copytree(EXAMPLES / name, work / "folder")
                out, trace = work / "pdf", work / "trace.jsonl"
                r = self.run_lumaro("--folder", str(work / "folder"), "--pdf", str(out),
                                    "--unattended", "--trace", str(trace), server=False)
                self.assertEqual(r.returncode, 0, r.stderr)
                events = self.trace(trace)
                jobs = [e for e in events if e["ev"] == "job"]
                pdfs = sorted(out.glob("*.pdf"))
                self.assertEqual(len(pdfs), len(jobs))
                for job, pdf in zip(jobs, pdfs):
                    check = subprocess.run(["qpdf", "--check", str(pdf)], capture_output=True)
                    self.assertEqual(check.returncode, 0, check.stdout)
                    fonts = subprocess.run(["pdffonts", str(pdf)], capture_output=True,
                                           text=True).stdout.splitlines()[2:]
                    self.assertTrue(fonts)
                    for font in fonts:  # embedded, subset, with a Unicode map
                        self.assertRegex(font, r"\+\S+\s+CID TrueType\s+Identity-H\s+yes yes yes")
                    placement.assert_placed(self, events, job, pdf, (210, 297, 0, 0),
                                            0.2 * placement.MM)
                    # Every filled box in its colour (the host's colours are BGR), at
                    # least along most of its edges (texts may stand on it).
                    pages = self.render(pdf, work / f"job{job['job']}")
                    for e in events:
                        if (e["ev"] == "box" and e["job"] == job["job"] and e["filled"]
                                and e["y2"] - e["y1"] > 2):
                            c = e["color"]
                            rgb = (c & 255, c >> 8 & 255, c >> 16)
                            row = [self.colour(pages[e["page"] - 1], e["x1"] + i / 2, y)
                                   for i in range(1, int(2 * (e["x2"] - e["x1"])))
                                   for y in (e["y1"] + 0.4, e["y2"] - 0.4)]
                            close = [p for p in row if max(map(abs, map(int.__sub__, p, rgb))) < 40]
                            self.assertGreater(len(close), len(row) / 2, (e, row))

    def render(self, pdf, prefix):
        """Ghostscript's pages of pdf (it must not say a word): [(width, pixels)]."""
        gs = subprocess.run(["gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=ppmraw",
                             f"-r{DPI}", f"-sOutputFile={prefix}-%d.ppm", str(pdf)],
                            capture_output=True)
        self.assertEqual((gs.returncode, gs.stdout + gs.stderr), (0, b""))
        pages = []
        for n in range(1, len(pdf_pages(pdf)) + 1):
            data = Path(f"{prefix}-{n}.ppm").read_bytes()
            m = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+255\s", data)
            pages.append((int(m.group(1)), data[m.end():]))
        return pages

    def colour(self, page, x_mm, y_mm):
        width, pixels = page
        at = (round(y_mm / 25.4 * DPI) * width + round(x_mm / 25.4 * DPI)) * 3
        return tuple(pixels[at:at + 3])

    def test_a_jpeg_goes_in_unchanged_and_pictures_keep_their_colours(self):
        # The examples' logos are PNG files; a practice's may be a JPEG.
        jpeg = (EXAMPLES.parent / "pdf" / "testdata" / "red_blue.jpg").read_bytes()
        self.host_files()
        (self.folder / "bild.png").write_bytes(jpeg)
        (self.folder / "Besamung.xml").write_bytes(picture_certificate(True))
        out = self.dir / "pdf"
        r = self.run_in_folder("--pdf", str(out), server=False)
        self.assertEqual(r.returncode, 0, r.stderr)
        pdf = next(out.glob("*.pdf"))
        subprocess.run(["pdfimages", "-j", str(pdf), str(self.dir / "i")], check=True)
        self.assertEqual([p.read_bytes() for p in self.dir.glob("i-*")], [jpeg])
        # Drawn at 10, 10 in 30 x 20 mm: left half red, right half blue.
        page = self.render(pdf, self.dir / "page")[0]
        for x, rgb in ((15, (255, 0, 0)), (35, (0, 0, 255))):
            for got, want in zip(self.colour(page, x, 20), rgb):
                self.assertAlmostEqual(got, want, delta=40, msg=x)
