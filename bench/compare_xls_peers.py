#!/usr/bin/python3
"""Whole-command comparison: a 65,000 x 20 CSV written as a workbook by
`kvpublic export --csv ... --format xls`, by xlwt (.xls) and by libxlsxwriter
in its constant-memory mode (.xlsx), in the same run.

Each round runs every program once, one after the other, in an order that
turns from round to round; each run is a child process whose wall time and
peak resident set (os.wait4) are taken.  After the runs every output is
checked: it exists and is not trivially small, the workbooks open (ours and
xlwt's with xlrd, the .xlsx as a zip with a worksheet), and ours holds every
row.  The table shows the best and the median wall time, the ratios of the
peers' times to ours, and the largest peak memory of each program.

    compare_xls_peers.py [--build build/release] [--rows 65000] [--rounds 5]
                         [--csv FILE] [--ours PROGRAM] [--also NAME=PROGRAM]
                         [--keep DIR]

--build names the build folder holding kvpublic and bench/peer_xlsxwriter;
--ours times another kvpublic program as ours; --also (repeatable) adds
another kvpublic program to the rounds under NAME, an older build for a
before/after figure, say.  Exits non-zero when a program fails or an output
does not pass its check.
"""
import argparse
import io
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = "/usr/bin/python3"  # Debian's python, where xlwt and xlrd live


def run_child(argv, stdout_path):
    """Runs argv; returns (wall seconds, peak RSS in MiB, exit status)."""
    with open(stdout_path, "wb") as out:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdout=out, stderr=subprocess.STDOUT)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    return wall, usage.ru_maxrss / 1024.0, child.returncode


def check_xls(path, rows, cols, name):
    """The sheet ends with the last record (its id, the first column, is the
    row count) below at most three header rows (column and band headers)."""
    import xlrd  # Debian's python3-xlrd

    book = xlrd.open_workbook(path, on_demand=True, logfile=io.StringIO())
    sheet = book.sheet_by_index(0)
    if not rows + 1 <= sheet.nrows <= rows + 3 or sheet.ncols != cols:
        raise SystemExit("%s: %s holds %d x %d cells, expected %d rows and %d header rows x %d" %
                         (name, path, sheet.nrows, sheet.ncols, rows, sheet.nrows - rows, cols))
    last = sheet.cell_value(sheet.nrows - 1, 0)
    if last != rows:
        raise SystemExit("%s: %s ends with id %r, expected %d" % (name, path, last, rows))


def check_xlsx(path, name):
    with zipfile.ZipFile(path) as z:
        if "xl/worksheets/sheet1.xml" not in z.namelist() or z.testzip() is not None:
            raise SystemExit("%s: %s is not a workbook with a worksheet" % (name, path))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--rows", type=int, default=65000)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--csv", help="use this CSV instead of generating one")
    parser.add_argument("--ours", help="the kvpublic program to time (default: BUILD/kvpublic)")
    parser.add_argument("--also", action="append", default=[], metavar="NAME=PROGRAM",
                        help="another kvpublic program to time in the same rounds")
    parser.add_argument("--keep", help="copy the outputs of the last round here")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    kvpublic = os.path.abspath(args.ours) if args.ours else os.path.join(build, "kvpublic")
    peer_lxw = os.path.join(build, "bench", "peer_xlsxwriter")
    work = tempfile.mkdtemp(prefix="kv_compare_xls_")
    try:
        csv = args.csv or os.path.join(work, "bench.csv")
        if not args.csv:
            subprocess.run([PYTHON, os.path.join(HERE, "make_bench_csv.py"), csv, "--rows", str(args.rows)],
                           check=True)
        with open(csv, encoding="utf-8") as f:
            cols = len(f.readline().split(","))

        out = {k: os.path.join(work, "out_" + k) for k in ("ours", "xlwt", "lxw")}
        out["ours"] += ".xls"
        out["xlwt"] += ".xls"
        out["lxw"] += ".xlsx"
        ours = [kvpublic, "export", "--csv", csv, "--format", "xls", "--output", out["ours"], "--yes"]
        programs = [("kvpublic", ours, out["ours"])]
        for also in args.also:
            name, _, program = also.partition("=")
            target = os.path.join(work, "out_also_%d.xls" % len(programs))
            out[name] = target
            programs.append((name, [os.path.abspath(program), "export", "--csv", csv, "--format", "xls", "--output",
                                    target, "--yes"], target))
        programs += [
            ("xlwt", [PYTHON, os.path.join(HERE, "peer_xlwt.py"), csv, out["xlwt"]], out["xlwt"]),
        ]
        if os.path.exists(peer_lxw):
            programs.append(("libxlsxwriter cm", [peer_lxw, csv, out["lxw"]], out["lxw"]))
        else:
            print("note: %s not built (libxlsxwriter-dev missing?): that peer is left out" % peer_lxw)

        walls = {name: [] for name, _, _ in programs}
        peaks = {name: 0.0 for name, _, _ in programs}
        for rnd in range(args.rounds):
            order = programs[rnd % len(programs):] + programs[:rnd % len(programs)]
            for name, argv, target in order:
                if os.path.exists(target):
                    os.remove(target)
                log = os.path.join(work, "log.txt")
                wall, peak, code = run_child(argv, log)
                if code != 0:
                    with open(log, errors="replace") as f:
                        sys.stdout.write(f.read())
                    raise SystemExit("%s failed with exit code %d" % (name, code))
                if not os.path.exists(target) or os.path.getsize(target) < 20 * args.rows:
                    raise SystemExit("%s: %s is missing or too small" % (name, target))
                walls[name].append(wall)
                peaks[name] = max(peaks[name], peak)

        check_xls(out["ours"], args.rows, cols, "kvpublic")
        for also in args.also:
            name = also.partition("=")[0]
            check_xls(out[name], args.rows, cols, name)
        check_xls(out["xlwt"], args.rows, cols, "xlwt")
        if os.path.exists(out["lxw"]):
            check_xlsx(out["lxw"], "libxlsxwriter")
        if args.keep:
            os.makedirs(args.keep, exist_ok=True)
            for path in out.values():
                if os.path.exists(path):
                    shutil.copy(path, args.keep)

        base_best = min(walls["kvpublic"])
        base_median = statistics.median(walls["kvpublic"])
        print("%d rows x %d columns, %d rounds; ours: %s export --csv ... --format xls" % (args.rows, cols, args.rounds,
                                                                                      kvpublic))
        print("%-18s %9s %9s %13s %15s %10s %11s" % ("program", "best s", "median s", "best / ours", "median / ours",
                                                    "peak MiB", "file MiB"))
        for name, _, target in programs:
            best, median = min(walls[name]), statistics.median(walls[name])
            print("%-18s %9.3f %9.3f %12.2fx %14.2fx %10.1f %11.1f" %
                  (name, best, median, best / base_best, median / base_median, peaks[name],
                   os.path.getsize(target) / 1048576.0))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
