# The host application maqo.exe: a script given on the command line runs and
# its EXITEXIT code ends the process without the tool bar ever showing; the
# settings file left beside the executable moves to %APPDATA%\MAQO with its
# old LogLines raised and every missing default added; a plain start shows
# TUMAIN_MAQO with Save and Play disabled; /k hands files to it (five at
# once, none lost) and exits. A screenshot of the main window is kept.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Host*'

work=$(mktemp -d "$MAQO_WINE_OUT/host.XXXXXX")
app="$work/app"
mkdir -p "$app"
cp "$MAQO_WIN_BIN/maqo.exe" "$app/maqo.exe"
appdata="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/MAQO"
rm -rf "$appdata"

# An old settings file and log beside the executable.
printf '[SET]\r\nLogLines=200\r\nRecHotKey=5,1\r\n' >"$app/maqo.INI"
printf 'old log\r\n' >"$app/MAQO.LOG"

# maqo.exe c.mqs: runs, reports what it sees of the main window, exits 7.
cat >"$work/c.mqs" <<'MQS'
ID = GETID("", "TUMAIN_MAQO", 0.0001)
IFB ID >= 0
  PRINT "main window " + STATUS(ID, ST_VISIBLE) + " " + STATUS(ID, ST_CLWIDTH) + "x" + STATUS(ID, ST_CLHEIGHT)
ELSE
  PRINT "no main window"
ENDIF
PRINT "param " + PARAM_STR[0]
EXITEXIT 7
MQS
code=0
wrun 60 "$app/maqo.exe" "$(winpath "$work/c.mqs")" "p 1" >"$work/c.raw" 2>"$work/c.err" || code=$?
tr -d '\r' <"$work/c.raw" >"$work/c.out"
cat "$work/c.out" "$work/c.err"
[ "$code" -eq 7 ] || { echo "maqo.exe c.mqs: exit code $code, expected 7"; exit 1; }
if grep -q "main window True 214x32" "$work/c.out"; then echo "the tool bar showed during a command-line run"; exit 1; fi
grep -q "^param p 1$" "$work/c.out" || { echo "the parameter did not arrive"; exit 1; }

# The settings moved, kept what they held, and got the missing defaults.
[ -f "$appdata/maqo.INI" ] || { echo "no settings file in $appdata"; ls -la "$appdata" "$app" || true; exit 1; }
[ ! -e "$app/maqo.INI" ] || { echo "the old settings file is still beside the executable"; exit 1; }
[ ! -e "$app/MAQO.LOG" ] || { echo "the old log is still beside the executable"; exit 1; }
tr -d '\r' <"$appdata/maqo.INI" >"$work/ini.txt"
for line in LogLines=2000 PlayHotKey=1,2 StopHotKey=2,2 RecHotKey=5,1 TrayHotKey=14,5 LunchMenuHotKey=14,0 \
  NotMultiplex=0 StayOnTop=0 DefaultFont=, ; do
  grep -qx "$line" "$work/ini.txt" || { echo "settings: no line $line"; cat "$work/ini.txt"; exit 1; }
done
grep -q '^Position=' "$work/ini.txt" || { echo "settings: no Position"; exit 1; }

# /a writes a script as plain text (an ".ORG" file is first copied to ".MQS").
printf 'PRINT "converted"\r\n' >"$work/conv.org"
wrun 60 "$app/maqo.exe" /a "$(winpath "$work/conv.org")" "$(winpath "$work/conv-out")" >"$work/conv.out" 2>&1 ||
  { echo "maqo.exe /a failed"; cat "$work/conv.out"; exit 1; }
[ "$(tr -d '\r' <"$work/conv-out.MQS")" = 'PRINT "converted"' ] || { echo "convert output:"; cat "$work/conv-out.MQS"; exit 1; }
[ -f "$work/conv.MQS" ] || { echo "the .ORG file was not copied to .MQS"; exit 1; }

# A plain start shows the tool bar.
timeout -k 5 180 wine "$app/maqo.exe" >"$work/main.out" 2>&1 &
host=$!
cat >"$work/look.mqs" <<'MQS'
ID = GETID("MAQO", "TUMAIN_MAQO", 20)
PRINT "visible " + STATUS(ID, ST_VISIBLE) + " client " + STATUS(ID, ST_CLWIDTH) + "x" + STATUS(ID, ST_CLHEIGHT)
PRINT "load " + CHKBTN(ID, "Load") + " save " + CHKBTN(ID, "Save") + " play " + CHKBTN(ID, "Play")
MQS
run_mqs 60 "$work/look.mqs"
cat "$work/look.out"
import -window root "$MAQO_WINE_OUT/host-main.png" >/dev/null 2>&1 || echo "no screenshot (ImageMagick import failed)"
printf 'visible True client 214x32\nload 0 save -1 play -1\n' | diff - "$work/look.out"

# /k hands a script over: the running instance plays it, this one exits.
played="$work/played"
mkdir -p "$played"
for n in 0 1 2 3 4 5; do
  cat >"$work/b$n.mqs" <<MQS
F = FOPEN("$(winpath "$played")\\b$n.txt", F_WRITE)
FPUT(F, "played $n")
FCLOSE(F)
MQS
done
code=0
wrun 60 "$app/maqo.exe" /k "$(winpath "$work/b0.mqs")" >"$work/k.out" 2>&1 || code=$?
[ "$code" -eq 0 ] || { echo "maqo.exe /k: exit code $code"; cat "$work/k.out"; exit 1; }
for _ in $(seq 1 100); do [ -e "$played/b0.txt" ] && break; sleep 0.2; done
[ -e "$played/b0.txt" ] || { echo "the running instance did not play the handed-over script"; exit 1; }

# Five hand-overs at once: every one is played, none lost.
pids=""
for n in 1 2 3 4 5; do
  timeout -k 5 60 wine "$app/maqo.exe" /k "$(winpath "$work/b$n.mqs")" >"$work/k$n.out" 2>&1 &
  pids="$pids $!"
done
for pid in $pids; do wait "$pid" || { echo "a hand-over ended with an error"; exit 1; }; done
for _ in $(seq 1 150); do [ "$(ls "$played" | wc -l)" -ge 6 ] && break; sleep 0.2; done
ls "$played"
[ "$(ls "$played" | wc -l)" -eq 6 ] || { echo "hand-overs were lost"; exit 1; }

# A hand-over during a run waits for the run's end: /k of an endless loop,
# then /k of another script, which must not start while the loop runs; STOP
# on the stop form ends the loop and the queued script plays.
drops="$work/drops"
mkdir -p "$drops"
cat >"$drops/loop.mqs" <<MQS
F = FOPEN("$(winpath "$played")\\loop.txt", F_WRITE)
FPUT(F, "looping")
FCLOSE(F)
WHILE TRUE
  SLEEP(0.1)
WEND
MQS
cat >"$drops/late.mqs" <<MQS
F = FOPEN("$(winpath "$played")\\late.txt", F_WRITE)
FPUT(F, "late")
FCLOSE(F)
MQS
printf 'text\r\n' >"$drops/note.txt"
wrun 60 "$app/maqo.exe" /k "$(winpath "$drops/loop.mqs")" >"$work/kloop.out" 2>&1
for _ in $(seq 1 100); do [ -e "$played/loop.txt" ] && break; sleep 0.2; done
[ -e "$played/loop.txt" ] || { echo "the handed-over loop did not start"; exit 1; }
wrun 60 "$app/maqo.exe" /k "$(winpath "$drops/late.mqs")" >"$work/klate.out" 2>&1
sleep 2
[ ! -e "$played/late.txt" ] || { echo "a hand-over during a run started a second run"; exit 1; }
cat >"$work/stop.mqs" <<'MQS'
S = GETID("MAQO", "TFTeisi", 5)
PRINT "stop form " + STATUS(S, ST_VISIBLE)
CLKITEM(S, "STOP", CLK_BTN)
MQS
run_mqs 60 "$work/stop.mqs"
cat "$work/stop.out"
grep -q "^stop form True$" "$work/stop.out" || { echo "no stop form while playing"; exit 1; }
for _ in $(seq 1 100); do [ -e "$played/late.txt" ] && break; sleep 0.2; done
[ -e "$played/late.txt" ] || { echo "after STOP, the queued hand-over did not play"; exit 1; }

# Hot keys: /l only loads the loop; Alt+F1 plays it, Alt+F2 stops it.
rm -f "$played/loop.txt"
wrun 60 "$app/maqo.exe" /l "$(winpath "$drops/loop.mqs")" >"$work/lloop.out" 2>&1
sleep 1
[ ! -e "$played/loop.txt" ] || { echo "/l played the script instead of only loading it"; exit 1; }
cat >"$work/hotkeys.mqs" <<MQS
KBD(VK_ALT, DOWN)
KBD(VK_F1)
KBD(VK_ALT, UP)
FOR I = 1 TO 50
  IF FOPEN("$(winpath "$played")\\loop.txt", F_EXISTS) THEN BREAK
  SLEEP(0.1)
NEXT
S = GETID("MAQO", "TFTeisi", 5)
PRINT "playing " + STATUS(S, ST_VISIBLE)
KBD(VK_ALT, DOWN)
KBD(VK_F2)
KBD(VK_ALT, UP)
SLEEP(1)
PRINT "stopped " + (STATUS(S, ST_VISIBLE) = FALSE)
MQS
run_mqs 60 "$work/hotkeys.mqs"
cat "$work/hotkeys.out"
[ -e "$played/loop.txt" ] || { echo "the play hot key did not play the loaded script"; exit 1; }
printf 'playing True\nstopped True\n' | diff - "$work/hotkeys.out" || { echo "the stop hot key did not stop the run within 1 s"; exit 1; }

# Drops need DROPFILE into another process, which only the 32-bit build has:
# a dropped script plays, a drop during its run starts nothing, a text file
# only gets the not-a-script message.
if [ "$MAQO_WINE_ARCH" = win32 ]; then
  rm -f "$played/loop.txt" "$played/late.txt"
  cat >"$work/drop1.mqs" <<MQS
ID = GETID("", "TUMAIN_MAQO", 5)
DROPFILE(ID, "$(winpath "$drops")", "loop.mqs")
MQS
  run_mqs 60 "$work/drop1.mqs"
  for _ in $(seq 1 100); do [ -e "$played/loop.txt" ] && break; sleep 0.2; done
  [ -e "$played/loop.txt" ] || { echo "the dropped script did not play"; exit 1; }
  cat >"$work/drop2.mqs" <<MQS
DROPFILE(GETID("", "TUMAIN_MAQO", 5), "$(winpath "$drops")", "late.mqs")
SLEEP(2)
CLKITEM(GETID("MAQO", "TFTeisi", 5), "STOP", CLK_BTN)
MQS
  run_mqs 60 "$work/drop2.mqs"
  sleep 2
  [ ! -e "$played/late.txt" ] || { echo "a drop during a run started a second run"; exit 1; }
  cat >"$work/drop3.mqs" <<MQS
ID = GETID("", "TUMAIN_MAQO", 5)
DROPFILE(ID, "$(winpath "$drops")", "note.txt")
BOX = GETID("MAQO", "#32770", 10)
PRINT "message " + STATUS(BOX, ST_VISIBLE) + " " + POS("It is not MAQO file", GETSTR(BOX, 1, STR_STATIC))
CLKITEM(BOX, "OK", CLK_BTN)
MQS
  run_mqs 60 "$work/drop3.mqs"
  cat "$work/drop3.out"
  grep -q "^message True 1$" "$work/drop3.out" || { echo "no not-a-script message for a text file"; exit 1; }
else
  echo "drops: not tested on the $MAQO_WINE_ARCH build (DROPFILE into another process is built for 32-bit only)"
fi

# A second plain start is refused with the multiplex message.
timeout -k 5 60 wine "$app/maqo.exe" >"$work/second-host.out" 2>&1 &
second=$!
cat >"$work/second.mqs" <<'MQS'
BOX = GETID("MAQO", "#32770", 20)
PRINT "multiplex " + POS("Multiplex start of MAQO is prohibition", GETSTR(BOX, 1, STR_STATIC))
CLKITEM(BOX, "OK", CLK_BTN)
MQS
run_mqs 60 "$work/second.mqs"
cat "$work/second.out"
wait "$second" || { echo "the refused start ended with an error"; exit 1; }
grep -q "^multiplex 1$" "$work/second.out" || { echo "no multiplex message"; exit 1; }

# The options dialog opens from the tool menu (key O, then its second
# item); screenshots of the menu and the dialog are kept; Cancel closes it.
cat >"$work/options.mqs" <<MQS
ID = GETID("", "TUMAIN_MAQO", 5)
ACW(ID)
SLEEP(0.5)
KBD(VK_O)
SLEEP(0.5)
SAVEIMG("$(winpath "$MAQO_WINE_OUT")\\host-toolmenu")
KBD(VK_DOWN)
KBD(VK_DOWN)
KBD(VK_RETURN)
D = GETID("Options", "TFSetset", 10)
PRINT "options " + STATUS(D, ST_VISIBLE)
MQS
run_mqs 60 "$work/options.mqs"
cat "$work/options.out"
import -window root "$MAQO_WINE_OUT/host-options.png" >/dev/null 2>&1 || echo "no screenshot (ImageMagick import failed)"
cat >"$work/options-close.mqs" <<'MQS'
D = GETID("Options", "TFSetset", 5)
PRINT "cancel " + CLKITEM(D, "Cancel", CLK_BTN)
FOR I = 1 TO 50
  IF GETID("Options", "TFSetset", 0.0001) < 0 THEN BREAK
  SLEEP(0.1)
NEXT
PRINT "options closed " + (GETID("Options", "TFSetset", 0.0001) < 0)
MQS
run_mqs 60 "$work/options-close.mqs"
cat "$work/options-close.out"
grep -q "^options True$" "$work/options.out" || { echo "the options dialog did not open"; exit 1; }
grep -q "^options closed True$" "$work/options-close.out" || { echo "Cancel did not close the options dialog"; exit 1; }

# The main window closes on request and the process ends.
cat >"$work/close.mqs" <<'MQS'
CTRLWIN(GETID("", "TUMAIN_MAQO", 5), CLOSE)
MQS
run_mqs 60 "$work/close.mqs"
for _ in $(seq 1 50); do kill -0 "$host" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$host" 2>/dev/null; then
  kill "$host" 2>/dev/null || true
  echo "maqo.exe did not close"
  exit 1
fi
wait "$host" || true
# POFF(P_MAQO_REEXEC, 1) in a command-line run: a new process plays the
# script again with the log window's lines restored, then closes.
restart="$work/restart"
mkdir -p "$restart"
cat >"$work/r.mqs" <<MQS
IFB FOPEN("$(winpath "$restart")\\first.txt", F_EXISTS)
  L = GETID("", "TUScript", 5)
  F = FOPEN("$(winpath "$restart")\\second.txt", F_WRITE)
  FPUT(F, "log kept " + (POS("first run", GETSTR(L, 1)) > 0))
  FCLOSE(F)
ELSE
  LOGPRINT(1)
  PRINT "first run"
  F = FOPEN("$(winpath "$restart")\\first.txt", F_WRITE)
  FPUT(F, "first")
  FCLOSE(F)
  POFF(P_MAQO_REEXEC, 1)
  PRINT "not reached"
ENDIF
MQS
code=0
wrun 60 "$app/maqo.exe" "$(winpath "$work/r.mqs")" >"$work/r.out" 2>&1 || code=$?
[ "$code" -eq 0 ] || { echo "the restarting process ended with $code"; cat "$work/r.out"; exit 1; }
for _ in $(seq 1 100); do [ -e "$restart/second.txt" ] && break; sleep 0.2; done
[ -e "$restart/second.txt" ] || { echo "the restarted process did not run the script again"; exit 1; }
tr -d '\r' <"$restart/second.txt" | grep -q "^log kept True$" || { echo "the log was not restored:"; cat "$restart/second.txt"; exit 1; }
grep -q "^\[EXTR_SECTION\]" "$appdata/maqo.INI" && { echo "the restart state was left in the settings"; exit 1; }

echo "host: all checks passed"
