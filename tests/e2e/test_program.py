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


if __name__ == "__main__":
    unittest.main()
