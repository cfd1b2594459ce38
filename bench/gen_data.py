#!/usr/bin/env python3
"""Writes the benchmark data into one folder (build/bench by default):
bench.csv (100,000 lines x 20 fields), bench.ini (1,000 lines) and the
1,000-line start-up script in each language (startup.mqs/.py/.lua/.vbs).
Everything is derived from fixed formulas, so the expected results in
cases.txt hold for every run. Files already up to date are left alone."""
import os
import sys

CSV_LINES = 100_000
CSV_FIELDS = 20
INI_SECTIONS = 50
INI_KEYS = 18
SCRIPT_LINES = 1000
FUNCTIONS = 40
MAIN_UNITS = 24


def csv_field(n, k):
    if k % 2 == 1:
        return str((n * 31 + k * 7) % 10000)
    if k < CSV_FIELDS:
        return "t%d_%d" % (n % 97, k)
    return '"x,%d"' % (n % 13)


def csv_text():
    rows = (",".join(csv_field(n, k) for k in range(1, CSV_FIELDS + 1))
            for n in range(1, CSV_LINES + 1))
    return "\r\n".join(rows) + "\r\n"


def ini_text():
    lines = []
    for s in range(1, INI_SECTIONS + 1):
        lines.append("[S%d]" % s)
        for k in range(1, INI_KEYS + 1):
            lines.append("K%d = %d" % (k, s * 100 + k))
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


# The start-up scripts: the first statement prints "first" and the second
# ends the run; the rest (a main part and 40 functions with loops, branches
# and calls) must still be read, compiled and checked before anything runs.
# Each language gets the same constructs and is padded to exactly 1,000 lines.

def mqs_script():
    head = ['PRINT "first"', "EXITEXIT 0"]
    main = []
    for n in range(1, MAIN_UNITS + 1):
        m = n % FUNCTIONS + 1
        main += [
            "X%d = %d * 2 + 1" % (n, n),
            "IFB X%d > 10" % n,
            "  Y%d = F%d(3, X%d)" % (n, m, n),
            "ELSE",
            '  Y%d = "small" + X%d' % (n, n),
            "ENDIF",
            'PRINT "value " + Y%d' % n,
            'Z = LENGTH("line %d") + POS("e", "line %d")' % (n, n),
        ]
    funcs = []
    for n in range(1, FUNCTIONS + 1):
        funcs += [
            "FUNCTION F%d(A, B)" % n,
            "  T = 0",
            "  FOR I = 1 TO A",
            "    IFB I MOD 3 = 0",
            "      T = T + I * B",
            "    ELSEIF I MOD 3 = 1",
            "      T = T - B",
            "    ELSE",
            '      T = T + LENGTH("text" + I)',
            "    ENDIF",
            "  NEXT",
            "  WHILE T > 1000",
            "    T = T / 2",
            "  WEND",
            "  SELECT T",
            "    CASE 0",
            "      T = 1",
            "  SELEND",
            '  RESULT = T + POS("x", "text" + A)',
            "FEND",
        ]
    return pad(head, main, funcs, "W%d = %d")


def py_script():
    head = ['print("first")', "raise SystemExit(0)"]
    main = []
    for n in range(1, MAIN_UNITS + 1):
        m = n % FUNCTIONS + 1
        main += [
            "x%d = %d * 2 + 1" % (n, n),
            "if x%d > 10:" % n,
            "    y%d = f%d(3, x%d)" % (n, m, n),
            "else:",
            '    y%d = "small" + str(x%d)' % (n, n),
            'print("value " + str(y%d))' % n,
            'z = len("line %d") + "line %d".find("e") + 1' % (n, n),
        ]
    funcs = []
    for n in range(1, FUNCTIONS + 1):
        funcs += [
            "def f%d(a, b):" % n,
            "    t = 0",
            "    for i in range(1, a + 1):",
            "        if i % 3 == 0:",
            "            t = t + i * b",
            "        elif i % 3 == 1:",
            "            t = t - b",
            "        else:",
            '            t = t + len("text" + str(i))',
            "    while t > 1000:",
            "        t = t / 2",
            "    if t == 0:",
            "        t = 1",
            '    return t + ("text" + str(a)).find("x") + 1',
        ]
    return pad(head, main, funcs, "w%d = %d")


def lua_script():
    head = ['print("first")', "os.exit(0)"]
    main = []
    for n in range(1, MAIN_UNITS + 1):
        m = n % FUNCTIONS + 1
        main += [
            "X%d = %d * 2 + 1" % (n, n),
            "if X%d > 10 then" % n,
            "  Y%d = F%d(3, X%d)" % (n, m, n),
            "else",
            '  Y%d = "small" .. X%d' % (n, n),
            "end",
            'print("value " .. Y%d)' % n,
            'Z = #("line %d") + string.find("line %d", "e", 1, true)' % (n, n),
        ]
    funcs = []
    for n in range(1, FUNCTIONS + 1):
        funcs += [
            "function F%d(a, b)" % n,
            "  local t = 0",
            "  for i = 1, a do",
            "    if i % 3 == 0 then",
            "      t = t + i * b",
            "    elseif i % 3 == 1 then",
            "      t = t - b",
            "    else",
            '      t = t + #("text" .. i)',
            "    end",
            "  end",
            "  while t > 1000 do",
            "    t = t / 2",
            "  end",
            "  if t == 0 then",
            "    t = 1",
            "  end",
            '  return t + (string.find("text" .. a, "x", 1, true) or 0)',
            "end",
        ]
    return pad(head, main, funcs, "W%d = %d")


def vbs_script():
    head = ['WScript.Echo "first"', "WScript.Quit 0"]
    main = []
    for n in range(1, MAIN_UNITS + 1):
        m = n % FUNCTIONS + 1
        main += [
            "x%d = %d * 2 + 1" % (n, n),
            "If x%d > 10 Then" % n,
            "  y%d = F%d(3, x%d)" % (n, m, n),
            "Else",
            '  y%d = "small" & x%d' % (n, n),
            "End If",
            'WScript.Echo "value " & y%d' % n,
            'z = Len("line %d") + InStr("line %d", "e")' % (n, n),
        ]
    funcs = []
    for n in range(1, FUNCTIONS + 1):
        funcs += [
            "Function F%d(a, b)" % n,
            "  t = 0",
            "  For i = 1 To a",
            "    If i Mod 3 = 0 Then",
            "      t = t + i * b",
            "    ElseIf i Mod 3 = 1 Then",
            "      t = t - b",
            "    Else",
            '      t = t + Len("text" & i)',
            "    End If",
            "  Next",
            "  Do While t > 1000",
            "    t = t / 2",
            "  Loop",
            "  Select Case t",
            "    Case 0",
            "      t = 1",
            "  End Select",
            '  F%d = t + InStr("text" & a, "x")' % n,
            "End Function",
        ]
    return pad(head, main, funcs, "w%d = %d")


def pad(head, main, funcs, filler):
    n = 0
    while len(head) + len(main) + len(funcs) < SCRIPT_LINES:
        n += 1
        main.append(filler % (n, n))
    lines = head + main + funcs
    if len(lines) != SCRIPT_LINES:
        raise SystemExit("gen_data: script has %d lines, not %d" % (len(lines), SCRIPT_LINES))
    return "\n".join(lines) + "\n"


def write_if_changed(path, text, newline="\n"):
    data = text.replace("\n", newline).encode("ascii")
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
    os.makedirs(out, exist_ok=True)
    with_crlf = "\r\n"
    write_if_changed(os.path.join(out, "bench.csv"), csv_text(), "\n")
    write_if_changed(os.path.join(out, "bench.ini"), ini_text(), "\n")
    write_if_changed(os.path.join(out, "startup.mqs"), mqs_script(), with_crlf)
    write_if_changed(os.path.join(out, "startup.py"), py_script())
    write_if_changed(os.path.join(out, "startup.lua"), lua_script())
    write_if_changed(os.path.join(out, "startup.vbs"), vbs_script(), with_crlf)


if __name__ == "__main__":
    main()
