# The script's own windows in mqsrun.exe: a balloon at its place, hidden
# again by an empty text; the stop form at its place, whose STOP button
# (pressed by a script thread) ends an endless loop; the log window keeping
# the last LOGLINES printed lines; the log file where OPTION LOGPATH puts it.
# Alpha is not composited under Wine, so the window state is asserted, not
# pixels; a screenshot is kept for a person to look at.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Win32ScriptWindows*:ScriptWindowBuiltins*:Log*:Kept*:Balloon*:StopForm*:ScriptLog*'

work=$(mktemp -d "$MAQO_WINE_OUT/logwin.XXXXXX")
mkdir -p "$work/logs"

cat >"$work/windows.mqs" <<MQS
OPTION LOGLINES=100
OPTION LOGPATH="$(winpath "$work/logs")\\"
LOGPRINT(1, 300, 10, 300, 200)
FOR I = 1 TO 111
  PRINT "line " + I
NEXT
FUKIDASI("hi", 100, 100, 1)
STOPFORM(1, 10, 20)
SLEEP(0.5)
B = GETID(GET_FUKIDASI_WIN)
PRINT "balloon " + (B >= 0) + " " + STATUS(B, ST_X) + " " + STATUS(B, ST_Y) + " " + STATUS(B, ST_VISIBLE)
S = GETID(GET_STOPFORM_WIN)
PRINT "stopform " + STATUS(S, ST_X) + " " + STATUS(S, ST_Y)
L = GETID(GET_LOGPRINT_WIN)
T = GETSTR(L, 1)
PRINT "log first " + COPY(T, 1, 7) + " has 11 " + POS("line 11<#CR>", T) + " last " + (POS("line 111", T) > 0)
SLEEP(2.5)
FUKIDASI()
SLEEP(2.5)
PRINT "balloon hidden " + STATUS(B, ST_VISIBLE)
MQS

run_mqs 120 "$work/windows.mqs" &
runner=$!
sleep 3
import -window root "$MAQO_WINE_OUT/logwin-windows.png" >/dev/null 2>&1 || echo "no screenshot (ImageMagick import failed)"
wait $runner
cat >"$work/expected.out" <<'OUT'
line 108
line 109
line 110
line 111
balloon True 100 100 True
stopform 10 20
log first line 12 has 11 0 last True
balloon hidden False
OUT
tail -n 8 "$work/windows.out" | diff "$work/expected.out" -
# The log file: the last 100 printed lines, in the folder LOGPATH named.
[ -f "$work/logs/MQSRUN.LOG" ] || { echo "no log file in $work/logs"; ls -la "$work/logs"; exit 1; }
iconv -f UTF-16 -t UTF-8 "$work/logs/MQSRUN.LOG" | tr -d '\r' >"$work/logfile.txt"
[ "$(wc -l <"$work/logfile.txt")" -eq 100 ] || { echo "log file lines: $(wc -l <"$work/logfile.txt")"; exit 1; }
grep -qE '^[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}  line 111$' "$work/logfile.txt" ||
  { echo "no dated line 111 in the log file:"; head -n 3 "$work/logfile.txt"; exit 1; }

# STOP pressed by a script thread ends an endless loop of the main part.
cat >"$work/stop.mqs" <<'MQS'
STOPFORM(1, 10, 20)
THREAD PressStop()
WHILE TRUE
  SLEEP(0.1)
WEND
PRINT "not reached"

PROCEDURE PressStop()
  SLEEP(1)
  PRINT "pressing"
  // The click stops this thread too, so nothing after it prints.
  CLKITEM(GETID(GET_STOPFORM_WIN), "STOP", CLK_BTN)
FEND
MQS
start=$(date +%s)
code=0
wrun 60 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/stop.mqs")" >"$work/stop.raw" 2>"$work/stop.err" || code=$?
took=$(( $(date +%s) - start ))
tr -d '\r' <"$work/stop.raw" >"$work/stop.out"
[ "$code" -ne 124 ] && [ "$code" -ne 137 ] || { echo "STOP did not end the run:"; cat "$work/stop.out" "$work/stop.err"; exit 1; }
grep -q "^pressing$" "$work/stop.out" || { echo "the thread did not press STOP:"; cat "$work/stop.out" "$work/stop.err"; exit 1; }
if grep -q "not reached" "$work/stop.out"; then echo "the loop ran past the stop"; exit 1; fi
echo "stop run: exit code $code, ${took}s"

# A log file held by another process (share mode 0) while the run's first
# line reads it: the run must not write its lines over the old log. Once the
# file is free again, the flush at the end of the run reads it and keeps both.
mkdir -p "$work/held"
printf '\xff\xfeo\x00l\x00d\x00\r\x00\n\x00' >"$work/held/MQSRUN.LOG"
cat >"$work/held.mqs" <<MQS
OPTION LOGPATH="$(winpath "$work/held")\\"
PRINT "new"
SLEEP(6)
MQS
timeout -k 5 60 wine "$MAQO_WIN_BIN/holdfile.exe" "$(winpath "$work/held/MQSRUN.LOG")" 4 &
holder=$!
for _ in $(seq 1 100); do [ -e "$work/held/MQSRUN.LOG.held" ] && break; sleep 0.1; done
[ -e "$work/held/MQSRUN.LOG.held" ] || { echo "holdfile did not take the log file"; exit 1; }
run_mqs 60 "$work/held.mqs"
wait "$holder"
iconv -f UTF-16 -t UTF-8 "$work/held/MQSRUN.LOG" | tr -d '\r' >"$work/held.txt"
[ "$(sed -n 1p "$work/held.txt")" = "old" ] && sed -n 2p "$work/held.txt" | grep -qE '  new$' ||
  { echo "the old log was not kept:"; cat "$work/held.txt"; exit 1; }
