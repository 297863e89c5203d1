"""A private CUPS scheduler from its own configuration on its own socket
(clients find it through CUPS_SERVER), so the machine's printing is never
touched. Its queues (by default one, "Lumaro-Test", the default printer) hand
every job to a backend that copies it into a folder: the first queue's into
`jobs`, each queue's into jobs_of(name)."""

import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

BACKEND = """#!/bin/sh
# Copies the job (a file argument, or standard input) to the path in DEVICE_URI.
if [ $# -eq 0 ]; then echo 'direct lumarotest "Unknown" "Lumaro test backend"'; exit 0; fi
target="${DEVICE_URI#lumarotest:}"
n=$(ls "$target" 2>/dev/null | wc -l)
out="$target/job-$(printf %03d $((n + 1))).pdf"
if [ -n "$6" ]; then cp "$6" "$out.part"; else cat > "$out.part"; fi
mv "$out.part" "$out"
exit 0
"""


class CupsServer:
    QUEUE = "Lumaro-Test"

    def __init__(self, queues=None, default=QUEUE):
        self.root = Path(tempfile.mkdtemp(prefix="lumaro-cups-"))
        self.queues = list(queues or [self.QUEUE])
        self.default = default
        self.jobs = self.root / "jobs"
        self.socket = self.root / "cups.sock"
        self.proc = None

    def start(self):
        r = self.root
        for d in ("spool", "cache", "state", "temp", "log", "jobs", "bin", "conf"):
            (r / d).mkdir(parents=True, exist_ok=True)
        # ServerBin: the system's CUPS programs with our backend as the only one.
        for entry in Path("/usr/lib/cups").iterdir():
            if entry.name != "backend":
                (r / "bin" / entry.name).symlink_to(entry)
        (r / "bin" / "backend").mkdir()
        backend = r / "bin" / "backend" / "lumarotest"
        backend.write_text(BACKEND)
        backend.chmod(0o755)
        (r / "conf" / "cupsd.conf").write_text(
            f"Listen {self.socket}\n"
            "WebInterface No\nBrowsing No\nLogLevel warn\n"
            "DefaultAuthType None\n"
            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
        (r / "conf" / "cups-files.conf").write_text(
            "User lp\nGroup lp\nFileDevice Yes\n"
            f"ServerRoot {r / 'conf'}\nServerBin {r / 'bin'}\n"
            f"RequestRoot {r / 'spool'}\nCacheDir {r / 'cache'}\n"
            f"StateDir {r / 'state'}\nTempDir {r / 'temp'}\n"
            f"ErrorLog {r / 'log' / 'error_log'}\nAccessLog {r / 'log' / 'access_log'}\n"
            f"PageLog {r / 'log' / 'page_log'}\n")
        for name in self.queues[1:]:
            self.jobs_of(name).mkdir()
        subprocess.run(["chown", "-R", "lp:lp", str(r / "spool"), str(r / "cache"),
                        str(r / "state"), str(r / "temp"), str(r / "log"), str(self.jobs),
                        *(str(self.jobs_of(n)) for n in self.queues[1:])],
                       check=True)
        os.chmod(r, 0o755)
        self.proc = subprocess.Popen(
            ["/usr/sbin/cupsd", "-f", "-c", str(r / "conf" / "cupsd.conf"),
             "-s", str(r / "conf" / "cups-files.conf")],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.time() + 20
        while not self.socket.exists():
            if self.proc.poll() is not None or time.time() > deadline:
                raise RuntimeError("cupsd did not start: " + self.proc.stderr.read().decode())
            time.sleep(0.1)
        env = self.env()
        for name in self.queues:
            subprocess.run(["lpadmin", "-p", name, "-E", "-v", f"lumarotest:{self.jobs_of(name)}",
                            "-m", "raw"], check=True, env=env)
        if self.default:
            subprocess.run(["lpadmin", "-d", self.default], check=True, env=env)

    def jobs_of(self, name):
        return self.jobs if name == self.queues[0] else self.root / f"jobs-{name}"

    def env(self):
        env = dict(os.environ)
        env["CUPS_SERVER"] = str(self.socket)
        return env

    def received(self, count, timeout=30, queue=None):
        """The job files of the first or the named queue once `count` are there."""
        deadline = time.time() + timeout
        folder = self.jobs_of(queue) if queue else self.jobs
        while True:
            files = sorted(p for p in folder.glob("job-*.pdf"))
            if len(files) >= count or time.time() > deadline:
                return files
            time.sleep(0.2)

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        shutil.rmtree(self.root, ignore_errors=True)
