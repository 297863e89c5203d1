"""The real program under faults of its surroundings: folders and files it may
not write or read, a settings file that disappears, broken pictures, a print
spooler that goes away, a full disk, a kill in the middle of a run, and data
far beyond anything a practice sends. Whatever happens, the program answers
with its own German message and exit status, prints nothing wrong, deletes no
data file it did not print, and leaves Halmor.ini and the day log intact.

The tests mount small file systems and drop privileges (as root, permission
bits stop no write), so they skip without root. The heavy limits (about a
minute each) run only with LUMARO_HEAVY_TESTS=1.
"""

import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import test_program
from common import (EXAMPLES, END, NO_PRINTER, cp1252, entry, log_lines, pdf_pages,
                    picture_certificate)
from cups_server import CupsServer
from test_program import LUMARO

IS_ROOT = os.geteuid() == 0
HEAVY = os.environ.get("LUMARO_HEAVY_TESTS") == "1"
TESTDATA = Path(__file__).resolve().parents[2] / "documents" / "withdrawal" / "model" / "testdata"
NOBODY = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
ACCESS_ERROR = ("MELDUNG [stop] Lumaro: Laufzeitfehler '75':\\n\\nFehler beim Zugriff auf "
                "Pfad/Datei")
PRINTER_ERROR = "MELDUNG [stop] Lumaro: Laufzeitfehler '482':\\n\\nDruckerfehler"


def setUpModule():
    # The run's printers are those of test_program's CUPS server, which only
    # root can start (its spool belongs to the user lp).
    if IS_ROOT:
        test_program.cups = CupsServer()
        test_program.cups.start()


def tearDownModule():
    if IS_ROOT:
        test_program.cups.stop()


def run_measured(cmd, env, timeout):
    """Runs cmd; returns (exit status, stderr, peak RSS in MB): the kernel's
    high-water mark of the program's memory, read every 20 ms (the rusage of a
    child also counts what the test process held when it forked)."""
    with tempfile.TemporaryFile() as err:
        start = time.monotonic()
        proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=err)
        peak_kb = 0
        while proc.poll() is None:
            if time.monotonic() - start > timeout:
                proc.kill()
                proc.wait()
                raise AssertionError(f"{cmd[0]} did not end within {timeout} s")
            try:
                status = Path(f"/proc/{proc.pid}/status").read_text()
                peak_kb = max([peak_kb] + [int(l.split()[1]) for l in status.splitlines()
                                           if l.startswith("VmHWM:")])
            except (OSError, ValueError):
                pass  # ending right now
            time.sleep(0.02)
        err.seek(0)
        return proc.returncode, err.read().decode("utf-8", "replace"), peak_kb / 1024


class TracePipe:
    """The read end of a program's trace, and the program."""

    def __init__(self, proc, fd):
        self.proc, self.fd, self.buffer, self.events = proc, fd, b"", []

    def read_available(self):
        try:
            chunk = os.read(self.fd, 65536)
        except BlockingIOError:
            return False
        *lines, self.buffer = (self.buffer + chunk).split(b"\n")
        self.events += [json.loads(l) for l in lines if l]
        return bool(chunk)

    def until(self, ev, timeout=120):
        """Reads until an event of kind ev has come, then stops reading and
        waits until the program is blocked writing its next lines to the full
        pipe, so that it does nothing until the test reads again. False when
        the program ended first."""
        deadline = time.monotonic() + timeout
        while not any(e["ev"] == ev for e in self.events):
            if not self.read_available():
                if self.proc.poll() is not None:
                    return False
                time.sleep(0.002)
            if time.monotonic() > deadline:
                raise AssertionError(f"no {ev} event within {timeout} s")
        while time.monotonic() < deadline:
            try:
                if "pipe_write" in Path(f"/proc/{self.proc.pid}/wchan").read_text():
                    return True
            except OSError:
                pass
            if self.proc.poll() is not None:
                return False
            time.sleep(0.002)
        raise AssertionError("the program was never held by its trace")

    def finish(self, timeout=300):
        """Reads on until the program has ended; returns (status, stderr)."""
        deadline = time.monotonic() + timeout
        while self.proc.poll() is None:
            if time.monotonic() > deadline:
                self.proc.kill()
                raise AssertionError(f"the program did not end within {timeout} s")
            if not self.read_available():
                time.sleep(0.002)
        while self.read_available():
            pass
        return self.proc.returncode, self.proc.stderr.read().decode("utf-8", "replace")

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        self.proc.stdout.close()
        self.proc.stderr.close()
        os.close(self.fd)


@unittest.skipUnless(IS_ROOT, "needs root for mounts and for dropping privileges")
class FaultTest(test_program.ProgramTest):
    def setUp(self):
        super().setUp()
        self.out = self.dir / "pdf"
        self.mounts = []
        # Qt's runtime folder, private to the user the program runs as.
        self.runtime = self.dir / "runtime"
        self.runtime.mkdir(mode=0o700)

    def tearDown(self):
        for m in reversed(self.mounts):
            subprocess.run(["umount", "-l", str(m)], check=False)
        super().tearDown()

    def mount(self, *args):
        subprocess.run(["mount", *args], check=True)
        self.mounts.append(args[-1])

    def tmpfs(self, path, size):
        path.mkdir(exist_ok=True)
        self.mount("-t", "tmpfs", "-o", f"size={size}", "tmpfs", str(path))

    def read_only(self, path):
        """A read-only bind mount of path onto itself (a folder or a file)."""
        self.mount("--bind", str(path), str(path))
        subprocess.run(["mount", "-o", "remount,bind,ro", str(path)], check=True)

    def give_to_nobody(self, *paths):
        for p in paths:
            shutil.chown(p, "nobody", "nogroup")

    def env(self, cups=None):
        env = (cups or test_program.cups).env()
        env.update(QT_QPA_PLATFORM="offscreen", HOME=str(self.dir),
                   XDG_RUNTIME_DIR=str(self.runtime))
        for k in ("LUMARO_FOLDER", "LUMARO_PDF", "LUMARO_UNATTENDED", "LUMARO_TRACE",
                  "LUMARO_ARCHIVE"):
            env.pop(k, None)
        return env

    def args(self, pdf=True):
        return (["--folder", str(self.folder), "--unattended", "--trace", str(self.trace_file)] +
                (["--pdf", str(self.out)] if pdf else []))

    def run_lumaro(self, pdf=True, user=None):
        if user is not None:
            self.give_to_nobody(self.runtime)
        cmd = (user or []) + [LUMARO, *self.args(pdf)]
        return subprocess.run(cmd, env=self.env(), capture_output=True, timeout=300)

    def start_paused(self, pdf=True, cups=None):
        """Starts the program with its trace going into a pipe the test reads.
        While the test does not read, the program stops at its next few
        drawing calls (a pipe holds 64 KB): a fault can then be set up at a
        sure point of the run. Returns a TracePipe."""
        os.mkfifo(self.trace_file)
        # Read end first and without waiting, so that the program's open of
        # the write end does not block.
        fd = os.open(self.trace_file, os.O_RDONLY | os.O_NONBLOCK)
        proc = subprocess.Popen([LUMARO, *self.args(pdf)], env=self.env(cups),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        pipe = TracePipe(proc, fd)
        self.addCleanup(pipe.close)
        return pipe

    # --- what must hold after every run ----------------------------------

    def pdfs(self):
        return sorted(self.out.glob("*.pdf")) if self.out.exists() else []

    def assert_own_end(self, r, status):
        """Ended by the program itself with this status, never by a signal."""
        self.assertGreaterEqual(r.returncode, 0, f"ended by signal {-r.returncode}")
        self.assertEqual(r.returncode, status, r.stderr.decode("utf-8", "replace"))

    def assert_log_intact(self):
        # Every line complete: time, two blanks, text, CR LF (log_lines
        # checks the time and the line ends).
        lines = log_lines(self.folder)
        self.assertTrue(lines, "no day log")
        for line in lines:
            self.assertRegex(line, r"^  \S|^   ")

    def assert_no_leftovers(self):
        names = [p.name for p in self.folder.iterdir()]
        self.assertEqual([n for n in names if ".lumaro-" in n], [], "temporary INI file left")
        if self.out.exists():
            self.assertEqual([p.name for p in self.out.glob("*.part")], [], "partial PDF left")
            for pdf in self.pdfs():
                pdf_pages(pdf)  # every PDF there is complete


class ReadOnlySurroundings(FaultTest):
    def test_read_only_program_folder_ends_with_the_log_error(self):
        # The day log cannot be written: the first log line fails, and with it
        # the run, before anything is printed or deleted.
        self.example("2xa5-vorlagen")
        data = (self.folder / "WZBeleg.xml").read_bytes()
        ini = (self.folder / "Halmor.ini").read_bytes()
        self.read_only(self.folder)
        r = self.run_lumaro()
        self.assert_own_end(r, 3)
        self.assertIn(ACCESS_ERROR, self.messages(r))
        self.assertEqual((self.folder / "WZBeleg.xml").read_bytes(), data)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), ini)
        self.assertEqual(self.pdfs(), [])

    def test_read_only_ini_is_left_as_it_is_and_the_document_still_prints(self):
        # The certificate's logo goes through the picture holder, which keeps
        # its marks in Halmor.ini, and the run's end saves the printer choice:
        # both writes fail silently, the certificate prints.
        self.example("besamung-standard")
        ini = (self.folder / "Halmor.ini").read_bytes()
        self.read_only(self.folder / "Halmor.ini")
        r = self.run_lumaro()
        self.assert_own_end(r, 0)
        self.assertEqual(self.messages(r), [])
        self.assertFalse((self.folder / "Besamung.xml").exists())
        self.assertEqual(len(self.pdfs()), 1)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), ini)
        self.assert_no_leftovers()
        self.assert_log_intact()

    def test_ini_the_user_may_only_read(self):
        # The host marked its settings read-only; the program runs as a user
        # for whom that counts.
        self.example("besamung-standard")
        ini_path = self.folder / "Halmor.ini"
        ini = ini_path.read_bytes()
        self.give_to_nobody(self.folder, *self.folder.iterdir())
        ini_path.chmod(0o444)
        self.out.mkdir()
        self.give_to_nobody(self.out)
        r = self.run_lumaro(user=NOBODY)
        self.assert_own_end(r, 0)
        self.assertFalse((self.folder / "Besamung.xml").exists())
        self.assertEqual(ini_path.read_bytes(), ini)
        self.assert_no_leftovers()


class UnreadableAndVanishingFiles(FaultTest):
    def test_data_file_the_user_may_not_read(self):
        self.example("2xa5-vorlagen")
        data_path = self.folder / "WZBeleg.xml"
        self.give_to_nobody(self.folder, *self.folder.iterdir())
        shutil.chown(data_path, "root", "root")
        data_path.chmod(0o600)
        ini = (self.folder / "Halmor.ini").read_bytes()
        r = self.run_lumaro(user=NOBODY)
        self.assert_own_end(r, 2)
        self.assertEqual(self.messages(r), [
            f"MELDUNG [none] Lumaro: Auf die Datei {data_path} kann nicht zugegriffen werden! "
            "Sie sollten das Programm beenden, und nach der Ursache suchen, falls auf diese Datei "
            "zugegriffen werden soll, da sonst während der Ausführung Fehler auftreten können!"])
        self.assertTrue(data_path.exists())
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), ini)
        self.assertEqual(self.pdfs(), [])
        self.assert_log_intact()

    def test_data_file_that_opens_but_cannot_be_read(self):
        # Found and opened, then the read fails (a failing disk, a share that
        # went away, permissions changed in between). A link to a file that
        # opens but refuses every read makes this happen at once. The record
        # was not printed, so the file must stay.
        self.host_files()
        data_path = self.folder / "WZBeleg.xml"
        data_path.symlink_to("/proc/self/mem")
        r = self.run_lumaro()
        self.assertTrue(data_path.is_symlink(), "the unread data file was deleted")
        self.assert_own_end(r, 3)
        self.assertEqual(self.messages(r), [ACCESS_ERROR])
        self.assertEqual(self.pdfs(), [])
        self.assert_log_intact()

    def test_ini_vanishing_during_the_run(self):
        # The host's settings file goes while the certificates print: the run
        # finishes, and no stand-in file with nothing but our own keys appears
        # (neither from the logo's holder nor from saving the printer choice).
        self.example("besamung-standard")
        data_path = self.folder / "Besamung.xml"
        data_path.write_bytes(data_path.read_bytes().replace(b"<Anzahl>1<", b"<Anzahl>20<"))
        run = self.start_paused()
        self.assertTrue(run.until("job"), "ended before printing")
        (self.folder / "Halmor.ini").unlink()
        status, err = run.finish()
        self.assertEqual(status, 0, err)
        self.assertFalse(data_path.exists())
        self.assertEqual([pdf_pages(p) for p in self.pdfs()], [20])
        self.assertFalse((self.folder / "Halmor.ini").exists())
        self.assert_no_leftovers()


class BrokenPictures(FaultTest):
    def test_a_picture_that_is_none(self):
        # Before any text of the form: reported by the form's handler, the
        # template ends at the fault, the job is ended and the file goes.
        # After a text: the run ends and the file stays.
        logo = (EXAMPLES / "besamung-standard" / "logo.png").read_bytes()
        for picture, first, status, message in (
                (logo[: len(logo) // 2], True, 0,
                 "MELDUNG [stop] Lumaro: Fehler 481 (Ungültiges Bild) in Prozedur "
                 "XMLVorlageHinzufuegen im Modul FunktionenDrucker"),
                (b"Dies ist kein Bild.\r\n", False, 3,
                 "MELDUNG [stop] Lumaro: Laufzeitfehler '481':\\n\\nUngültiges Bild")):
            with self.subTest(first=first):
                self.host_files()
                (self.folder / "bild.png").write_bytes(picture)
                (self.folder / "Besamung.xml").write_bytes(picture_certificate(first))
                r = self.run_lumaro()
                self.assert_own_end(r, status)
                self.assertEqual(self.messages(r), [message])
                self.assertEqual((self.folder / "Besamung.xml").exists(), status != 0)
                if status:
                    self.assertEqual(self.pdfs(), [])
                self.assert_no_leftovers()


class Spooler(FaultTest):
    def test_cups_stopped_before_the_job_is_sent(self):
        # A server of its own, since this test stops it. The program is held
        # at its first sheet, long before the job goes to the spooler.
        cups = CupsServer()
        cups.start()
        try:
            self.example("besamung-standard")
            data_path = self.folder / "Besamung.xml"
            data_path.write_bytes(
                data_path.read_bytes().replace(b"<Anzahl>1<", b"<Anzahl>20<"))
            run = self.start_paused(pdf=False, cups=cups)
            self.assertTrue(run.until("job"), "ended before printing")
            cups.proc.terminate()
            cups.proc.wait(timeout=30)
            status, err = run.finish()
            jobs = list(cups.jobs.glob("job-*.pdf"))
        finally:
            cups.stop()
        self.assertGreaterEqual(status, 0, f"ended by signal {-status}")
        self.assertEqual(jobs, [])
        # Nothing reached a printer: the certificate must still be there.
        self.assertTrue(data_path.exists(), err)
        self.assertEqual(status, 3, err)
        self.assertIn(PRINTER_ERROR, err.splitlines())


class FullDisk(FaultTest):
    def fill(self, folder):
        """Fills the file system of folder to the last byte."""
        with open(folder / "füller", "wb", buffering=0) as f:
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass

    def test_full_disk_while_saving_the_ini(self):
        self.tmpfs(self.folder, "256k")
        self.host_files()
        ini = (self.folder / "Halmor.ini").read_bytes()
        # The day log of an earlier run today leaves room in its last block,
        # so this run's lines still fit while no new file does.
        day_log = time.strftime("%y_%m_%d.txt")
        (self.folder / day_log).write_bytes(b"00:00:01  (fr\xfcherer Lauf)\r\n")
        self.fill(self.folder)
        r = self.run_lumaro()
        self.assert_own_end(r, 1)
        self.assertEqual(self.messages(r)[-1], NO_PRINTER)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), ini)
        self.assertIn(END, log_lines(self.folder))
        self.assert_no_leftovers()

    def test_full_disk_while_writing_the_pdf(self):
        self.example("besamung-standard")
        self.tmpfs(self.out, "16k")
        r = self.run_lumaro()
        self.assert_own_end(r, 3)
        self.assertIn(PRINTER_ERROR, self.messages(r))
        self.assertTrue((self.folder / "Besamung.xml").exists())
        self.assertEqual(self.pdfs(), [])
        self.assert_no_leftovers()


class Killed(FaultTest):
    def prepare(self):
        self.example("2xa5-seitenwechsel")
        self.data_path = self.folder / "WZBeleg.xml"
        # About 600 sheets: drawing them and writing the PDF take seconds.
        self.data_path.write_bytes(record_2xa5(behandlung_times=3000))
        self.data = self.data_path.read_bytes()
        self.ini = (self.folder / "Halmor.ini").read_bytes()

    def assert_nothing_lost(self):
        self.assertEqual(self.data_path.read_bytes(), self.data)
        # The logo's holder may have written its marks (atomically): the
        # host's own part stays byte for byte.
        after = (self.folder / "Halmor.ini").read_bytes()
        self.assertTrue(after.startswith(self.ini.split(b"[wdwGrafikSpeicher]")[0]), after)
        self.assertEqual(self.pdfs(), [])
        self.assert_no_leftovers()
        self.assert_log_intact()

    def test_kill_while_drawing(self):
        self.prepare()
        run = self.start_paused()
        self.assertTrue(run.until("newpage"), "ended before the second sheet")
        run.proc.kill()
        run.proc.wait(timeout=30)
        self.assert_nothing_lost()

    def test_kill_while_the_job_is_delivered(self):
        # The job is drawn whole first and turned into a PDF at its end, far
        # too fast to catch from outside. The debugger stops the program at
        # the one call that gives the finished file its name (the file is
        # complete but has none yet), and kills it there.
        if not shutil.which("gdb"):
            self.skipTest("gdb not installed")
        self.prepare()
        r = subprocess.run(
            ["gdb", "-q", "-batch", "-ex", "catch syscall linkat",
             "-ex", "run", "-ex", "kill", "--args", LUMARO, *self.args(True)],
            env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
        output = r.stdout.decode("utf-8", "replace")
        self.assertIn("hit Catchpoint", output, output[-2000:])
        self.assertIn("killed", output, output[-2000:])
        self.assert_nothing_lost()
        self.assertEqual(list(self.out.iterdir()) if self.out.exists() else [], [])


class ArchiveFaults(FaultTest):
    def test_a_read_only_archive_keeps_the_data_file_and_says_why(self):
        self.example("a4-milchviehbetrieb")
        data = (self.folder / "WZBeleg.xml").read_bytes()
        archive = self.dir / "Archiv"
        archive.mkdir()
        self.read_only(archive)
        ini = (self.folder / "Halmor.ini").read_bytes()
        (self.folder / "Halmor.ini").write_bytes(
            ini + b"[Lumaro]\r\nArchivordner=" + str(archive).encode() + b"\r\n")
        r = self.run_lumaro()
        # Printed (the PDF printer's files are there), so the run counts it as
        # printed; but the archive misses it, so its data file stays.
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertTrue(self.pdfs())
        self.assertEqual((self.folder / "WZBeleg.xml").read_bytes(), data)
        self.assertEqual(list(archive.iterdir()), [])
        lines = log_lines(self.folder)
        self.assertIn(f"      Archivordner: {archive}", lines)
        self.assertIn(f"      Archivkopie konnte nicht geschrieben werden (Fehler 482): {archive}",
                      lines)
        self.assertIn("      Datei bleibt erhalten, da eine Archivkopie fehlt: "
                      f"{self.folder / 'WZBeleg.xml'}", lines)
        messages = self.messages(r)
        self.assertTrue(any(m.startswith("MELDUNG [exclamation] Archiv: Die Archivkopie")
                            for m in messages), messages)


def record_2xa5(behandlung_times=1, meat_days=None):
    """The two-halves example's record, with its treatment repeated or its
    meat period set."""
    text = (EXAMPLES / "2xa5-seitenwechsel" / "WZBeleg.xml").read_bytes()
    if behandlung_times != 1:
        start = text.index(b"<Behandlung>")
        end = text.index(b"</Behandlung>") + len(b"</Behandlung>")
        text = text[:start] + text[start:end] * behandlung_times + text[end:]
    if meat_days is not None:
        start = text.index(b"<WZFleischTage>") + len(b"<WZFleischTage>")
        end = text.index(b"</WZFleischTage>")
        text = text[:start] + meat_days + text[end:]
    return text


TEN_MB = b"Milch getrennt melken und verwerfen. " * (10 * 1024 * 1024 // 37)


def replace_value(text, tag, value, after=b""):
    """text with the content of the first element tag (after the first
    `after`) replaced by value."""
    start = text.index(b"<" + tag + b">", text.index(after)) + len(tag) + 2
    end = text.index(b"</" + tag + b">", start)
    return text[:start] + value + text[end:]


class Limits(FaultTest):
    """Data far beyond what a practice sends: each run ends in bounded time
    and memory, printed or refused with the program's message."""

    def measure(self, name, limit_seconds):
        status, err, rss = run_measured([LUMARO, *self.args()], self.env(), limit_seconds)
        print(f"\nLIMIT {name}: exit {status}, peak {rss:.0f} MB", flush=True)
        self.assertGreaterEqual(status, 0, f"ended by signal {-status}")
        self.assertLess(rss, 2048, "more than 2 GB of memory")
        return status, err

    def test_number_of_a_thousand_digits(self):
        # A count and a withdrawal period far beyond any type: refused with
        # the overflow error, the files stay for the host to correct.
        self.example("besamung-standard")
        cert = self.folder / "Besamung.xml"
        cert.write_bytes(cert.read_bytes().replace(b"<Anzahl>1<", b"<Anzahl>" + b"9" * 1000 + b"<"))
        status, err = self.measure("number of 1000 digits (copies)", 60)
        self.assertEqual(status, 3, err)
        self.assertIn("MELDUNG [stop] Lumaro: Laufzeitfehler '6':\\n\\nÜberlauf", err.splitlines())
        self.assertTrue(cert.exists())

        cert.unlink()
        (self.folder / "WZBeleg.xml").write_bytes(record_2xa5(meat_days=b"7" * 1000))
        status, err = self.measure("number of 1000 digits (withdrawal period)", 60)
        self.assertEqual(status, 3, err)
        self.assertIn("MELDUNG [stop] Lumaro: Laufzeitfehler '6':\\n\\nÜberlauf", err.splitlines())
        self.assertTrue((self.folder / "WZBeleg.xml").exists())

    def test_text_field_of_ten_megabytes(self):
        self.host_files()
        # The A4 sheets print the general message cut to 1000 characters.
        record = (TESTDATA / "record_dairy.xml").read_bytes()
        (self.folder / "WZBeleg.xml").write_bytes(
            replace_value(record, b"AllgemeineNachricht", TEN_MB))
        status, err = self.measure("text field of 10 MB (A4 general message)", 120)
        self.assertEqual(status, 0, err)
        self.assertFalse((self.folder / "WZBeleg.xml").exists())

        # A drug's name has a column of 100 characters: the record is refused.
        (self.folder / "WZBeleg.xml").write_bytes(
            replace_value(record_2xa5(), b"Bezeichnung", TEN_MB, after=b"<Medikament>"))
        status, err = self.measure("text field of 10 MB (2 x A5 drug name)", 120)
        self.assertEqual(status, 3, err)
        self.assertIn("Laufzeitfehler '3265'", err)
        self.assertTrue((self.folder / "WZBeleg.xml").exists())

    @unittest.skipUnless(HEAVY, "takes about a minute; set LUMARO_HEAVY_TESTS=1")
    def test_certificate_value_of_ten_megabytes(self):
        # The certificate prints each value on one line, uncut: the whole
        # line is measured and drawn, far beyond the page's edge.
        self.example("besamung-standard")
        cert = self.folder / "Besamung.xml"
        cert.write_bytes(replace_value(cert.read_bytes(), b"Hofname", TEN_MB))
        status, err = self.measure("text field of 10 MB (certificate value, one line)", 600)
        self.assertEqual(status, 0, err)
        self.assertFalse(cert.exists())
        self.assertEqual([pdf_pages(p) for p in self.pdfs()], [1])

    @unittest.skipUnless(HEAVY, "takes about a minute; set LUMARO_HEAVY_TESTS=1")
    def test_template_of_a_hundred_thousand_entries(self):
        self.host_files()
        form = "".join(entry("Text", 10 + i % 250, 10, f"Zeile {i}") for i in range(100_000))
        (self.folder / "Besamung.xml").write_bytes(cp1252("<Anzahl>1</Anzahl>" + form))
        status, err = self.measure("template of 100,000 entries", 600)
        self.assertEqual(status, 0, err)
        self.assertFalse((self.folder / "Besamung.xml").exists())
        self.assertEqual([pdf_pages(p) for p in self.pdfs()], [1])

    @unittest.skipUnless(HEAVY, "takes minutes; set LUMARO_HEAVY_TESTS=1")
    def test_data_file_of_a_hundred_megabytes(self):
        # One record among 100 MB of what the host may put around it.
        self.example("2xa5-seitenwechsel")
        data = (self.folder / "WZBeleg.xml").read_bytes()
        filler = b"<Notiz>Eintrag ohne Bedeutung f\xfcr den Druck</Notiz>\r\n"
        padded = data.replace(b"</WZBeleg>", filler * (100 * 1024 * 1024 // len(filler)) +
                              b"</WZBeleg>")
        (self.folder / "WZBeleg.xml").write_bytes(padded)
        status, err = self.measure("data file of 100 MB (one record, filler)", 600)
        self.assertEqual(status, 0, err)
        self.assertFalse((self.folder / "WZBeleg.xml").exists())

if __name__ == "__main__":
    unittest.main()
