"""End-to-end tests of the real program: started as the host starts it (in a
program folder, no dialogue with --unattended), printing through a private CUPS
server or the built-in PDF printer."""

import datetime
import os
import shutil
import subprocess

import placement
from common import (CAPTION, END, EXAMPLES, INI, NO_PRINTER, FolderTest, cp1252, entry,
                    log_lines, pdf_pages)
from cups_server import CupsServer

LUMARO = os.environ.get("LUMARO_BIN", "build/release/lumaro")
cups = None


def setUpModule():
    global cups
    cups = CupsServer()
    cups.start()


def tearDownModule():
    cups.stop()


class ProgramTest(FolderTest):
    def run_lumaro(self, *args, env_extra=None, use_cups=True, server=None, display=False):
        """display=False: Qt's offscreen platform, as a test machine has no
        display; None: no display named at all (no DISPLAY, WAYLAND_DISPLAY
        or QT_QPA_PLATFORM), as on a machine started without one."""
        env = (server or cups).env() if use_cups else dict(os.environ)
        env["HOME"] = str(self.dir)  # no lpoptions of the machine's user
        for k in ("LUMARO_FOLDER", "LUMARO_PDF", "LUMARO_UNATTENDED", "LUMARO_TRACE",
                  "LUMARO_ARCHIVE", "LPDEST", "PRINTER", "DISPLAY", "WAYLAND_DISPLAY",
                  "QT_QPA_PLATFORM"):
            env.pop(k, None)
        if display is False:
            env["QT_QPA_PLATFORM"] = "offscreen"
        env.update(env_extra or {})
        return subprocess.run([LUMARO, *args], env=env, capture_output=True, timeout=120)


class RunControl(ProgramTest):
    def test_normal_start_against_cups_logs_the_run_and_printer_choice(self):
        self.host_files()
        r = self.run_lumaro("--folder", str(self.folder), "--unattended")
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertEqual(
            log_lines(self.folder),
            [f"  ***** Lumaro.exe, {CAPTION} wird gestartet *****",
             f"      Parameter: --folder {self.folder} --unattended",
             "      DruckerEinlesen wird ausgeführt.",
             "          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = Lumaro-Test",
             "      FunktionenDrucker.general.SetPrinter wird ausgeführt. prnName = Lumaro-Test",
             "          SetPrinter result = True --> prnName wurde gefunden als 0 aus 0 bis 1"
             " = Lumaro-Test",
             "          SetPrinter result = True", END])
        self.assertIn(NO_PRINTER, self.messages(r))
        # Nobody chose in the list: the end of the run writes nothing.
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(INI))

    def test_missing_ini_ends_with_the_message_and_exit_2(self):
        (self.folder / "Halmor.mdb").write_bytes(b"")
        r = self.run_lumaro("--folder", str(self.folder), "--unattended", "--trace",
                            str(self.trace_file))
        self.assertEqual(r.returncode, 2, r.stderr)
        expected_text = (
            f"Im Ordner '{self.folder}' existiert keine Datei mit dem Namen 'halmor.ini' die aber"
            " für den Druck benötigt wird.\n\nSchliessen Sie alle Programme und verschieben Sie "
            "diese Datei aus dem Windows-Ordner (c:\\Windows oder c:\\NT) in den Ordner wo "
            "Tessnar-Halmor läuft.\nDies sollte c:\\Tessnar sein. Die Verwendung eines anderen "
            "Ordners erfolgt auf eigene Gefahr!")
        line = "MELDUNG [stop] Datei fehlt!: " + expected_text.replace("\n", "\\n")
        self.assertIn(line, r.stderr.decode().splitlines())
        messages = [e for e in self.trace() if e["ev"] == "message"]
        self.assertEqual(messages, [{"ev": "message", "title": "Datei fehlt!",
                                     "text": expected_text, "icon": "stop"}])
        lines = log_lines(self.folder)
        self.assertEqual(len(lines), 3)  # start, parameters, end
        self.assertEqual(lines[-1], END)
        self.assertFalse((self.folder / "Halmor.ini").exists())

    def test_help_version_and_usage_errors_touch_nothing(self):
        self.host_files()
        data = self.folder / "Besamung.xml"
        data.write_bytes(b"<Anzahl>1</Anzahl>")
        usage = "Aufruf: lumaro [--folder DIR]"
        missing = self.dir / "Halmro"
        for args, env, status, said in (
                (["--help"], {}, 0, None), (["--version"], {}, 0, None),
                (["--folder"], {}, 64, "--folder braucht einen Wert"),
                (["--unattended", "--pdf"], {}, 64, "--pdf braucht einen Wert"),
                # A mistyped option must not run the document in another folder.
                (["--fodler", "x", "--unattended"], {}, 64, "unbekannte Option --fodler"),
                (["--folder", str(missing), "--unattended"], {}, 64,
                 f'Der Programmordner "{missing}" (--folder) existiert nicht oder ist kein '
                 "Ordner."),
                ([], {"LUMARO_FOLDER": str(missing), "LUMARO_UNATTENDED": "1"}, 64,
                 f'Der Programmordner "{missing}" (LUMARO_FOLDER) existiert nicht'),
                (["--folder", str(data), "--unattended"], {}, 64, "ist kein Ordner")):
            env = {"LUMARO_FOLDER": str(self.folder), **env}
            # Started where the program would find another folder's files.
            r = self.run_lumaro(*args, env_extra=env)
            self.assertEqual(r.returncode, status, args)
            if said:
                err = r.stderr.decode()
                self.assertIn(said, err, args)
                self.assertIn(usage, err, args)
        self.assertEqual(log_lines(self.folder), [])
        self.assertTrue(data.exists())
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(INI))

    def test_environment_variables_stand_for_the_options(self):
        self.host_files()
        out = self.dir / "pdf"
        r = self.run_lumaro(env_extra={"LUMARO_FOLDER": str(self.folder), "LUMARO_PDF": str(out),
                                       "LUMARO_UNATTENDED": "1"})
        self.assertEqual(r.returncode, 1, r.stderr)
        lines = log_lines(self.folder)
        # No argument, so no parameter line; the built-in printer is current.
        self.assertFalse(any("Parameter:" in l for l in lines))
        self.assertIn("          DruckerEinlesen wurde ausgeführt: Printer.DeviceName = Lumaro PDF",
                      lines)


class PracticeSetUps(ProgramTest):
    """What practices meet: printers without a default, a scheduler that is
    down, a label printer switched off, no display, host files in capitals."""

    def test_without_a_default_the_record_avoids_the_label_printer(self):
        # CUPS lists its queues by name, so the label printer comes first.
        server = CupsServer(queues=["A-Etiketten", "B-Buero"], default=None)
        server.start()
        try:
            self.example("a4-milchviehbetrieb")
            ini = INI.replace("Labeldrucker=", "Labeldrucker=A-Etiketten")
            (self.folder / "Halmor.ini").write_bytes(cp1252(ini))
            r = self.run_lumaro("--folder", str(self.folder), "--unattended", server=server)
            self.assertEqual(r.returncode, 0, r.stderr)
            office_jobs = server.received(1, queue="B-Buero")
            label_jobs = server.received(0, timeout=0)
            self.assertEqual(len(office_jobs), 1)
            self.assertEqual(pdf_pages(office_jobs[0]), 3)
        finally:
            server.stop()
        self.assertEqual(label_jobs, [])
        lines = log_lines(self.folder)
        self.assertEqual(
            lines[2:5],
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
        r = self.run_lumaro("--folder", str(self.folder), "--unattended", env_extra=dead)
        self.assertEqual(r.returncode, 0, r.stderr)
        pdfs = sorted((self.folder / "Ausdrucke").glob("*.pdf"))
        self.assertEqual(len(pdfs), 1)
        self.assertEqual(pdf_pages(pdfs[0]), 1)  # complete
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
        # written (Ausdrucke is a file here) keeps it, and nothing is announced.
        # The certificate's form begins with its logo, whose printer error the
        # form routine only logs; the end of the job reports it all the same.
        shutil.rmtree(self.folder / "Ausdrucke")
        (self.folder / "Ausdrucke").write_bytes(b"")
        record = self.folder / "WZBeleg.xml"
        for name, data_file, status in (("besamung-standard", data, 3),
                                        ("a4-milchviehbetrieb", record, 1)):
            with self.subTest(name):
                shutil.copy(EXAMPLES / name / data_file.name, data_file)
                r = self.run_lumaro("--folder", str(self.folder), "--unattended",
                                    env_extra=dead)
                err = r.stderr.decode()
                self.assertEqual(r.returncode, status, err)
                self.assertTrue(data_file.exists())
                self.assertIn("Fehler 482 (Druckerfehler)", err)
                self.assertNotIn("MELDUNG [information] Lumaro PDF", err)
                data_file.unlink()

    def test_a_saved_label_printer_that_is_absent_stays_byte_for_byte(self):
        ini = ("; Halmor\r\n[Drucker]\r\nLabeldrucker=Zebra USB\r\n"
               "[Allgemein]\r\nPraxis=Tierarztpraxis Grünwald\r\n")
        (self.folder / "Halmor.mdb").write_bytes(b"")
        (self.folder / "Halmor.ini").write_bytes(cp1252(ini))
        # Nothing to print (the window waits, here ended at once), then a record
        # printed and the window closed by the exit timer.
        r = self.run_lumaro("--folder", str(self.folder), "--unattended")
        self.assertEqual(r.returncode, 1, r.stderr)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(ini))
        shutil.copy(EXAMPLES / "2xa5-seitenwechsel" / "WZBeleg.xml", self.folder)
        r = self.run_lumaro("--folder", str(self.folder), "--unattended",
                            "--pdf", str(self.dir / "pdf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), cp1252(ini))

    def test_without_a_display_the_run_goes_on_unattended(self):
        for name, env in (("none named", {}), ("one that is not there", {"DISPLAY": ":97"})):
            with self.subTest(name):
                self.example("besamung-standard")
                data = self.folder / "Besamung.xml"
                jobs_before = len(cups.received(0, timeout=0))
                r = self.run_lumaro("--folder", str(self.folder), display=None, env_extra=env)
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertFalse(data.exists())
                self.assertEqual(len(cups.received(jobs_before + 1)), jobs_before + 1)
                lines = log_lines(self.folder)
                self.assertEqual(
                    [l for l in lines if "Keine Anzeige" in l],
                    ["      Keine Anzeige vorhanden: das Programm läuft ohne Fenster und ohne "
                     "Rückfragen wie mit --unattended; Meldungen gehen auf die "
                     "Standardfehlerausgabe und in dieses Protokoll."])
                self.assertEqual(lines[-1], END)
                for f in self.folder.glob("[0-9][0-9]_[0-9][0-9]_[0-9][0-9].txt"):
                    f.unlink()
        # Nothing to print: the message on standard error and in the day log,
        # exit 1.
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
        r = self.run_lumaro("--folder", str(self.folder), "--unattended", "--pdf", str(out))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn(f"      Medikamentenbeleg gefunden: {data}", log_lines(self.folder))
        self.assertFalse(data.exists())
        self.assertEqual([pdf_pages(p) for p in out.glob("*.pdf")], [1])
        self.assertEqual((self.folder / "HALMOR.INI").read_bytes(), cp1252(INI))
        self.assertFalse((self.folder / "Halmor.ini").exists())


class Printing(ProgramTest):
    def test_certificate_goes_through_cups_and_the_file_is_deleted(self):
        self.example("besamung-standard")
        data = self.folder / "Besamung.xml"
        ini_before = (self.folder / "Halmor.ini").read_bytes()
        jobs_before = len(cups.received(0, timeout=0))
        r = self.run_lumaro("--folder", str(self.folder), "--unattended")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse(data.exists())
        jobs = cups.received(jobs_before + 1)
        self.assertEqual(len(jobs), jobs_before + 1)
        self.assertEqual(pdf_pages(jobs[-1]), 1)
        self.assertIn(f"      Besamungsschein gefunden: {data}", log_lines(self.folder))
        # The logo drew through the picture holder, which keeps its marks in the
        # host's INI file; every byte of the host's own settings stays.
        ini_after = (self.folder / "Halmor.ini").read_bytes()
        self.assertIn(b"[wdwGrafikSpeicher]", ini_after)
        self.assertIn("AufrufZähler=1".encode("cp1252"), ini_after)
        host_part = ini_before.split(b"[Drucker]")[0]
        self.assertTrue(ini_after.startswith(host_part))

    def test_error_after_drawing_discards_the_job_and_keeps_the_file(self):
        self.host_files()
        data = self.folder / "Besamung.xml"
        data.write_bytes(cp1252(entry("Text", 20, 15, "Kopf") + entry("Text", "zwanzig", 15, "x")))
        out = self.dir / "pdf"
        r = self.run_lumaro("--folder", str(self.folder), "--pdf", str(out), "--unattended",
                            "--trace", str(self.trace_file))
        self.assertEqual(r.returncode, 3, r.stderr)
        self.assertTrue(data.exists())
        self.assertEqual(list(out.glob("*.pdf")) if out.exists() else [], [])
        events = self.trace()
        self.assertEqual(events[-2]["ev"], "message")
        self.assertTrue(events[-2]["text"].startswith("Laufzeitfehler '13'"), events[-2])
        self.assertEqual(events[-1]["ev"], "abort")
        self.assertIn("Laufzeitfehler 13 (Typen unverträglich) - Programm wird beendet",
                      "\n".join(log_lines(self.folder)))

    def test_file_without_form_is_deleted_after_its_message(self):
        self.host_files()
        data = self.folder / "Besamung.xml"
        data.write_bytes(b"<Anzahl>1</Anzahl>")
        r = self.run_lumaro("--folder", str(self.folder), "--pdf", str(self.dir / "pdf"),
                            "--unattended")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse(data.exists())
        self.assertIn("MELDUNG [stop] Keine Formulardaten für Besamungsschein: Der Besamungsschein"
                      " enthält keine Formulardaten", r.stderr.decode())


class Archive(ProgramTest):
    def test_every_job_on_paper_is_also_kept_as_pdf_and_logged(self):
        self.example("a4-milchviehbetrieb")
        ini = (self.folder / "Halmor.ini").read_bytes()
        (self.folder / "Halmor.ini").write_bytes(ini + b"[Lumaro]\r\nArchivordner=Archiv\r\n")
        jobs_before = len(cups.received(0, timeout=0))
        r = self.run_lumaro("--folder", str(self.folder), "--unattended")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertFalse((self.folder / "WZBeleg.xml").exists())
        jobs = cups.received(jobs_before + 1)
        year = str(datetime.date.today().year)
        copies = sorted((self.folder / "Archiv" / year).glob("*.pdf"))
        self.assertEqual(len(copies), len(jobs) - jobs_before)
        lines = log_lines(self.folder)
        self.assertIn(f"      Archivordner: {self.folder / 'Archiv'}", lines)
        for copy in copies:
            self.assertRegex(copy.name,
                             r"^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_Wartezeiten-A4_LFBIS-\d+_Nr-.+\.pdf$")
            self.assertIn(f"          Archivkopie geschrieben: {copy}", lines)
            # The copy holds the job as it went to paper: same sheets, real text.
            self.assertEqual(pdf_pages(copy), pdf_pages(jobs[jobs_before]))
            text = subprocess.run(["pdftotext", str(copy), "-"], capture_output=True).stdout
            self.assertIn("Aufzeichnungen über Anwendung".encode(), text)
            if shutil.which("qpdf"):
                check = subprocess.run(["qpdf", "--check", str(copy)], capture_output=True)
                self.assertEqual(check.returncode, 0, check.stdout)
        # The option wins over the INI file's folder.
        self.example("besamung-standard")
        other = self.dir / "Anderswo"
        r = self.run_lumaro("--folder", str(self.folder), "--unattended", "--archive", str(other))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(len(list((other / year).glob("*_Besamungsschein_LFBIS-1234567_Nr-*.pdf"))),
                         1)


class ExamplePdfs(ProgramTest):
    def test_every_example_is_a_valid_pdf_with_each_text_where_the_trace_has_it(self):
        # The built-in printer's files as readers see them: structure, fonts,
        # and every text of the trace found at its place within 0.2 mm.
        for name in sorted(p.name for p in EXAMPLES.iterdir() if (p / "Halmor.ini").exists()):
            with self.subTest(name):
                work = self.dir / name
                shutil.copytree(EXAMPLES / name, work / "folder")
                out, trace = work / "pdf", work / "trace.jsonl"
                r = self.run_lumaro("--folder", str(work / "folder"), "--pdf", str(out),
                                    "--unattended", "--trace", str(trace), use_cups=False)
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
                    placement.assert_drawn_as_measured(self, events, job, pdf, 210, 297, 0, 0,
                                                       0.2 * placement.MM)
