#!/usr/bin/env python3
"""Runs the script tests: every NAME.mqs below tests/scripts that has a NAME.out beside it.

Beside a test script:
  NAME.out     expected standard output, exactly (UTF-8, "\\n" line ends)
  NAME.code    expected exit code (default 0)
  NAME.args    options put before the script path, e.g. "--lines" (one per line)
  NAME.params  parameters put after the script path (one per line)
  NAME.err     text that standard error must contain (each non-empty line)
  NAME.env     KEY=VALUE lines added to the environment (e.g. LANG=ja_JP.UTF-8)

The same tests run with the native mqsrun and with mqsrun.exe under Wine, and
must give the same output. The script's folder appears in output in the
platform's own spelling; it is replaced by "<DIR>" before comparing. Each test
runs from a scratch folder, so nothing may depend on the current directory.
"""
import argparse
import concurrent.futures
import difflib
import os
import pathlib
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent


def read_lines(path):
    if not path.exists():
        return []
    return [l for l in path.read_text(encoding="utf-8").splitlines() if l.strip()]


def folder_spellings(folder):
    """The ways the script's folder can appear in output: POSIX, and as the reader writes it."""
    posix = str(folder)
    win = posix.replace("/", "\\")
    return sorted({"Z:" + win.upper(), "Z:" + win, win.upper(), win, posix, posix.upper()}, key=len, reverse=True)


def normalise(text, folder):
    for spelling in folder_spellings(folder):
        text = text.replace(spelling, "<DIR>")
    return text.replace("\r\n", "\n")


def run_one(script, runner, wine, timeout):
    base = script.with_suffix("")
    expected = base.with_suffix(".out").read_bytes().decode("utf-8")
    code_file = base.with_suffix(".code")
    expected_code = int(code_file.read_text().strip()) if code_file.exists() else 0
    env = dict(os.environ)
    for line in read_lines(base.with_suffix(".env")):
        key, _, value = line.partition("=")
        env[key.strip()] = value.strip()
    script_arg = ("Z:" + str(script).replace("/", "\\")) if wine else str(script)
    cmd = list(runner) + read_lines(base.with_suffix(".args")) + [script_arg] + read_lines(base.with_suffix(".params"))
    with tempfile.TemporaryDirectory(prefix="mqs-") as scratch:
        try:
            proc = subprocess.run(cmd, cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return False, f"timed out after {timeout} s"
    out = normalise(proc.stdout.decode("utf-8", "replace"), script.parent)
    err = normalise(proc.stderr.decode("utf-8", "replace"), script.parent)
    if wine:
        # Wine's own diagnostics go to standard error too; keep only our lines.
        err = "\n".join(l for l in err.splitlines() if not l.startswith(("wine:", "fixme:", "err:", "warn:")))
    problems = []
    if out != expected:
        diff = difflib.unified_diff(expected.splitlines(), out.splitlines(), "expected", "actual", lineterm="")
        problems.append("standard output differs:\n" + "\n".join(diff))
    if proc.returncode != expected_code:
        problems.append(f"exit code {proc.returncode}, expected {expected_code}")
    for want in read_lines(base.with_suffix(".err")):
        if want not in err:
            problems.append(f"standard error lacks {want!r}; it was:\n{err}")
    if not base.with_suffix(".err").exists() and expected_code == 0 and err.strip():
        problems.append(f"unexpected standard error:\n{err}")
    return not problems, "\n".join(problems)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runner", required=True, help="the mqsrun command, e.g. 'build/native/bin/mqsrun' or 'wine build/win32/bin/mqsrun.exe'")
    ap.add_argument("--wine", action="store_true", help="the runner is a Windows program under Wine")
    ap.add_argument("--filter", default="", help="run only tests whose path contains this text")
    ap.add_argument("--timeout", type=int, default=60)
    ap.add_argument("--jobs", type=int, default=2)
    args = ap.parse_args()
    runner = args.runner.split()
    runner[-1] = str(pathlib.Path(runner[-1]).resolve())
    tests = sorted(p for p in ROOT.rglob("*.mqs") if p.with_suffix(".out").exists() and args.filter in str(p))
    passed = failed = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        results = pool.map(lambda t: (t, run_one(t, runner, args.wine, args.timeout)), tests)
        for test, (ok, why) in results:
            name = str(test.relative_to(ROOT))
            if ok:
                passed += 1
                print(f"PASS {name}")
            else:
                failed += 1
                print(f"FAIL {name}\n{why}")
    print(f"scripts: {passed} passed, {failed} failed")
    return 1 if failed or not tests else 0


if __name__ == "__main__":
    sys.exit(main())
