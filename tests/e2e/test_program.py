"""End-to-end tests of the real program: started as the host starts it (in a
program folder, no dialogue with --unattended), printing through a private CUPS
server or the built-in PDF printer."""

import datetime
import json
import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from cups_server import CupsServer

LUMARO = os.environ.get("LUMARO_BIN", "build/release/lumaro")
CAPTION = "Druckfunktion für Tierärzte - Version 26. September 2010"
INI = "[Allgemein]\r\nPraxis=Tierarztpraxis Grünwald\r\n[Drucker]\r\nLabeldrucker=\r\n"

cups = None


def setUpModule():
    global cups
    cups = CupsServer()
    cups.start()


def tearDownModule():
    cups.stop()


def cp1252(text):
    return text.encode("cp1252")


def log_lines(folder):
    """The day log's lines without their time stamps (run and test share the day,
    unless the test crosses midnight: then both days are read)."""
    lines = []
    for f in sorted(Path(folder).glob("[0-9][0-9]_[0-9][0-9]_[0-9][0-9].txt")):
        raw = f.read_bytes()
        assert raw.endswith(b"\r\n"), "log line without CR LF"
        for line in raw.split(b"\r\n")[:-1]:
            lines.append(line[8:].decode("cp1252"))
    return lines


class ProgramTest(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp(prefix="lumaro-e2e-"))
        self.folder = self.dir / "Halmor"
        self.folder.mkdir()

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def host_files(self, ini=INI):
        (self.folder / "Halmor.ini").write_bytes(cp1252(ini))
        (self.folder / "Halmor.mdb").write_bytes(b"")

    def run_lumaro(self, *args, env_extra=None, use_cups=True):
        env = cups.env() if use_cups else dict(os.environ)
        env["QT_QPA_PLATFORM"] = "offscreen"
        for k in ("LUMARO_FOLDER", "LUMARO_PDF", "LUMARO_UNATTENDED", "LUMARO_TRACE"):
            env.pop(k, None)
        env.update(env_extra or {})
        return subprocess.run([LUMARO, *args], env=env, capture_output=True, timeout=120)

    def trace(self, path):
        return [json.loads(l) for l in Path(path).read_text(encoding="utf-8").splitlines()]


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
             "          SetPrinter result = True",
             "  +++++ Programm Lumaro wird beendet +++++"])
        self.assertIn(f"MELDUNG [information] {CAPTION}: Bitte den Drucker einstellen und das "
                      "Programm dann beenden.", r.stderr.decode())
        # The end of the run saves the list's choice, the default printer.
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(),
                         cp1252(INI.replace("Labeldrucker=", "Labeldrucker=Lumaro-Test")))

    def test_missing_ini_ends_with_the_message_and_exit_2(self):
        (self.folder / "Halmor.mdb").write_bytes(b"")
        trace = self.dir / "t.jsonl"
        r = self.run_lumaro("--folder", str(self.folder), "--unattended", "--trace", str(trace))
        self.assertEqual(r.returncode, 2, r.stderr)
        expected_text = (
            f"Im Ordner '{self.folder}' existiert keine Datei mit dem Namen 'halmor.ini' die aber"
            " für den Druck benötigt wird.\n\nSchliessen Sie alle Programme und verschieben Sie "
            "diese Datei aus dem Windows-Ordner (c:\\Windows oder c:\\NT) in den Ordner wo "
            "Tessnar-Halmor läuft.\nDies sollte c:\\Tessnar sein. Die Verwendung eines anderen "
            "Ordners erfolgt auf eigene Gefahr!")
        line = "MELDUNG [stop] Datei fehlt!: " + expected_text.replace("\n", "\\n")
        self.assertIn(line, r.stderr.decode().splitlines())
        messages = [e for e in self.trace(trace) if e["ev"] == "message"]
        self.assertEqual(messages, [{"ev": "message", "title": "Datei fehlt!",
                                     "text": expected_text, "icon": "stop"}])
        lines = log_lines(self.folder)
        self.assertEqual(len(lines), 3)  # start, parameters, end
        self.assertEqual(lines[-1], "  +++++ Programm Lumaro wird beendet +++++")
        self.assertFalse((self.folder / "Halmor.ini").exists())

    def test_help_version_and_usage_errors_touch_nothing(self):
        self.host_files()
        for args, status in ((["--help"], 0), (["--version"], 0), (["--folder"], 64),
                             (["--unattended", "--pdf"], 64)):
            r = self.run_lumaro(*args, env_extra={"LUMARO_FOLDER": str(self.folder)})
            self.assertEqual(r.returncode, status, args)
        self.assertEqual(log_lines(self.folder), [])

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


EXAMPLES = Path(__file__).resolve().parents[2] / "examples"


def pdf_pages(path):
    out = subprocess.run(["pdfinfo", str(path)], capture_output=True, text=True, check=True)
    for line in out.stdout.splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    raise AssertionError("no page count in " + str(path))


def entry(typ, oben, links, wortlaut, extra=""):
    return (f"<FormularDaten><Typ>{typ}</Typ><oben>{oben}</oben><links>{links}</links>"
            f"<Groesse>10</Groesse><Wortlaut>{wortlaut}</Wortlaut>{extra}</FormularDaten>")


class Printing(ProgramTest):
    def certificate(self):
        shutil.copytree(EXAMPLES / "besamung-standard", self.folder, dirs_exist_ok=True)
        return self.folder / "Besamung.xml"

    def test_certificate_goes_through_cups_and_the_file_is_deleted(self):
        data = self.certificate()
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

    def test_pdf_printer_writes_one_file_per_job_and_the_trace_matches(self):
        self.certificate()
        out = self.dir / "pdf"
        trace = self.dir / "t.jsonl"
        r = self.run_lumaro("--folder", str(self.folder), "--pdf", str(out), "--unattended",
                            "--trace", str(trace))
        self.assertEqual(r.returncode, 0, r.stderr)
        pdfs = sorted(out.glob("*.pdf"))
        self.assertEqual(len(pdfs), 1)
        self.assertEqual(pdf_pages(pdfs[0]), 1)
        events = self.trace(trace)
        self.assertEqual(events[0]["ev"], "job")
        self.assertEqual(events[0]["printer"], "Lumaro PDF")
        self.assertEqual([e["pages"] for e in events if e["ev"] == "enddoc" and e["pages"]], [1])
        # The cost list's total stands right-aligned at the form's amount column.
        texts = [e["text"] for e in events if e["ev"] == "text"]
        self.assertIn("Betrag", texts)
        self.assertTrue(any(t.endswith(" €") for t in texts))

    def test_error_after_drawing_discards_the_job_and_keeps_the_file(self):
        self.host_files()
        data = self.folder / "Besamung.xml"
        data.write_bytes(cp1252(entry("Text", 20, 15, "Kopf") + entry("Text", "zwanzig", 15, "x")))
        out = self.dir / "pdf"
        trace = self.dir / "t.jsonl"
        r = self.run_lumaro("--folder", str(self.folder), "--pdf", str(out), "--unattended",
                            "--trace", str(trace))
        self.assertEqual(r.returncode, 3, r.stderr)
        self.assertTrue(data.exists())
        self.assertEqual(list(out.glob("*.pdf")) if out.exists() else [], [])
        events = self.trace(trace)
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


if __name__ == "__main__":
    unittest.main()
