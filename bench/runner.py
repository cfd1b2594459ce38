#!/usr/bin/env python3
"""Runs every benchmark of cases.txt for maqo and its peers, interleaved,
several rounds, and prints the medians, the ratios and the peak memory.

Started by run.sh, which prepares the data folder and (for the Wine columns)
a private Wine prefix and display. Each run is checked against the expected
output line: a wrong answer, a crash or a time-out is a FAIL and makes the
exit status 1. A peer script that finds a feature missing in its engine
prints "n/a: reason"; that shows as n/a and is listed below the table.

Wall time is measured around the whole process (start-up included) with a
monotonic clock; peak memory is GNU time's maximum resident set size of the
measured process (for Wine programs that includes Wine's own libraries)."""
import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CASES_DIR = os.path.join(HERE, "cases")

# Columns: name, script extension, whether it runs under Wine.
IMPLS = [
    ("maqo", "mqs", False),
    ("python3", "py", False),
    ("lua5.4", "lua", False),
    ("maqo.exe", "mqs", True),
    ("cscript", "vbs", True),
]

MAQO_COLUMNS = ("maqo", "maqo.exe")
# Kinds whose scripts need Windows (COM servers): only the Wine columns run them.
WINDOWS_ONLY_KINDS = ("com",)
WINE_COLUMNS = tuple(name for name, _, under_wine in IMPLS if under_wine)

# Targets the project set for itself; checked and reported, not enforced by
# the exit status (that is kept for wrong answers).
NATIVE_VS_PYTHON = 1.5      # native maqo at most this many times python3 ...
NATIVE_VS_PYTHON_BY_CASE = {  # ... except where a benchmark has its own bound
    "errors": 3.0, "strbuild": 2.0, "csvread": 3.0, "splitjoin": 2.0, "qsort": 2.0,
    "oneline": 1.0, "startup": 1.0,
}
MEMORY_VS_PYTHON = 2.0      # native maqo's peak memory at most this many times python3's
WINE_VS_CSCRIPT = 5.0       # maqo.exe at least this many times faster ...
WINE_CSCRIPT_FLOOR_MS = 350.0  # ... where cscript needs more than this (Wine's start costs the rest)
STARTUP_MS = 50.0           # native start-up to the first statement
CSV_VS_PYTHON = 3.0         # FGET within this factor of python3's csv
READINI_MS = 1000.0         # 1,000 READINI calls
COM_VS_CSCRIPT = 1.0        # maqo.exe's COM member calls at least as fast as cscript's


class Case:
    def __init__(self, name, kind, expected, what):
        self.name, self.kind, self.expected, self.what = name, kind, expected, what


def read_cases(path):
    cases = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = [p.strip() for p in line.split("|")]
            if len(parts) != 4:
                raise SystemExit("bench: bad line in cases.txt: " + line)
            cases.append(Case(*parts))
    return cases


def winpath(path):
    """The Windows name of a POSIX path (the prefix maps Z: to /)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Result:
    """One run: status "ok", "FAIL", "TIMEOUT" or "n/a", time, memory, detail."""

    def __init__(self, status, seconds=None, peak_kb=None, detail=""):
        self.status, self.seconds, self.peak_kb, self.detail = status, seconds, peak_kb, detail


class Runner:
    def __init__(self, args):
        self.args = args
        self.work = os.path.abspath(args.work)
        self.unavailable = {}  # column -> reason it cannot run at all

    def command(self, impl, script):
        a = self.args
        if impl == "maqo":
            return [os.path.join(a.native_bin, "mqsrun"), script]
        if impl == "python3":
            return [a.python, script]
        if impl == "lua5.4":
            return [a.lua, script]
        if impl == "maqo.exe":
            return ["wine", os.path.join(a.win_bin, "mqsrun.exe"), winpath(script)]
        if impl == "cscript":
            return ["wine", "C:\\windows\\system32\\cscript.exe", "//nologo", winpath(script)]
        raise ValueError(impl)

    def run_once(self, impl, script, expected):
        cmd = self.command(impl, script)
        with tempfile.TemporaryDirectory(prefix="bench-") as tmp:
            out_path = os.path.join(tmp, "out")
            err_path = os.path.join(tmp, "err")
            mem_path = os.path.join(tmp, "mem")
            # timeout kills a run that hangs; GNU time reports the peak memory
            # of the process it waits for (timeout's child is the program).
            full = ["/usr/bin/time", "-f", "%M", "-o", mem_path,
                    "timeout", "-k", "5", str(self.args.timeout)] + cmd
            with open(out_path, "wb") as out, open(err_path, "wb") as err:
                start = time.perf_counter()
                proc = subprocess.run(full, stdin=subprocess.DEVNULL, stdout=out,
                                      stderr=err, cwd=self.work)
                seconds = time.perf_counter() - start
            text = read_text(out_path).replace("\r", "").strip()
            errors = read_text(err_path).strip()
            peak_kb = None
            mem_lines = read_text(mem_path).split()
            if mem_lines and mem_lines[-1].isdigit():
                peak_kb = int(mem_lines[-1])
        if proc.returncode in (124, 137):
            return Result("TIMEOUT", seconds, peak_kb, "no result within %d s" % self.args.timeout)
        if text.startswith("n/a:") and proc.returncode == 0:
            return Result("n/a", None, None, text[4:].strip())
        if proc.returncode != 0 or text != expected:
            detail = "exit %d, printed %r" % (proc.returncode, shorten(text))
            if errors:
                detail += ", stderr %r" % shorten(errors)
            return Result("FAIL", seconds, peak_kb, detail)
        return Result("ok", seconds, peak_kb)

    def check_columns(self, impls):
        """Finds columns that cannot run at all, before any timing."""
        a = self.args
        for impl in impls:
            if impl == "maqo" and not os.access(os.path.join(a.native_bin, "mqsrun"), os.X_OK):
                self.unavailable[impl] = "no %s/mqsrun (run make build)" % a.native_bin
            elif impl == "python3" and not shutil.which(a.python):
                self.unavailable[impl] = a.python + " is not installed"
            elif impl == "lua5.4" and not shutil.which(a.lua):
                self.unavailable[impl] = a.lua + " is not installed"
            elif impl in WINE_COLUMNS:
                if not a.wine_ready:
                    self.unavailable[impl] = "no Wine environment (" + (a.wine_reason or "not started") + ")"
                elif impl == "maqo.exe" and not os.path.isfile(os.path.join(a.win_bin, "mqsrun.exe")):
                    self.unavailable[impl] = "no %s/mqsrun.exe (run make build)" % a.win_bin
                elif impl == "cscript":
                    prefix = os.environ.get("WINEPREFIX", "")
                    sys32 = os.path.join(prefix, "drive_c", "windows", "system32")
                    for needed in ("cscript.exe", "vbscript.dll"):
                        if not os.path.isfile(os.path.join(sys32, needed)):
                            self.unavailable[impl] = "%s is missing from the Wine prefix" % needed
                            break
        # One untimed run per column: it proves the column works and loads
        # the program and its libraries into the page cache (for Wine, also
        # the prefix's registry and DLLs) so the first timed run is not
        # penalised.
        hello = {"mqs": 'PRINT "hello"', "py": 'print("hello")', "lua": 'print("hello")',
                 "vbs": 'WScript.Echo "hello"'}
        for impl, ext, _ in IMPLS:
            if impl not in impls or impl in self.unavailable:
                continue
            script = os.path.join(self.work, "hello." + ext)
            with open(script, "w", encoding="ascii") as f:
                f.write(hello[ext] + "\n")
            result = self.run_once(impl, script, "hello")
            if result.status != "ok":
                self.unavailable[impl] = "a one-line script does not run: " + result.detail


def read_text(path):
    try:
        with open(path, "rb") as f:
            return f.read().decode("utf-8", "replace")
    except OSError:
        return ""


def shorten(text, limit=160):
    text = " ".join(text.split())
    return text if len(text) <= limit else text[:limit] + "..."


def copy_scripts(cases, work):
    for case in cases:
        for _, ext, _ in IMPLS:
            src = os.path.join(CASES_DIR, case.name + "." + ext)
            if os.path.isfile(src):
                shutil.copyfile(src, os.path.join(work, case.name + "." + ext))


def fmt_ms(seconds):
    if seconds is None:
        return "-"
    ms = seconds * 1000.0
    return "%.0f" % ms if ms >= 10 else "%.1f" % ms


def fmt_ratio(x):
    if x is None:
        return "-"
    return "%.2f" % x if x < 10 else "%.1f" % x


def median_of(results):
    """Median seconds of the runs, or the status that spoils them."""
    for bad in ("FAIL", "TIMEOUT", "n/a"):
        if any(r.status == bad for r in results):
            return bad, None
    return "ok", statistics.median(r.seconds for r in results)


def peak_of(results):
    peaks = [r.peak_kb for r in results if r.peak_kb is not None]
    return max(peaks) if peaks else None


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--work", required=True, help="data folder (scripts are copied there)")
    p.add_argument("--native-bin", required=True)
    p.add_argument("--win-bin", required=True)
    p.add_argument("--python", default="python3")
    p.add_argument("--lua", default="lua5.4")
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--filter", default="", help="regular expression on benchmark names")
    p.add_argument("--impls", default=",".join(i[0] for i in IMPLS))
    p.add_argument("--timeout", type=int, default=900, help="seconds per run")
    p.add_argument("--wine-ready", action="store_true")
    p.add_argument("--wine-reason", default="")
    args = p.parse_args()
    if args.runs < 1:
        raise SystemExit("bench: the number of runs must be at least 1")

    cases = read_cases(os.path.join(HERE, "cases.txt"))
    if args.filter:
        pattern = re.compile(args.filter)
        cases = [c for c in cases if pattern.search(c.name)]
        if not cases:
            raise SystemExit("bench: BENCH_FILTER=%s matches no benchmark" % args.filter)
    wanted = [s.strip() for s in args.impls.split(",") if s.strip()]
    known = [i[0] for i in IMPLS]
    for w in wanted:
        if w not in known:
            raise SystemExit("bench: unknown column %s (known: %s)" % (w, ", ".join(known)))
    impls = [i for i in IMPLS if i[0] in wanted]

    os.makedirs(args.work, exist_ok=True)
    copy_scripts(cases, args.work)
    runner = Runner(args)
    print_header(args, impls)
    runner.check_columns([i[0] for i in impls])
    for impl, reason in runner.unavailable.items():
        print("  %s: n/a - %s" % (impl, reason))

    results = {}  # (case, impl) -> [Result]
    for round_no in range(1, args.runs + 1):
        for case in cases:
            for impl, ext, under_wine in impls:
                key = (case.name, impl)
                if impl in runner.unavailable:
                    results[key] = [Result("n/a", detail=runner.unavailable[impl])]
                    continue
                if case.kind in WINDOWS_ONLY_KINDS and not under_wine:
                    results[key] = [Result("n/a", detail="needs Windows COM servers")]
                    continue
                script = os.path.join(args.work, case.name + "." + ext)
                if not os.path.isfile(script):
                    results[key] = [Result("n/a", detail="no script " + case.name + "." + ext)]
                    continue
                previous = results.setdefault(key, [])
                if previous and previous[-1].status != "ok":
                    continue  # a wrong answer, a time-out or n/a stays so; save the time
                r = runner.run_once(impl, script, case.expected)
                previous.append(r)
                sys.stderr.write("[round %d/%d] %-9s %-8s %s %s\n" % (
                    round_no, args.runs, case.name, impl, r.status,
                    fmt_ms(r.seconds) + " ms" if r.seconds is not None else r.detail))
                sys.stderr.flush()

    failed = print_tables(cases, impls, results, args, runner.unavailable)
    print("load average at the end: %s" % load_average())
    write_json(os.path.join(args.work, "results.json"), cases, impls, results, args, failed)
    return 1 if failed else 0


# The ratio columns of the table, as (name in the JSON, numerator, denominator).
RATIOS = [
    ("maqo/python3", "maqo", "python3"),
    ("maqo/lua5.4", "maqo", "lua5.4"),
    ("cscript/maqo.exe", "cscript", "maqo.exe"),
    ("maqo.exe/maqo", "maqo.exe", "maqo"),
]


def write_json(path, cases, impls, results, args, failed):
    """The table as data, so that runs can be compared: per benchmark and
    column the median ms (null when it did not run or failed), the status and
    the peak MB, and per benchmark the ratios of the table."""
    names = [i[0] for i in impls]
    out = {
        "runs": args.runs,
        "load_average_end": load_average(),
        "columns": names,
        "failed": failed,
        "cases": {},
    }
    for case in cases:
        columns = {}
        for impl in names:
            rs = results.get((case.name, impl), [])
            status, seconds = median_of(rs) if rs else ("n/a", None)
            kb = peak_of(rs)
            columns[impl] = {
                "status": status,
                "median_ms": None if seconds is None else round(seconds * 1000.0, 3),
                "runs_ms": [round(r.seconds * 1000.0, 3) for r in rs if r.seconds is not None],
                "peak_mb": None if kb is None else round(kb / 1024.0, 2),
            }
        ratios = {}
        for label, num, den in RATIOS:
            a, b = columns.get(num), columns.get(den)
            if a and b and a["median_ms"] is not None and b["median_ms"]:
                ratios[label] = round(a["median_ms"] / b["median_ms"], 3)
        out["cases"][case.name] = {"kind": case.kind, "what": case.what, "columns": columns, "ratios": ratios}
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="utf-8") as f:
        json.dump(out, f, indent=2)
        f.write("\n")
    os.replace(tmp, path)
    print("results written to %s" % path)


def load_average():
    try:
        with open("/proc/loadavg") as f:
            return " ".join(f.read().split()[:3])
    except OSError:
        return "unknown"


def tool_version(cmd):
    try:
        out = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                             stdin=subprocess.DEVNULL, timeout=60)
        return out.stdout.decode("utf-8", "replace").strip().splitlines()[0]
    except (OSError, IndexError, subprocess.TimeoutExpired):
        return "unknown"


def print_header(args, impls):
    names = [i[0] for i in impls]
    print("maqo benchmarks: median of %d run(s), wall time of the whole process in ms" % args.runs)
    if "maqo" in names:
        print("  maqo      %s (%s)" % (tool_version([os.path.join(args.native_bin, "mqsrun"), "--version"]),
                                       os.path.join(args.native_bin, "mqsrun")))
    if "python3" in names:
        print("  python3   %s (%s)" % (tool_version([args.python, "--version"]), args.python))
    if "lua5.4" in names:
        print("  lua5.4    %s" % tool_version([args.lua, "-v"]))
    if "maqo.exe" in names or "cscript" in names:
        print("  Wine      %s, prefix %s" % (tool_version(["wine", "--version"]),
                                              os.environ.get("WINEPREFIX", "(none)")))
    cpu = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    print("  machine   %s, %d cores; load average at the start: %s" % (cpu, os.cpu_count() or 0, load_average()))


def print_tables(cases, impls, results, args, unavailable):
    names = [i[0] for i in impls]
    med = {}
    failed = []
    notes = []
    for case in cases:
        for impl in names:
            rs = results.get((case.name, impl), [])
            status, seconds = median_of(rs) if rs else ("n/a", None)
            med[(case.name, impl)] = (status, seconds)
            for r in rs:
                if r.status in ("FAIL", "TIMEOUT"):
                    failed.append("%s / %s: %s %s" % (case.name, impl, r.status, r.detail))
                    break
            if status == "n/a" and rs and impl not in unavailable:
                notes.append("%s / %s: %s" % (case.name, impl, rs[0].detail))

    def cell(case, impl):
        status, seconds = med[(case.name, impl)]
        return fmt_ms(seconds) if status == "ok" else status

    def ratio(case, num, den):
        a, b = med.get((case.name, num)), med.get((case.name, den))
        if not a or not b or a[0] != "ok" or b[0] != "ok" or not b[1]:
            return None
        return a[1] / b[1]

    columns = [("benchmark", lambda c: c.name)]
    for impl in names:
        columns.append((impl, lambda c, i=impl: cell(c, i)))
    if "maqo" in names and "python3" in names:
        columns.append(("maqo/py", lambda c: fmt_ratio(ratio(c, "maqo", "python3"))))
    if "maqo" in names and "lua5.4" in names:
        columns.append(("maqo/lua", lambda c: fmt_ratio(ratio(c, "maqo", "lua5.4"))))
    if "maqo.exe" in names and "cscript" in names:
        columns.append(("cscript/maqo.exe", lambda c: fmt_ratio(ratio(c, "cscript", "maqo.exe"))))
    print()
    print("Time (ms, median)")
    print_grid(columns, cases)

    mem_columns = [("benchmark", lambda c: c.name)]
    for impl in names:
        def mem(c, i=impl):
            kb = peak_of(results.get((c.name, i), []))
            return "-" if kb is None else "%.1f" % (kb / 1024.0)
        mem_columns.append((impl, mem))
    print()
    print("Peak memory (MB, largest of the runs; Wine columns include Wine itself)")
    print_grid(mem_columns, cases)

    print()
    print("Targets")
    for line in target_lines(cases, names, med, ratio, results) or ["(none applies to this selection)"]:
        print("  " + line)
    for impl in names:
        if impl in unavailable:
            notes.append("%s (every benchmark): %s" % (impl, unavailable[impl]))
            if impl in MAQO_COLUMNS and not unavailable[impl].startswith("no Wine"):
                # A peer may be missing; maqo itself must run.
                failed.append("%s: %s" % (impl, unavailable[impl]))
    if notes:
        print()
        print("Not available")
        for n in notes:
            print("  " + n)
    if failed:
        print()
        print("FAILED")
        for f in failed:
            print("  " + f)
    return failed


def print_grid(columns, cases):
    rows = [[title for title, _ in columns]]
    for case in cases:
        rows.append([fn(case) for _, fn in columns])
    widths = [max(len(r[i]) for r in rows) for i in range(len(columns))]
    for n, row in enumerate(rows):
        cells = [row[0].ljust(widths[0])] + [row[i].rjust(widths[i]) for i in range(1, len(row))]
        print("  " + "  ".join(cells))
        if n == 0:
            print("  " + "  ".join("-" * w for w in widths))


def target_lines(cases, names, med, ratio, results):
    lines = []

    def verdict(label, checks):
        """checks: list of (benchmark, value text, met or None when unmeasured)."""
        if not checks:
            return
        missed = [c for c in checks if c[2] is False]
        unmeasured = [c for c in checks if c[2] is None]
        measured = len(checks) - len(unmeasured)
        if measured == 0:
            lines.append("%s: not measured" % label)
            return
        state = "met" if not missed else "NOT met"
        text = "%s: %s (%d of %d measured)" % (label, state, measured - len(missed), measured)
        if missed:
            text += "; missed by " + ", ".join("%s %s" % (c[0], c[1]) for c in missed)
        if unmeasured:
            text += "; not measured: " + ", ".join(c[0] for c in unmeasured)
        lines.append(text)

    if "maqo" in names and "python3" in names:
        checks = []
        for c in cases:
            if c.kind in ("interp", "baseline", "startup"):
                bound = NATIVE_VS_PYTHON_BY_CASE.get(c.name, NATIVE_VS_PYTHON)
                r = ratio(c, "maqo", "python3")
                checks.append((c.name, "%.2fx (bound %gx)" % (r, bound) if r else "", None if r is None else r <= bound))
        verdict("native maqo at most %gx python3 (errors 3x, strbuild 2x, oneline/startup 1x)" % NATIVE_VS_PYTHON,
                checks)
        checks = []
        for c in cases:
            mine, theirs = peak_of(results.get((c.name, "maqo"), [])), peak_of(results.get((c.name, "python3"), []))
            if mine is not None and theirs:
                checks.append((c.name, "%.2fx" % (mine / theirs), mine <= MEMORY_VS_PYTHON * theirs))
        verdict("native maqo's peak memory at most %gx python3's" % MEMORY_VS_PYTHON, checks)
    if "maqo.exe" in names and "cscript" in names:
        checks = []
        for c in cases:
            if c.kind == "baseline" or c.kind in WINDOWS_ONLY_KINDS:
                continue
            status, seconds = med[(c.name, "cscript")]
            if status == "ok" and seconds * 1000 <= WINE_CSCRIPT_FLOOR_MS:
                continue
            r = ratio(c, "cscript", "maqo.exe")
            checks.append((c.name, "%.2fx" % r if r else "", None if r is None else r >= WINE_VS_CSCRIPT))
        verdict("maqo.exe under Wine at least %gx faster than cscript where cscript needs over %g ms"
                % (WINE_VS_CSCRIPT, WINE_CSCRIPT_FLOOR_MS), checks)
        checks = []
        for c in cases:
            if c.kind == "com":
                r = ratio(c, "cscript", "maqo.exe")
                checks.append((c.name, "%.2fx" % r if r else "", None if r is None else r >= COM_VS_CSCRIPT))
        verdict("maqo.exe's COM calls under Wine at most %gx cscript's time" % (1 / COM_VS_CSCRIPT), checks)
    if "maqo" in names:
        for c in cases:
            status, seconds = med[(c.name, "maqo")]
            if c.kind == "startup":
                ok = None if status != "ok" else seconds * 1000 < STARTUP_MS
                verdict("native start-up to the first statement of a 1,000-line script under %g ms"
                        % STARTUP_MS, [(c.name, fmt_ms(seconds) + " ms" if seconds else "", ok)])
    for impl in ("maqo", "maqo.exe"):
        if impl not in names:
            continue
        for c in cases:
            status, seconds = med[(c.name, impl)]
            if c.kind == "ini":
                ok = None if status != "ok" else seconds * 1000 < READINI_MS
                verdict("1,000 READINI calls under %g ms (%s)" % (READINI_MS, impl),
                        [(c.name, fmt_ms(seconds) + " ms" if seconds else "", ok)])
    if "maqo" in names and "python3" in names:
        for c in cases:
            if c.kind == "csv":
                r = ratio(c, "maqo", "python3")
                verdict("FGET within %gx of python3's csv module" % CSV_VS_PYTHON,
                        [(c.name, "%.2fx" % r if r else "", None if r is None else r <= CSV_VS_PYTHON)])
    return lines


if __name__ == "__main__":
    sys.exit(main())
