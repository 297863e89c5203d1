"""lumaro.exe under Wine, as the host starts it on Windows: printing through the
spooler onto the tests' PostScript printers (jobs turned into PDF by
Ghostscript), its window driven from outside under the null display driver,
and the faults of a practice's machine. Needs the windows build and its
prepared prefix (scripts/windows-tests.sh)."""

import json
import shutil
import tempfile
import time
from pathlib import Path

import placement
import wine
from common import (BAD_PICTURE, CAPTION, END, EXAMPLES, INI, NO_PRINTER, FolderTest, cp1252,
                    log_lines, pdf_pages, picture_certificate)

LINUX_TRACES = EXAMPLES.parent / "bench" / "expected-traces"
PRINTER = "Lumaro-Test"            # margins of a few millimetres, as office printers have
EDGES = "Lumaro-Test randlos"      # prints to the sheet's edges, like the PDF printer
PRINTER_ERROR = "MELDUNG [stop] Lumaro: Laufzeitfehler '482':\\n\\nDruckerfehler"

printers = wine.Printers()
scratch = None


def setUpModule():
    global scratch
    scratch = Path(tempfile.mkdtemp(prefix="lumaro-win-"))
    wine.ensure_server()
    standard_printers()


def tearDownModule():
    printers.set([])
    shutil.rmtree(scratch, ignore_errors=True)


def standard_printers(default=PRINTER):
    """Both test printers on the port FILE:, so that every job becomes a file
    of its own in the program folder's Ausdrucke (see gdi_print_device.h)."""
    printers.set([(PRINTER, "FILE:"), (EDGES, "FILE:", "Lumaro Test PS randlos")], default)


def linux_trace(name):
    return [json.loads(l) for l in
            (LINUX_TRACES / f"{name}.jsonl").read_text(encoding="utf-8").splitlines()]


def assert_same_drawing(test, ours, linux, folder, tolerance_mm):
    """The same events in the same order, each coordinate and size within
    tolerance_mm of Linux's; picture files named from the folder."""
    prefix = wine.winpath(folder) + "\\"
    numbers = ("x", "y", "x1", "y1", "x2", "y2", "w", "h")
    test.assertEqual(len(ours), len(linux))
    for a, b in zip(ours, linux):
        if "file" in a:
            a = dict(a, file="<FOLDER>/" + a["file"].removeprefix(prefix))
        test.assertEqual({k: v for k, v in a.items() if k not in numbers},
                         {k: v for k, v in b.items() if k not in numbers})
        for k in numbers:
            if k in b:
                test.assertAlmostEqual(a[k], b[k], delta=tolerance_mm, msg=(k, a, b))


class WindowsTest(FolderTest):
    def parent(self):
        return scratch

    def lumaro(self, *args, timeout=120):
        return wine.run(wine.LUMARO, "--folder", wine.winpath(self.folder), "--unattended",
                        "--trace", wine.winpath(self.trace_file), *args, timeout=timeout)

    def on_printer(self, names, *args, default=None):
        """The certificate printed with only these printers."""
        printers.set(names, default)
        try:
            self.example("besamung-standard")
            return self.lumaro(*args)
        finally:
            standard_printers()

    def jobs(self):
        """The PostScript files of the run's jobs, in job order."""
        return sorted((self.folder / "Ausdrucke").glob("*.prn"))

    def assert_job(self, ps, pages, orientation):
        """A job, whole: its pages, each A4 in the job's orientation."""
        self.assertTrue(ps.read_bytes().rstrip().endswith(b"%%EOF"), ps)
        pdf = wine.ps_to_pdf(ps)
        self.assertEqual(pdf_pages(pdf),
                         [(595.0, 842.0, 90 if orientation == 2 else 0)] * pages, ps)
        return pdf

    def assert_printed(self, r, jobs=1):
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse(any(self.folder.glob("*.xml")))
        self.assertEqual(len(self.jobs()), jobs)


class Printing(WindowsTest):
    def test_every_example_on_the_default_printer_and_on_the_pdf_printer(self):
        for name in sorted(p.name for p in EXAMPLES.iterdir()):
            with self.subTest(name):
                # On a printer with margins: every text of the trace in its job.
                self.fresh_folder()
                self.example(name)
                data = next(self.folder.glob("*.xml"))
                ini_before = (self.folder / "Halmor.ini").read_bytes()
                r = self.lumaro()
                self.assertEqual(self.messages(r), [])
                events = self.trace()
                jobs = [e for e in events if e["ev"] == "job"]
                ended = [e for e in events if e["ev"] == "enddoc" and e["pages"]]
                self.assertEqual([e["printer"] for e in jobs], [PRINTER] * len(jobs))
                self.assert_printed(r, len(jobs))
                for job, end, ps in zip(jobs, ended, self.jobs()):
                    pdf = self.assert_job(ps, end["pages"], job["orientation"])
                    placement.assert_placed(self, events, job, pdf)
                self.assert_log(name, data)
                # Halmor.ini: the host's bytes, then the picture holder's section.
                after = (self.folder / "Halmor.ini").read_bytes().split(b"[wdwGrafikSpeicher]")[0]
                self.assertEqual(after.rstrip(b"\r\n"), ini_before.rstrip(b"\r\n"))

                # The PDF printer, with Linux's font files: Linux's trace.
                self.fresh_folder()
                self.example(name)
                out = self.dir / "pdf" / name
                r = self.lumaro("--pdf", wine.winpath(out))
                self.assertEqual(r.returncode, 0, r.stderr)
                events = self.trace()
                assert_same_drawing(self, events, linux_trace(name), self.folder, 0.001)
                self.assertEqual([len(pdf_pages(p)) for p in sorted(out.glob("*.pdf"))],
                                 [e["pages"] for e in events if e["ev"] == "enddoc" and e["pages"]])

    def assert_log(self, name, data):
        # Named by the system's date (the Windows clock, read field by field).
        self.assertTrue((self.folder / time.strftime("%y_%m_%d.txt")).exists())
        lines = log_lines(self.folder)
        self.assertEqual(lines[0], f"  ***** Lumaro.exe, {CAPTION} wird gestartet *****")
        self.assertEqual(lines[1], f"      Parameter: --folder {wine.winpath(self.folder)} "
                         f"--unattended --trace {wine.winpath(self.trace_file)}")
        self.assertEqual(lines[2:7], [
            "      DruckerEinlesen wird ausgeführt.",
            f"          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = {PRINTER}",
            f"      FunktionenDrucker.general.SetPrinter wird ausgeführt. prnName = {PRINTER}",
            f"          SetPrinter result = True --> prnName wurde gefunden als 0 aus 0 bis 2"
            f" = {PRINTER}",
            "          SetPrinter result = True"])
        found = "Besamungsschein" if name.startswith("besamung") else "Medikamentenbeleg"
        self.assertIn(f"      {found} gefunden: {wine.winpath(data)}", lines)
        self.assertEqual(lines[-1], END)

    def test_a_file_port_gets_the_job_through_the_spooler_and_the_archive_a_copy(self):
        port, archive = self.dir / "port.ps", self.dir / "Archiv"
        r = self.on_printer([(PRINTER, port)], "--archive", wine.winpath(archive),
                            default=PRINTER)
        self.assert_printed(r, 0)
        wine.wait_for_job(port)
        text = wine.pdf_text(self.assert_job(port, 1, 1))
        for t in ("Bestätigung über die künstliche Besamung eines Rindes",
                  "Äußere Brunstsymptome", "45,50 €"):
            self.assertIn(t, text)
        # The archive's copy is made with GDI's font files (the PDF printer's).
        copies = list(archive.glob("*/*_Besamungsschein_LFBIS-1234567_Nr-2026-004117.pdf"))
        self.assertEqual([len(pdf_pages(c)) for c in copies], [1])
        self.assertIn("Äußere Brunstsymptome", wine.pdf_text(copies[0]))

    def test_a_sheet_without_margins_gets_the_layout_linux_gets(self):
        # The PDF printer's units: every call within 0.05 mm of the Linux trace.
        r = self.on_printer([(PRINTER, "FILE:"), (EDGES, "FILE:", "Lumaro Test PS randlos")],
                            default=EDGES)
        self.assertEqual(r.returncode, 0, r.stderr)
        linux = [dict(e, printer=EDGES) if e["ev"] == "job" else e
                 for e in linux_trace("besamung-standard")]
        assert_same_drawing(self, self.trace(), linux, self.folder, 0.05)


class RunControl(WindowsTest):
    def test_a_program_folder_and_a_trace_with_umlauts(self):
        # UTF-16 arguments into the log, the trace and the paths (Windows-1252).
        self.folder = self.folder.rename(self.dir / "Praxis Grünwald")
        self.trace_file = self.dir / "Spur für Grünwald.jsonl"
        self.example("besamung-standard")
        r = self.lumaro()
        self.assert_printed(r)
        self.assertEqual(self.trace()[-1], {"ev": "enddoc", "job": 1, "pages": 0})
        self.assertIn(f"      Parameter: --folder {wine.winpath(self.folder)} --unattended "
                      f"--trace {wine.winpath(self.trace_file)}", log_lines(self.folder))

    def test_started_beside_the_host_files_the_window_closes_by_its_timer(self):
        # As a practice installs it: lumaro.exe in the host's folder, started
        # there with no argument; after printing, its timer closes the window.
        self.example("besamung-standard")
        shutil.copy(wine.LUMARO, self.folder / "lumaro.exe")
        start = time.monotonic()
        run = wine.start(self.folder / "lumaro.exe")
        try:
            window = json.loads(wine.tool("window_driver", "window", CAPTION))
            out, err = wine.finish(run, 60)
        finally:
            run.kill()
        self.assertEqual(run.returncode, 0, err)
        self.assertGreaterEqual(time.monotonic() - start, 2)
        self.assertEqual(window["selected"], 0)
        self.assert_printed(run)
        lines = log_lines(self.folder)
        self.assertFalse(any("Parameter:" in l for l in lines))
        self.assertIn(f"      Besamungsschein gefunden: {wine.winpath(self.folder)}\\Besamung.xml",
                      lines)

    def test_window_shows_the_printers_saves_a_choice_and_closes_with_esc(self):
        self.host_files()
        run = wine.start(wine.LUMARO, "--folder", wine.winpath(self.folder))
        try:
            # Nothing to print: the message waits for its answer, then the
            # window for the user's choice.
            self.assertEqual(wine.tool("window_driver", "box", CAPTION).strip(),
                             "Bitte den Drucker einstellen und das Programm dann beenden.")
            window = json.loads(wine.tool("window_driver", "window", CAPTION))
            for x, size, screen in zip(window["outer"][:2], window["outer"][2:], window["screen"]):
                self.assertLessEqual(abs(x + size / 2 - screen / 2), 1, window)  # centred
            px = lambda twips: round(twips * window["dpi"] / 1440)  # the list and its margins
            self.assertEqual(window["client"], [px(840) + px(4335) + px(120),
                                                px(120) + px(360) + px(120)])
            self.assertEqual(window["items"], [PRINTER, EDGES, "Lumaro PDF"])
            self.assertEqual(window["selected"], 0)
            wine.tool("window_driver", "select", CAPTION, "1")
            chosen = cp1252(INI.replace("Labeldrucker=", "Labeldrucker=" + EDGES))
            deadline = time.monotonic() + 10
            while (self.folder / "Halmor.ini").read_bytes() != chosen:
                self.assertLess(time.monotonic(), deadline, "the choice was not saved")
                time.sleep(0.05)
            wine.tool("window_driver", "key", CAPTION, "27")
            out, err = wine.finish(run, 30)
        finally:
            run.kill()
        self.assertEqual(run.returncode, 1, err)
        self.assertEqual(self.messages(err), [])
        self.assertEqual(log_lines(self.folder)[-1], END)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), chosen)
        # The icon of title bar, task bar and Explorer, drawn for each size.
        self.assertEqual(wine.tool("window_driver", "icon", wine.winpath(wine.LUMARO)).split(),
                         ["16", "32", "48"])

    def test_without_a_display_the_run_goes_on_unattended(self):
        # Wine's X11 driver with no X server, as a machine without a desktop:
        # the messages go to standard error and the log says why.
        self.host_files()
        wine.set_graphics_driver("x11", self.dir)
        try:
            r = wine.run(wine.LUMARO, "--folder", wine.winpath(self.folder))
        finally:
            wine.set_graphics_driver("null", self.dir)
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertEqual(self.messages(r), [NO_PRINTER])
        lines = log_lines(self.folder)
        self.assertTrue(any(l.strip().startswith("Keine Anzeige vorhanden:") for l in lines), lines)
        self.assertEqual(lines[-1], END)

    def test_missing_ini_shows_its_box_and_ends(self):
        (self.folder / "Halmor.mdb").write_bytes(b"")
        run = wine.start(wine.LUMARO, "--folder", wine.winpath(self.folder))
        try:
            text = wine.tool("window_driver", "box", "Datei fehlt!")
            out, err = wine.finish(run, 30)
        finally:
            run.kill()
        self.assertEqual(run.returncode, 2, err)
        self.assertTrue(text.startswith(f"Im Ordner '{wine.winpath(self.folder)}' existiert "
                                        "keine Datei mit dem Namen 'halmor.ini'"), text)


class Faults(WindowsTest):
    def test_no_printer_or_a_default_printer_that_refuses_the_job(self):
        # No printer: the built-in PDF printer writes into Ausdrucke.
        r = self.on_printer([])
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = Lumaro PDF",
                      log_lines(self.folder))
        pdfs = sorted((self.folder / "Ausdrucke").glob("*.pdf"))
        self.assertEqual([len(pdf_pages(p)) for p in pdfs], [1])
        self.assertFalse((self.folder / "Besamung.xml").exists())
        # A port in a missing folder: the spooler refuses the job; the file stays.
        self.fresh_folder()
        r = self.on_printer([("Kaputt", self.dir / "fehlt" / "port.ps")], default="Kaputt")
        self.assertEqual(r.returncode, 3, r.stderr)
        self.assertEqual(self.messages(r), [PRINTER_ERROR])
        self.assertTrue((self.folder / "Besamung.xml").exists())
        self.assertIn("  Laufzeitfehler 482 (Druckerfehler) - Programm wird beendet",
                      log_lines(self.folder))
        self.assertFalse((self.dir / "fehlt").exists())

    def test_the_host_holding_its_data_file_open(self):
        # Shared fully it prints and goes; for reading, it prints and stays (the
        # log says so); not shared, it cannot be read and stays.
        for share, status, kept in (("all", 0, False), ("read", 0, True), ("none", 3, True)):
            with self.subTest(share):
                self.fresh_folder()
                self.example("besamung-standard")
                data = self.folder / "Besamung.xml"
                holder = wine.start(wine.TOOLS / "hold_file.exe", wine.winpath(data), share,
                                    pipes=True)
                try:
                    self.assertEqual(holder.stdout.readline().strip(), b"held")
                    r = self.lumaro()
                finally:
                    holder.communicate(timeout=30)
                self.assertEqual(r.returncode, status, r.stderr)
                self.assertEqual(data.exists(), kept)
                self.assertEqual(len(self.jobs()), 1 if status == 0 else 0)
                if share == "read":
                    self.assertIn(f"      Datei konnte nicht gelöscht werden: {wine.winpath(data)}",
                                  log_lines(self.folder))
                if status == 3:
                    self.assertEqual(self.messages(r), [
                        "MELDUNG [stop] Lumaro: Laufzeitfehler '75':\\n\\nFehler beim Zugriff "
                        "auf Pfad/Datei"])

    def test_a_read_only_ini_is_left_as_it_is_and_the_document_still_prints(self):
        self.example("besamung-standard")
        ini = self.folder / "Halmor.ini"
        before = ini.read_bytes()
        ini.chmod(0o444)  # Windows' read-only attribute under Wine
        r = self.lumaro()
        self.assert_printed(r)
        self.assertEqual(self.messages(r), [])
        self.assertEqual(ini.read_bytes(), before)
        self.assertEqual([p.name for p in self.folder.iterdir() if p.name.startswith(".")], [])

    def test_a_picture_that_is_no_picture(self):
        for first, status, message in BAD_PICTURE:
            with self.subTest(first=first):
                self.fresh_folder()
                self.host_files()
                (self.folder / "bild.png").write_bytes(b"Dies ist kein Bild.\r\n")
                (self.folder / "Besamung.xml").write_bytes(picture_certificate(first))
                r = self.lumaro()
                self.assertEqual(r.returncode, status, r.stderr)
                self.assertEqual(self.messages(r), [message])
                self.assertEqual((self.folder / "Besamung.xml").exists(), status != 0)
