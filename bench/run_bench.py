#!/usr/bin/env python3
"""Measures the real program on generated batches and prints a Markdown table.

For every generated program folder (bench/generate.py) the program is run
several times on a fresh copy,

    lumaro --folder COPY --pdf OUT --unattended --trace TRACE

and the medians are reported: wall time, CPU time (user + system of the
child), peak memory (maximum resident set), time per record, and the program's
time divided by the time trace_replay needs to draw the same trace onto PDF
files (run as often, medians again). Two start-up rows come first: the program
on a folder with nothing to print (Qt's and our own start, exit 1), and a
one-record document from process start to the PDF closed and to exit.

Targets checked at the end: 1,000 records cost at most 10.5 x 100 records;
1,000 A4 records at most 1.3 x the replay floor; peak memory for a 1,000-record
file under 2 x its size + 100 MB. Measurements on a busy machine are noisy:
the load average before and after is printed with the table.

    bench/run_bench.py [--quick] [--runs N] [--bin build/release/lumaro]
                       [--replay build/release/bench/trace_replay]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import generate  # noqa: E402

MB = 1024 * 1024


def environment():
    env = {k: v for k, v in os.environ.items() if not k.startswith("LUMARO_")}
    env.update({"LC_ALL": "C", "LANG": "C", "QT_QPA_PLATFORM": "offscreen"})
    return env


class Sample:
    def __init__(self, wall, cpu, peak, status, pdf_closed=None):
        self.wall, self.cpu, self.peak, self.status = wall, cpu, peak, status
        self.pdf_closed = pdf_closed


def measure(command, output, pdf_dir=None):
    """Runs command once, its output into the file output; wall and CPU
    seconds, peak bytes and exit status. With pdf_dir, also the seconds from
    the start until the last PDF there was last written (its modification
    time)."""
    env = environment()
    with open(output, "wb") as out:
        started_ns = time.time_ns()
        start = time.perf_counter()
        child = subprocess.Popen(command, env=env, stdout=out, stderr=subprocess.STDOUT)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    closed = None
    if pdf_dir and os.path.isdir(pdf_dir):
        stamps = [os.stat(os.path.join(pdf_dir, f)).st_mtime_ns for f in os.listdir(pdf_dir)
                  if f.endswith(".pdf")]
        if stamps:
            closed = (max(stamps) - started_ns) / 1e9
    return Sample(wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024,
                  child.returncode, closed)


def data_file(folder):
    for name in ("WZBeleg.xml", "Besamung.xml"):
        if os.path.exists(os.path.join(folder, name)):
            return name
    return None


def run_program(binary, source, scratch, runs, expect_status=0):
    """Runs the program runs times on fresh copies of source; the samples and
    the trace of the last run."""
    samples, trace = [], None
    name = data_file(source)
    for i in range(runs):
        work = os.path.join(scratch, f"run{i}")
        shutil.rmtree(work, ignore_errors=True)
        folder = os.path.join(work, "folder")
        shutil.copytree(source, folder)
        pdf = os.path.join(work, "pdf")
        trace = os.path.join(work, "trace.jsonl")
        s = measure([binary, "--folder", folder, "--pdf", pdf, "--unattended", "--trace", trace],
                    os.path.join(work, "output.txt"), pdf)
        if s.status != expect_status:
            sys.exit(f"run_bench: {source}: exit {s.status}, expected {expect_status}")
        if name and os.path.exists(os.path.join(folder, name)):
            sys.exit(f"run_bench: {source}: the data file was not printed")
        samples.append(s)
    return samples, trace


def run_replay(replay, trace, scratch, runs):
    samples = []
    for i in range(runs):
        out = os.path.join(scratch, f"replay{i}")
        shutil.rmtree(out, ignore_errors=True)
        s = measure([replay, trace, out], os.path.join(scratch, f"replay{i}.txt"))
        if s.status != 0:
            sys.exit(f"run_bench: trace_replay failed on {trace} (exit {s.status})")
        samples.append(s)
    return samples


def median(samples, field):
    values = [getattr(s, field) for s in samples if getattr(s, field) is not None]
    return statistics.median(values) if values else None


def ms(seconds):
    return "" if seconds is None else f"{seconds * 1000:,.0f}"


def load():
    return "load average {:.2f} {:.2f} {:.2f}".format(*os.getloadavg())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="1, 10 and 100 records, one certificate, 3 runs")
    parser.add_argument("--runs", type=int, help="runs per size (default 5, quick 3)")
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "release", "lumaro"))
    parser.add_argument("--replay", help="trace_replay (default: beside --bin in bench/)")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "bench"),
                        help="where data and runs go")
    parser.add_argument("--layouts", default=",".join(generate.LAYOUTS),
                        help="withdrawal layouts to measure (a4,a5,2xa5)")
    args = parser.parse_args()

    binary = os.path.abspath(args.bin)
    replay = os.path.abspath(args.replay or os.path.join(os.path.dirname(binary), "bench",
                                                         "trace_replay"))
    for path in (binary, replay):
        if not os.access(path, os.X_OK):
            sys.exit(f"run_bench: {path} is missing; build the release preset first")
    runs = args.runs or (3 if args.quick else 5)
    sizes = (1, 10, 100) if args.quick else generate.RECORD_SIZES
    certificates = (1,) if args.quick else generate.CERTIFICATE_SIZES
    layouts = [l for l in args.layouts.split(",") if l]

    data = os.path.join(args.work, "data")
    scratch = os.path.join(args.work, "runs")
    shutil.rmtree(scratch, ignore_errors=True)
    cases = generate.generate(data, sizes, certificates, layouts)
    empty = os.path.join(data, "empty")
    generate.program_folder(empty, "unused.txt", "")
    os.remove(os.path.join(empty, "unused.txt"))

    print(f"Before: {load()}; {runs} runs per row, medians; {binary}", flush=True)

    # Start-up: nothing to print, then the smallest document.
    rows, results = [], {}
    idle, _ = run_program(binary, empty, os.path.join(scratch, "empty"), runs, expect_status=1)
    rows.append(f"| start, nothing to print (exit 1) | | {ms(median(idle, 'wall'))} | "
                f"{ms(median(idle, 'cpu'))} | {median(idle, 'peak') / MB:.0f} | | | | | |")

    for name, (source, records) in cases.items():
        size = os.path.getsize(os.path.join(source, data_file(source)))
        work = os.path.join(scratch, name)
        ours, trace = run_program(binary, source, work, runs)
        floor = run_replay(replay, trace, work, runs)
        wall, cpu = median(ours, "wall"), median(ours, "cpu")
        peak = max(s.peak for s in ours)
        fwall, fcpu = median(floor, "wall"), median(floor, "cpu")
        results[name] = dict(records=records, size=size, wall=wall, cpu=cpu, peak=peak,
                             fwall=fwall, fcpu=fcpu)
        closed = median(ours, "pdf_closed")
        if records == 1 and name.startswith("wz-"):
            rows.append(f"| {name}: start to PDF closed | 1 | {ms(closed)} | | | | | | | |")
        rows.append(f"| {name} | {records:,} | {ms(wall)} | {ms(cpu)} | {peak / MB:.0f} | "
                    f"{wall / records * 1000:.2f} | {ms(fwall)} | {ms(fcpu)} | "
                    f"{wall / fwall:.2f} | {cpu / fcpu:.2f} |")
        print(f"  {name}: {ms(wall)} ms", file=sys.stderr, flush=True)

    print()
    print("| case | records | wall ms | CPU ms | peak MB | wall ms/record | replay wall ms | "
          "replay CPU ms | wall / replay | CPU / replay |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
    for row in rows:
        print(row)
    print()
    print(f"After: {load()}")
    print()

    # The targets.
    for layout in layouts:
        big, small = results.get(f"wz-{layout}-1000"), results.get(f"wz-{layout}-100")
        if big and small:
            r_wall, r_cpu = big["wall"] / small["wall"], big["cpu"] / small["cpu"]
            verdict = "met" if min(r_wall, r_cpu) <= 10.5 else "MISSED"
            print(f"- {layout}: 1,000 records cost {r_wall:.2f} x (wall), {r_cpu:.2f} x (CPU) "
                  f"100 records; target 10.5: {verdict}")
        if big:
            limit = 2 * big["size"] + 100 * MB
            verdict = "met" if big["peak"] < limit else "MISSED"
            print(f"- {layout}: peak memory for 1,000 records {big['peak'] / MB:.0f} MB, "
                  f"limit {limit / MB:.0f} MB: {verdict}")
    a4 = results.get("wz-a4-1000")
    if a4:
        r_wall, r_cpu = a4["wall"] / a4["fwall"], a4["cpu"] / a4["fcpu"]
        verdict = "met" if min(r_wall, r_cpu) <= 1.3 else "MISSED"
        print(f"- a4: 1,000 records cost {r_wall:.2f} x (wall), {r_cpu:.2f} x (CPU) the replay "
              f"floor; target 1.3: {verdict}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
