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

Given --bin twice (an older and a newer build), the two take turns run by run
and the table ends with the newer build against the older one: how many
times faster (wall and CPU), one record from start to PDF closed, peak memory
and the bytes of PDF written. That is how the built-in printer's own PDF
device was measured against Qt's PDF engine (the build before it).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys

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
    def __init__(self, wall, cpu, peak, status, pdf_closed=None, pdf_bytes=None):
        self.wall, self.cpu, self.peak, self.status = wall, cpu, peak, status
        self.pdf_closed, self.pdf_bytes = pdf_closed, pdf_bytes


# Runs one command and reports its own resource use. It runs in a small
# Python of its own because Linux carries the largest resident size of a
# process over into what it executes: measured straight from this process, the
# benchmark's own data (megabytes of generated text) would be every child's peak.
LAUNCHER = r"""
import os, sys, time
out = os.open(sys.argv[1], os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
started_ns = time.time_ns()
start = time.perf_counter()
pid = os.fork()
if pid == 0:
    os.dup2(out, 1)
    os.dup2(out, 2)
    try:
        os.execv(sys.argv[2], sys.argv[2:])
    finally:
        os._exit(127)
_, status, usage = os.wait4(pid, 0)
wall = time.perf_counter() - start
print(wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, os.waitstatus_to_exitcode(status),
      started_ns)
"""


def measure(command, output, pdf_dir=None):
    """Runs command once, its output into the file output; wall and CPU
    seconds, peak bytes and exit status. With pdf_dir, also the seconds from
    the start until the last PDF there was last written (its modification
    time)."""
    report = subprocess.run([sys.executable, "-S", "-c", LAUNCHER, output] + command,
                            env=environment(), stdout=subprocess.PIPE, check=True).stdout.split()
    wall, cpu, peak_kb, status, started_ns = (float(report[0]), float(report[1]), int(report[2]),
                                              int(report[3]), int(report[4]))
    closed = size = None
    if pdf_dir and os.path.isdir(pdf_dir):
        stats = [os.stat(os.path.join(pdf_dir, f)) for f in os.listdir(pdf_dir)
                 if f.endswith(".pdf")]
        if stats:
            closed = (max(st.st_mtime_ns for st in stats) - started_ns) / 1e9
            size = sum(st.st_size for st in stats)
    return Sample(wall, cpu, peak_kb * 1024, status, closed, size)


def data_file(folder):
    for name in ("WZBeleg.xml", "Besamung.xml"):
        if os.path.exists(os.path.join(folder, name)):
            return name
    return None


def run_program(binary, source, work, expect_status=0):
    """Runs the program once on a fresh copy of source; its sample and trace."""
    name = data_file(source)
    shutil.rmtree(work, ignore_errors=True)
    folder = os.path.join(work, "folder")
    shutil.copytree(source, folder)
    pdf = os.path.join(work, "pdf")
    trace = os.path.join(work, "trace.jsonl")
    s = measure([binary, "--folder", folder, "--pdf", pdf, "--unattended", "--trace", trace],
                os.path.join(work, "output.txt"), pdf)
    if s.status != expect_status:
        sys.exit(f"run_bench: {binary} on {source}: exit {s.status}, expected {expect_status}")
    if name and os.path.exists(os.path.join(folder, name)):
        sys.exit(f"run_bench: {binary} on {source}: the data file was not printed")
    return s, trace


def run_replay(replay, trace, work):
    out = os.path.join(work, "replay")
    shutil.rmtree(out, ignore_errors=True)
    s = measure([replay, trace, out], os.path.join(work, "replay.txt"))
    if s.status != 0:
        sys.exit(f"run_bench: trace_replay failed on {trace} (exit {s.status})")
    return s


def measure_case(binaries, replay, source, scratch, runs, expect_status=0):
    """Samples of every binary and of the replay floor on one program folder.

    The runs take turns (first binary, second binary, replay, and again), so
    that a machine that gets busier or quieter meanwhile weighs on all alike."""
    ours = [[] for _ in binaries]
    floor = []
    for i in range(runs):
        trace = None
        for b, binary in enumerate(binaries):
            sample, trace = run_program(binary, source, os.path.join(scratch, f"bin{b}-run{i}"),
                                        expect_status)
            ours[b].append(sample)
        if expect_status == 0:
            floor.append(run_replay(replay, trace, os.path.join(scratch, f"bin0-run{i}")))
    return ours, floor


def median(samples, field):
    values = [getattr(s, field) for s in samples if getattr(s, field) is not None]
    return statistics.median(values) if values else None


def ms(seconds):
    return "" if seconds is None else f"{seconds * 1000:,.0f}"


def load():
    return "{:.2f} {:.2f} {:.2f}".format(*os.getloadavg())


def row(name, records, ours, floor):
    wall, cpu = median(ours, "wall"), median(ours, "cpu")
    peak = max(s.peak for s in ours)
    if not floor:
        return f"| {name} | | {ms(wall)} | {ms(cpu)} | {peak / MB:.0f} | | | | | |"
    fwall, fcpu = median(floor, "wall"), median(floor, "cpu")
    return (f"| {name} | {records:,} | {ms(wall)} | {ms(cpu)} | {peak / MB:.0f} | "
            f"{wall / records * 1000:.2f} | {ms(fwall)} | {ms(fcpu)} | {wall / fwall:.2f} | "
            f"{cpu / fcpu:.2f} |")


def targets(results, layouts):
    """The verdicts on the targets for one binary's results."""
    lines = []
    for layout in layouts:
        big, small = results.get(f"wz-{layout}-1000"), results.get(f"wz-{layout}-100")
        if big and small:
            r_wall = median(big["ours"], "wall") / median(small["ours"], "wall")
            r_cpu = median(big["ours"], "cpu") / median(small["ours"], "cpu")
            verdict = "met" if r_wall <= 10.5 else "MISSED"
            lines.append(f"- {layout}: 1,000 records cost {r_wall:.2f} x (wall), {r_cpu:.2f} x "
                         f"(CPU) 100 records; target at most 10.5 x: {verdict}")
        if big:
            peak = max(s.peak for s in big["ours"])
            limit = 2 * big["size"] + 100 * MB
            verdict = "met" if peak < limit else "MISSED"
            lines.append(f"- {layout}: peak memory for 1,000 records {peak / MB:.0f} MB, limit "
                         f"2 x {big['size'] / MB:.1f} MB + 100 MB = {limit / MB:.0f} MB: {verdict}")
    a4 = results.get("wz-a4-1000")
    if a4:
        r_wall = median(a4["ours"], "wall") / median(a4["floor"], "wall")
        r_cpu = median(a4["ours"], "cpu") / median(a4["floor"], "cpu")
        verdict = "met" if r_wall <= 1.3 else "MISSED"
        lines.append(f"- a4: 1,000 records cost {r_wall:.2f} x (wall), {r_cpu:.2f} x (CPU) the "
                     f"replay floor; target at most 1.3 x: {verdict}")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--quick", action="store_true",
                        help="1, 10 and 100 records, one certificate, 3 runs")
    parser.add_argument("--runs", type=int, help="runs per size (default 5, quick 3)")
    parser.add_argument("--bin", action="append",
                        help="the program (default build/release/lumaro); give it twice to "
                             "compare two builds run by run")
    parser.add_argument("--replay", help="trace_replay (default: beside the first --bin)")
    parser.add_argument("--work", default=os.path.join(ROOT, "build", "bench"),
                        help="where data and runs go")
    parser.add_argument("--layouts", default=",".join(generate.LAYOUTS),
                        help="withdrawal layouts to measure (a4,a5,2xa5)")
    parser.add_argument("--sizes", type=generate.sizes_argument,
                        help="record counts (default 1,10,100,1000; quick 1,10,100)")
    parser.add_argument("--certificates", type=generate.sizes_argument,
                        help="certificate counts (default 1,100; quick 1; 0 for none)")
    args = parser.parse_args()

    binaries = [os.path.abspath(b) for b in
                (args.bin or [os.path.join(ROOT, "build", "release", "lumaro")])]
    replay = os.path.abspath(args.replay or os.path.join(os.path.dirname(binaries[0]), "bench",
                                                         "trace_replay"))
    for path in binaries + [replay]:
        if not os.access(path, os.X_OK):
            sys.exit(f"run_bench: {path} is missing; build the release preset first")
    runs = args.runs or (3 if args.quick else 5)
    sizes = args.sizes or ((1, 10, 100) if args.quick else generate.RECORD_SIZES)
    certificates = args.certificates or ((1,) if args.quick else generate.CERTIFICATE_SIZES)
    certificates = tuple(n for n in certificates if n > 0)
    layouts = [l for l in args.layouts.split(",") if l]

    data = os.path.join(args.work, "data")
    scratch = os.path.join(args.work, "runs")
    shutil.rmtree(scratch, ignore_errors=True)
    cases = generate.generate(data, sizes, certificates, layouts)
    empty = os.path.join(data, "empty")
    generate.program_folder(empty, "unused.txt", "")
    os.remove(os.path.join(empty, "unused.txt"))

    started = load()
    # Start-up first: nothing to print (Qt's start and ours, exit 1).
    idle, _ = measure_case(binaries, replay, empty, os.path.join(scratch, "empty"), runs,
                           expect_status=1)
    results = [{} for _ in binaries]
    for name, (source, records) in cases.items():
        size = os.path.getsize(os.path.join(source, data_file(source)))
        ours, floor = measure_case(binaries, replay, source, os.path.join(scratch, name), runs)
        for b in range(len(binaries)):
            results[b][name] = dict(records=records, size=size, ours=ours[b], floor=floor)
        print(f"  {name}: " + ", ".join(f"{ms(median(o, 'cpu'))} ms CPU" for o in ours) +
              f"; replay {ms(median(floor, 'cpu'))} ms CPU", file=sys.stderr, flush=True)

    print(f"{runs} runs per row, medians; load average before {started}, after {load()} "
          f"({os.cpu_count()} cores)")
    for b, binary in enumerate(binaries):
        print()
        print(f"{binary}:")
        print()
        print("| case | records | wall ms | CPU ms | peak MB | wall ms/record | replay wall ms | "
              "replay CPU ms | wall / replay | CPU / replay |")
        print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|")
        print(row("start, nothing to print (exit 1)", 0, idle[b], []))
        for name, r in results[b].items():
            if r["records"] == 1 and name.startswith("wz-"):
                print(f"| {name}: start to PDF closed | 1 | "
                      f"{ms(median(r['ours'], 'pdf_closed'))} | | | | | | | |")
            print(row(name, r["records"], r["ours"], r["floor"]))
        print()
        for line in targets(results[b], layouts):
            print(line)
    for b in range(1, len(binaries)):
        print()
        print(f"{binaries[b]} against {binaries[0]}, run by run (medians of the ratios; "
              "speed-up = the first's time / this one's):")
        print()
        print("| case | speed-up wall | speed-up CPU | start to PDF closed ms | peak MB | "
              "PDF bytes |")
        print("|---|---:|---:|---:|---:|---:|")
        for name in results[0]:
            first, this = results[0][name]["ours"], results[b][name]["ours"]

            def ratio(field):
                return statistics.median(getattr(f, field) / getattr(o, field)
                                         for o, f in zip(this, first))

            closed = ""
            if median(this, "pdf_closed") is not None and results[b][name]["records"] == 1:
                closed = (f"{ms(median(first, 'pdf_closed'))} → "
                          f"{ms(median(this, 'pdf_closed'))}")
            print(f"| {name} | {ratio('wall'):.2f} | {ratio('cpu'):.2f} | {closed} | "
                  f"{max(s.peak for s in first) / MB:.0f} → {max(s.peak for s in this) / MB:.0f} | "
                  f"{median(first, 'pdf_bytes'):,.0f} → {median(this, 'pdf_bytes'):,.0f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
