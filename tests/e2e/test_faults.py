"""The real program under faults of its surroundings: it answers with its own
message and exit status, deletes no data file it did not print, and leaves
Halmor.ini and the day log intact. The tests mount file systems and drop
privileges (root ignores permission bits), so they skip without root."""

import os
import shutil
import subprocess
import time
import unittest
from pathlib import Path

import test_program
from common import BAD_PICTURE, EXAMPLES, END, NO_PRINTER, log_lines, pdf_pages, picture_certificate
from cups_server import CupsServer
from test_program import LUMARO, lumaro_env

IS_ROOT = os.geteuid() == 0
NOBODY = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
ACCESS_ERROR = ("MELDUNG [stop] Lumaro: Laufzeitfehler '75':\\n\\nFehler beim Zugriff auf "
                "Pfad/Datei")
PRINTER_ERROR = "MELDUNG [stop] Lumaro: Laufzeitfehler '482':\\n\\nDruckerfehler"


def setUpModule():
    # Only root can start the CUPS server (its spool belongs to the user lp).
    if IS_ROOT:
        test_program.setUpModule()


def tearDownModule():
    if IS_ROOT:
        test_program.tearDownModule()


class TracePipe:
    """A running program whose trace goes into a pipe the test reads: while the
    test does not read, the program stops at its next drawing calls, so that a
    fault can be set up at a sure point of the run."""

    def __init__(self, proc, fd):
        self.proc, self.fd, self.seen = proc, fd, b""

    def read_available(self):
        try:
            chunk = os.read(self.fd, 65536)
        except BlockingIOError:
            return False
        self.seen = self.seen[-4096:] + chunk
        return bool(chunk)

    def until(self, ev, timeout=120):
        """Reads until an event ev has come, then waits until the program is
        blocked on the full pipe. False when the program ended first."""
        deadline = time.monotonic() + timeout
        while f'"ev":"{ev}"'.encode() not in self.seen:
            if not self.read_available():
                if self.proc.poll() is not None:
                    return False
                time.sleep(0.002)
            assert time.monotonic() < deadline, f"no {ev} event"  # close() kills the program
        while self.proc.poll() is None:
            try:
                if "pipe_write" in Path(f"/proc/{self.proc.pid}/wchan").read_text():
                    return True
            except OSError:
                pass
            assert time.monotonic() < deadline, "never held by its trace"
            time.sleep(0.002)
        return False

    def finish(self, timeout=300):
        """Reads on until the program has ended; returns (status, stderr)."""
        deadline = time.monotonic() + timeout
        while self.proc.poll() is None:
            assert time.monotonic() < deadline, "the program did not end"
            if not self.read_available():
                time.sleep(0.002)
        return self.proc.returncode, self.proc.stderr.read().decode("utf-8", "replace")

    def close(self):
        self.proc.kill()  # (a no-op once it has ended)
        self.proc.communicate()
        os.close(self.fd)


@unittest.skipUnless(IS_ROOT, "needs root for mounts and for dropping privileges")
class FaultTest(test_program.ProgramTest):
    def setUp(self):
        super().setUp()
        self.out, self.mounts = self.dir / "pdf", []
        # Qt's runtime folder, private to the user the program runs as.
        self.runtime = self.dir / "runtime"
        self.runtime.mkdir(mode=0o700)

    def tearDown(self):
        for m in reversed(self.mounts):
            subprocess.run(["umount", "-l", m], check=False)
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
        return lumaro_env(self.dir, cups, extra={"XDG_RUNTIME_DIR": str(self.runtime)})

    def args(self, pdf=True):
        return (["--folder", str(self.folder), "--unattended", "--trace", str(self.trace_file)] +
                (["--pdf", str(self.out)] if pdf else []))

    def run_lumaro(self, pdf=True, user=None):
        if user is not None:
            self.give_to_nobody(self.runtime)
        cmd = (user or []) + [LUMARO, *self.args(pdf)]
        return subprocess.run(cmd, env=self.env(), capture_output=True, timeout=300)

    def start_paused(self, pdf=True, cups=None):
        os.mkfifo(self.trace_file)
        # Read end first, not waiting, so that the program's open does not block.
        fd = os.open(self.trace_file, os.O_RDONLY | os.O_NONBLOCK)
        proc = subprocess.Popen([LUMARO, *self.args(pdf)], env=self.env(cups),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        pipe = TracePipe(proc, fd)
        self.addCleanup(pipe.close)
        return pipe

    def twenty_certificates(self):
        self.example("besamung-standard")
        data = self.folder / "Besamung.xml"
        data.write_bytes(data.read_bytes().replace(b"<Anzahl>1<", b"<Anzahl>20<"))
        return data

    def pdfs(self):
        return sorted(self.out.glob("*.pdf")) if self.out.exists() else []

    def assert_own_end(self, r, status):
        """Ended by the program itself with this status, never by a signal."""
        self.assertGreaterEqual(r.returncode, 0, f"ended by signal {-r.returncode}")
        self.assertEqual(r.returncode, status, r.stderr.decode("utf-8", "replace"))

    def assert_intact(self):
        """Every log line complete (log_lines checks the time and the line
        end), no temporary INI file, no partial PDF."""
        lines = log_lines(self.folder)
        self.assertTrue(lines, "no day log")
        for line in lines:
            self.assertRegex(line, r"^  \S|^   ")
        self.assertEqual([p.name for p in self.folder.glob("*.lumaro-*")], [])
        self.assertEqual([p.name for p in self.out.glob("*.part")], [])
        for pdf in self.pdfs():
            pdf_pages(pdf)  # every PDF there is complete


class Files(FaultTest):
    def test_read_only_program_folder_ends_with_the_log_error(self):
        # The first log line fails, and the run, before anything is printed.
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
        # The logo's holder and the run's end would write it: both fail silently.
        for how in ("mode", "mount"):
            with self.subTest(how):
                self.fresh_folder()
                shutil.rmtree(self.out, ignore_errors=True)
                self.example("besamung-standard")
                ini_path = self.folder / "Halmor.ini"
                ini = ini_path.read_bytes()
                if how == "mount":
                    self.read_only(ini_path)
                else:
                    self.out.mkdir()
                    self.give_to_nobody(self.folder, self.out, *self.folder.iterdir())
                    ini_path.chmod(0o444)
                r = self.run_lumaro(user=NOBODY if how == "mode" else None)
                self.assert_own_end(r, 0)
                self.assertEqual(self.messages(r), [])
                self.assertFalse((self.folder / "Besamung.xml").exists())
                self.assertEqual(len(self.pdfs()), 1)
                self.assertEqual(ini_path.read_bytes(), ini)
                self.assert_intact()

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
        self.assert_intact()

        # Found and opened, then the read fails (a failing disk, a share gone):
        # a link to a file that opens but refuses every read.
        self.fresh_folder()
        self.host_files()
        data_path.symlink_to("/proc/self/mem")
        r = self.run_lumaro()
        self.assertTrue(data_path.is_symlink(), "the unread data file was deleted")
        self.assert_own_end(r, 3)
        self.assertEqual(self.messages(r), [ACCESS_ERROR])
        self.assertEqual(self.pdfs(), [])
        self.assert_intact()

    def test_ini_vanishing_during_the_run(self):
        # The run finishes, and no stand-in file with only our own keys appears.
        data_path = self.twenty_certificates()
        run = self.start_paused()
        self.assertTrue(run.until("job"), "ended before printing")
        (self.folder / "Halmor.ini").unlink()
        status, err = run.finish()
        self.assertEqual(status, 0, err)
        self.assertFalse(data_path.exists())
        self.assertEqual([len(pdf_pages(p)) for p in self.pdfs()], [20])
        self.assertFalse((self.folder / "Halmor.ini").exists())
        self.assert_intact()

    def test_a_picture_that_is_none(self):
        logo = (EXAMPLES / "besamung-standard" / "logo.png").read_bytes()
        for first, status, message in BAD_PICTURE:
            with self.subTest(first=first):
                self.host_files()
                (self.folder / "bild.png").write_bytes(  # a cut PNG, or text
                    logo[: len(logo) // 2] if first else b"Dies ist kein Bild.\r\n")
                (self.folder / "Besamung.xml").write_bytes(picture_certificate(first))
                r = self.run_lumaro()
                self.assert_own_end(r, status)
                self.assertEqual(self.messages(r), [message])
                self.assertEqual((self.folder / "Besamung.xml").exists(), status != 0)
                if status:
                    self.assertEqual(self.pdfs(), [])
                self.assert_intact()

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
        # Printed, but the archive misses it: its data file stays.
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertTrue(self.pdfs())
        self.assertEqual((self.folder / "WZBeleg.xml").read_bytes(), data)
        self.assertEqual(list(archive.iterdir()), [])
        lines = log_lines(self.folder)
        self.assertIn(f"      Archivkopie konnte nicht geschrieben werden (Fehler 482): {archive}",
                      lines)
        self.assertIn("      Datei bleibt erhalten, da eine Archivkopie fehlt: "
                      f"{self.folder / 'WZBeleg.xml'}", lines)
        self.assertTrue(any(m.startswith("MELDUNG [exclamation] Archiv: Die Archivkopie")
                            for m in self.messages(r)), r.stderr)


class SpoolerAndDisk(FaultTest):
    def test_cups_stopped_before_the_job_is_sent(self):
        # A server of its own, stopped while the program is held at its first sheet.
        cups = CupsServer()
        cups.start()
        try:
            data_path = self.twenty_certificates()
            run = self.start_paused(pdf=False, cups=cups)
            self.assertTrue(run.until("job"), "ended before printing")
            cups.proc.terminate()
            cups.proc.wait(timeout=30)
            status, err = run.finish()
            jobs = list(cups.jobs.glob("job-*.pdf"))
        finally:
            cups.stop()
        self.assertEqual(jobs, [])
        # Nothing reached a printer: the certificate must still be there.
        self.assertTrue(data_path.exists(), err)
        self.assertEqual(status, 3, err)
        self.assertIn(PRINTER_ERROR, err.splitlines())

    def test_full_disk_while_saving_the_ini_and_while_writing_the_pdf(self):
        self.tmpfs(self.folder, "256k")
        self.host_files()
        ini = (self.folder / "Halmor.ini").read_bytes()
        # An earlier day log has room in its last block; no new file fits.
        day_log = time.strftime("%y_%m_%d.txt")
        (self.folder / day_log).write_bytes(b"00:00:01  (fr\xfcherer Lauf)\r\n")
        with open(self.folder / "füller", "wb", buffering=0) as f:  # full to the last byte
            try:
                while True:
                    f.write(b"\0" * 4096)
            except OSError:
                pass
        r = self.run_lumaro()
        self.assert_own_end(r, 1)
        self.assertEqual(self.messages(r)[-1], NO_PRINTER)
        self.assertEqual((self.folder / "Halmor.ini").read_bytes(), ini)
        self.assertIn(END, log_lines(self.folder))
        self.assert_intact()

        (self.folder / "füller").unlink()
        self.example("besamung-standard")
        self.tmpfs(self.out, "16k")
        r = self.run_lumaro()
        self.assert_own_end(r, 3)
        self.assertIn(PRINTER_ERROR, self.messages(r))
        self.assertTrue((self.folder / "Besamung.xml").exists())
        self.assertEqual(self.pdfs(), [])
        self.assert_intact()


class Killed(FaultTest):
    def setUp(self):
        super().setUp()
        self.example("2xa5-seitenwechsel")
        self.data_path = self.folder / "WZBeleg.xml"
        # About 600 sheets: drawing them and writing the PDF take seconds.
        text = self.data_path.read_bytes()
        start, end = text.index(b"<Behandlung>"), text.index(b"</Behandlung>") + 13
        self.data = text[:start] + text[start:end] * 3000 + text[end:]
        self.data_path.write_bytes(self.data)
        self.ini = (self.folder / "Halmor.ini").read_bytes()

    def assert_nothing_lost(self):
        self.assertEqual(self.data_path.read_bytes(), self.data)
        # The logo's holder may have added its marks; the host's part stays.
        after = (self.folder / "Halmor.ini").read_bytes()
        self.assertTrue(after.startswith(self.ini.split(b"[wdwGrafikSpeicher]")[0]), after)
        self.assertEqual(list(self.out.iterdir()) if self.out.exists() else [], [])
        self.assert_intact()

    def test_kill_while_drawing(self):
        run = self.start_paused()
        self.assertTrue(run.until("newpage"), "ended before the second sheet")
        run.proc.kill()
        run.proc.wait(timeout=30)
        self.assert_nothing_lost()

    def test_kill_while_the_job_is_delivered(self):
        # Too fast to catch from outside: the debugger kills the program at the
        # call that names the finished PDF.
        if not shutil.which("gdb"):
            self.skipTest("gdb not installed")
        r = subprocess.run(
            ["gdb", "-q", "-batch", "-ex", "catch syscall linkat",
             "-ex", "run", "-ex", "kill", "--args", LUMARO, *self.args(True)],
            env=self.env(), stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=600)
        output = r.stdout.decode("utf-8", "replace")
        self.assertIn("hit Catchpoint", output, output[-2000:])
        self.assertIn("killed", output, output[-2000:])
        self.assert_nothing_lost()
