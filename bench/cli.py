#!/usr/bin/python3
"""The command-line maker beside ImageMagick's convert, side by side in one run.

Usage: cli.py --app build/src/avatello [--runs 20] [--rows 1000]

1. One icon: `avatello make` against one `convert` doing the same job (template 2, text "Hello"
   in Tahoma 8 pt at 13,33, a 48 x 48 24-bit BMP), each a new process; median wall time.
2. Many icons: one `avatello make --batch` of ROWS rows against ROWS `convert` runs.
3. Peak memory (max RSS) of one batch of 10, 100, 1000 and 10000 rows: flat if it does not grow.
4. Peak memory of reading a table: 1000 and 100000 rows, each naming a file of its own in a
   folder that does not exist, so that every row is read twice and keeps its files' keys, but
   nothing is written. The table is streamed: the two should be within a few MB.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TAHOMA = "/usr/share/wine/fonts/tahoma.ttf"


def run(command, cwd, stdin=None, may_fail=False):
    """Runs a command; returns (seconds, peak RSS in KiB)."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, stdin=subprocess.PIPE if stdin else None,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if stdin:
        process.stdin.write(stdin)
        process.stdin.close()
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.monotonic() - start
    error = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0 and not may_fail:
        sys.exit(f"failed ({process.returncode}): {' '.join(command)}\n{error}")
    return elapsed, usage.ru_maxrss


def table(rows, folder=""):
    lines = ["out\ttemplate\ttext"]
    lines += [f"{folder}icon{i:06d}.bmp\t{i % 12 + 1}\t{chr(65 + i % 26)}{chr(65 + i // 26 % 26)}"
              for i in range(rows)]
    return ("\n".join(lines) + "\n").encode()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--app", required=True)
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--rows", type=int, default=1000)
    args = parser.parse_args()
    app = os.path.abspath(args.app)
    # /usr/bin first: a convert elsewhere on the PATH may be a wrapper, not ImageMagick itself.
    convert = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else shutil.which("convert")
    if not convert:
        sys.exit("convert (ImageMagick) is not installed")
    here = os.path.dirname(os.path.abspath(__file__))
    template = os.path.join(here, "..", "src", "imageio", "pictures", "template02.gif")
    env_note = f"{os.cpu_count()} cores"

    with tempfile.TemporaryDirectory() as work:
        shutil.copy(template, os.path.join(work, "template.gif"))
        ours = [app, "make", "--template", "2", "--text", "Hello", "--at", "13,33", "-o", "a.bmp"]
        theirs = [convert, "template.gif", "-background", "white", "-flatten",
                  "-crop", "48x48+0+0", "+repage", "-font", TAHOMA, "-pointsize", "8",
                  "-annotate", "+13+33", "Hello", "BMP3:b.bmp"]
        times = {"make": [], "convert": []}
        for _ in range(args.runs):  # interleaved, so a burst of other work hits both
            times["make"].append(run(ours, work)[0])
            times["convert"].append(run(theirs, work)[0])
        one_make = statistics.median(times["make"]) * 1000
        one_convert = statistics.median(times["convert"]) * 1000
        print(f"One icon ({args.runs} runs each, median; {env_note}):")
        print(f"  avatello make   {one_make:8.1f} ms")
        print(f"  convert         {one_convert:8.1f} ms   make is {one_convert / one_make:.1f} x faster")

        batch_time, _ = run([app, "make", "--batch", "-"], work, stdin=table(args.rows))
        start = time.monotonic()
        for i in range(args.rows):
            command = list(theirs)
            command[-2] = f"{chr(65 + i % 26)}{chr(65 + i // 26 % 26)}"
            command[-1] = f"BMP3:c{i:05d}.bmp"
            run(command, work)
        convert_time = time.monotonic() - start
        print(f"{args.rows} icons:")
        print(f"  one make --batch       {batch_time:8.2f} s")
        print(f"  {args.rows} convert runs     {convert_time:8.2f} s   "
              f"make is {convert_time / batch_time:.0f} x faster")

        print("Peak memory of one batch:")
        for rows in (10, 100, 1000, 10000):
            seconds, peak = run([app, "make", "--batch", "-"], work, stdin=table(rows))
            print(f"  {rows:6d} rows   {peak / 1024:6.1f} MiB   {seconds:6.2f} s")

        print("Peak memory of reading a table (nothing written):")
        for rows in (1000, 100000):
            seconds, peak = run([app, "make", "--batch", "-"], work,
                                stdin=table(rows, "no-such-folder/"), may_fail=True)
            print(f"  {rows:6d} rows   {peak / 1024:6.1f} MiB   {seconds:6.2f} s")


if __name__ == "__main__":
    main()
