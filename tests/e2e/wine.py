"""lumaro.exe and the test tools under Wine, in the windows build's own prefix
(scripts/wine-prefix.sh prepares it), and what a PostScript job printed."""

import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

BUILD = Path(os.environ.get("LUMARO_WINDOWS_BUILD",
                            Path(__file__).resolve().parents[2] / "build" / "windows"))
LUMARO = Path(os.environ.get("LUMARO_EXE", BUILD / "lumaro.exe"))
TOOLS = Path(os.environ.get("LUMARO_WIN32_TOOLS", BUILD / "platform" / "win32"))
WINE = shutil.which("wine64") or "/usr/lib/wine/wine64"
WINESERVER = shutil.which("wineserver") or "/usr/lib/wine/wineserver"


def env():
    """The environment of every Wine call: the build's prefix, no CUPS, no X."""
    e = dict(os.environ)
    for k in ("DISPLAY", "WAYLAND_DISPLAY", "LUMARO_FOLDER", "LUMARO_PDF", "LUMARO_UNATTENDED",
              "LUMARO_TRACE", "LUMARO_ARCHIVE"):
        e.pop(k, None)
    e.update({"WINEPREFIX": str(BUILD / "wineprefix"), "WINEDEBUG": "-all", "WINEARCH": "win64",
              "WINEDLLOVERRIDES": "mscoree,mshtml=", "CUPS_SERVER": str(BUILD / "no-cups.sock"),
              # Wine names the files of the Linux disk in the locale's character set.
              "LC_ALL": "C.UTF-8", "LANG": "C.UTF-8"})
    return e


def winpath(path):
    """A Linux path as Windows programs under Wine see it (drive Z:)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run(exe, *args, timeout=60):
    proc = start(exe, *args)
    try:
        out, err = finish(proc, timeout)
    finally:
        proc.kill()
    return subprocess.CompletedProcess(proc.args, proc.returncode, out, err)


def start(exe, *args, pipes=False):
    """Starts a program; its output goes to files (finish() reads them): a Wine
    process started along the way inherits it and would hold a pipe open.
    pipes=True for a console program the test talks to."""
    out = (subprocess.PIPE,) * 3 if pipes else (
        subprocess.DEVNULL, tempfile.TemporaryFile(), tempfile.TemporaryFile())
    proc = subprocess.Popen([WINE, str(exe), *map(str, args)], env=env(), stdin=out[0],
                            stdout=out[1], stderr=out[2])
    proc.files = out[1:]
    return proc


def finish(proc, timeout):
    """Waits for a program from start() and gives its (stdout, stderr)."""
    proc.wait(timeout=timeout)
    for f in proc.files:
        f.seek(0)
    return tuple(f.read() for f in proc.files)


def tool(name, *args, check=True, timeout=60):
    r = run(TOOLS / f"{name}.exe", *args, timeout=timeout)
    if check and r.returncode != 0:
        raise AssertionError(f"{name} {args}: {r.returncode} {r.stderr.decode(errors='replace')}")
    return r.stdout.decode("utf-8").replace("\r\n", "\n")


class Printers:
    """The prefix's printers, all on the tests' PostScript driver."""

    def set(self, printers, default=None):
        """Exactly these: [(name, port[, driver])]; a Path port in its Windows form."""
        tool("wine_printers", "clear")
        for name, port, *driver in printers:
            tool("wine_printers", "add", name, winpath(port) if isinstance(port, Path) else port,
                 *driver)
        if default:
            tool("wine_printers", "default", default)


QUIET = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}


def ensure_server():
    """One wine server for the whole run, started with no pipe of ours attached
    (a server started by a test's program would hold that program's pipes)."""
    subprocess.run([WINESERVER, "-p"], env=env(), **QUIET)
    subprocess.run([WINE, "cmd", "/c", "exit"], env=env(), **QUIET)


def set_graphics_driver(name, scratch):
    """Wine's display driver: "null" (no X server needed) or "x11" (which, with
    no DISPLAY, means no display at all); a fresh server takes it up."""
    reg = Path(scratch) / "graphics.reg"
    reg.write_text('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\n'
                   f'"Graphics"="{name}"\n')
    run("regedit", "/S", winpath(reg))
    subprocess.run([WINESERVER, "-k"], env=env(), **QUIET)
    subprocess.run([WINESERVER, "-w"], env=env(), **QUIET)
    ensure_server()


def wait_for_job(port, timeout=10):
    """The PostScript of a job once the spooler has written it whole."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if port.exists() and b"%%EOF" in port.read_bytes()[-200:]:
            return port.read_bytes()
        time.sleep(0.05)
    raise AssertionError(f"no complete job in {port}")


def ps_to_pdf(ps_path):
    pdf = Path(ps_path).with_suffix(".pdf")
    subprocess.run(["ps2pdf", str(ps_path), str(pdf)], check=True, capture_output=True)
    return pdf


def pdf_text(pdf):
    return subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True,
                          text=True, check=True).stdout
