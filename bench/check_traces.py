#!/usr/bin/env python3
"""Checks that the program still draws exactly what it drew when the expected
traces in bench/expected-traces/ were recorded.

Each example folder under examples/, and a few small generated folders for
the layouts no example covers, is copied to a temporary folder and printed
with --pdf --unattended --trace; the trace must equal the recorded one line by
line. The only thing normalised is the temporary folder itself, which picture
events name in their file path.

    bench/check_traces.py --bin build/release/lumaro            check
    bench/check_traces.py --bin build/release/lumaro --record   record anew

Record anew only when a change of what is drawn is intended, and say so in
the commit.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
EXPECTED = os.path.join(HERE, "expected-traces")
FOLDER_MARK = "<FOLDER>"

sys.path.insert(0, HERE)
import generate  # noqa: E402  (the benchmark's own data generator)

# Layouts without an example of their own, a few records each, so that every
# renderer's drawing is pinned down.
GENERATED_SIZES = (3,)
GENERATED_CERTIFICATES = (2,)


def program_environment():
    env = {k: v for k, v in os.environ.items() if not k.startswith("LUMARO_")}
    # German separators whatever the machine's locale, no display needed.
    env.update({"LC_ALL": "C", "LANG": "C", "QT_QPA_PLATFORM": "offscreen"})
    env.pop("LC_NUMERIC", None)
    return env


def run_traced(binary, source, work):
    """Prints a copy of the program folder source; returns (status, trace lines)."""
    folder = os.path.join(work, "folder")
    shutil.copytree(source, folder)
    trace = os.path.join(work, "trace.jsonl")
    result = subprocess.run(
        [binary, "--folder", folder, "--pdf", os.path.join(work, "pdf"), "--unattended",
         "--trace", trace],
        env=program_environment(), stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=240)
    with open(trace, encoding="utf-8") as f:
        text = f.read()
    return result.returncode, text.replace(folder, FOLDER_MARK).splitlines()


def cases(scratch):
    """(name, program folder) of every folder whose trace is pinned."""
    found = []
    for name in sorted(os.listdir(os.path.join(ROOT, "examples"))):
        path = os.path.join(ROOT, "examples", name)
        if os.path.isfile(os.path.join(path, "Halmor.ini")):
            found.append((name, path))
    made = generate.generate(os.path.join(scratch, "generated"), GENERATED_SIZES,
                             GENERATED_CERTIFICATES)
    found += [("generated-" + name, path) for name, (path, _) in sorted(made.items())]
    return found


def first_difference(expected, actual):
    for i, (e, a) in enumerate(zip(expected, actual)):
        if e != a:
            return i
    return min(len(expected), len(actual))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", required=True, help="the lumaro executable")
    parser.add_argument("--record", action="store_true", help="write the expected traces anew")
    args = parser.parse_args()
    binary = os.path.abspath(args.bin)

    failures = 0
    with tempfile.TemporaryDirectory(prefix="lumaro-traces-") as scratch:
        for index, (name, source) in enumerate(cases(scratch)):
            work = os.path.join(scratch, f"run{index}")
            os.makedirs(work)
            status, lines = run_traced(binary, source, work)
            expected_path = os.path.join(EXPECTED, name + ".jsonl")
            if args.record:
                os.makedirs(EXPECTED, exist_ok=True)
                with open(expected_path, "w", encoding="utf-8", newline="\n") as f:
                    f.write("".join(line + "\n" for line in lines))
                print(f"recorded {name}: {len(lines)} events, exit {status}")
                continue
            if not os.path.exists(expected_path):
                print(f"FAIL {name}: no expected trace {expected_path}")
                failures += 1
                continue
            with open(expected_path, encoding="utf-8") as f:
                expected = f.read().splitlines()
            if lines == expected:
                print(f"ok   {name}: {len(lines)} events")
                continue
            failures += 1
            i = first_difference(expected, lines)
            print(f"FAIL {name}: {len(expected)} events expected, {len(lines)} drawn, "
                  f"first difference at event {i + 1} (exit {status})")
            print(f"  expected: {expected[i] if i < len(expected) else '(end of trace)'}")
            print(f"  drawn:    {lines[i] if i < len(lines) else '(end of trace)'}")
    if failures:
        print(f"{failures} trace(s) differ")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
