# Input synthesis against ctlhost.exe, which logs the key and mouse messages
# its controls receive: KBD into the edit (shifted letters, the keypad Enter's
# extended bit, a character as WM_CHAR), BTN at client points, MOUSEORG's
# client origin and direct mode, SCKEY's order, the release of held input when
# a run ends normally and by an error, LOCKHARDEX's hooks against input from
# another program, and SETHOTKEY's handler run by a hot key that another
# program presses. MUSCUR and the menu bar are checked on a ctlhost window
# inside the script's own process (ctlrun.exe), as Wine shows the cursor
# only to the process that owns the window.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Input*'

work=$(mktemp -d "$MAQO_WINE_OUT/input.XXXXXX")
ctlhost=$(winpath "$MAQO_WIN_BIN/ctlhost.exe")
driver=$(winpath "$MAQO_WIN_BIN/inputdriver.exe")

# Runs one script; its output in $work/NAME.out, its exit code in $code.
run_script() {
  local name=$1
  set +e
  wrun 180 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/$name.mqs")" >"$work/$name.raw" 2>"$work/$name.err"
  code=$?
  set -e
  tr -d '\r' <"$work/$name.raw" >"$work/$name.out"
}
# Fails unless the log file has a line matching the extended pattern.
expect_log() {
  tr -d '\r' <"$1" | grep -qE "$2" || { echo "missing in $(basename "$1"): $2"; cat "$1"; exit 1; }
}
# The script header that starts ctlhost with a log and waits for its window.
start_ctlhost() {
  cat <<MQS
ID = EXEC("$ctlhost /pos 60 60 620 440 /log $(winpath "$work/$1")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
MQS
}

# ---- keys, buttons, origins, shortcuts ----
{ start_ctlhost keys.log; cat <<'MQS'
KBD(VK_A); KBD(VK_SHIFT, DOWN); KBD(VK_B); KBD(VK_SHIFT, UP)
KBD(VK_RRETURN)
KBD(12354)
SLEEP(0.3)
// The list box sits at client (10, 110), 140 x 100, with a 1-pixel border.
MOUSEORG(ID, MORG_CLIENT)
BTN(LEFT, CLICK, 30, 130)
MMV(0, 0)
BTN(RIGHT, CLICK)
// Direct mode: the click goes to the list box as a posted message at the
// point in its own coordinates; the pointer stays at the client origin.
MOUSEORG(ID, MORG_DIRECT)
BTN(LEFT, CLICK, 40, 150)
MOUSEORG(ID, MORG_CLIENT)
BTN(MIDDLE, CLICK)
MOUSEORG(0)
SCKEY(ID, VK_CTRL, VK_S)
SLEEP(0.3)
PRINT "done"
MQS
} >"$work/keys.mqs"
run_script keys
cat "$work/keys.err"
[ "$code" -eq 0 ] || { echo "keys: exit code $code"; exit 1; }
log="$work/keys.log"
expect_log "$log" "^EDITTEXT aB$"
expect_log "$log" "^edit WM_KEYDOWN 0xd 0x1[0-9a-f]{6}$"
expect_log "$log" "^edit WM_CHAR 0x3042 "
expect_log "$log" "^list WM_LBUTTONDOWN 0x1 0x[0-9a-f]+ at 19,19$"
expect_log "$log" "^list WM_LBUTTONUP 0x0 0x[0-9a-f]+ at 19,19$"
expect_log "$log" "^main WM_RBUTTONDOWN 0x2 0x0 at 0,0$"
expect_log "$log" "^list WM_LBUTTONDOWN 0x0 0x[0-9a-f]+ at 29,39$"
expect_log "$log" "^main WM_MBUTTONDOWN 0x10 0x0 at 0,0$"
# The keys go to whichever control has the focus (the list box, after the clicks).
grep -E "^[a-z]+ WM_KEY(DOWN|UP) 0x(11|53) " "$log" | awk '{print $2, $3}' | tail -4 >"$work/sckey.txt"
printf '%s\n' "WM_KEYDOWN 0x11" "WM_KEYDOWN 0x53" "WM_KEYUP 0x53" "WM_KEYUP 0x11" | diff - "$work/sckey.txt"

# ---- held input is released when the run ends normally and by an error ----
{ start_ctlhost held-normal.log; cat <<'MQS'
KBD(VK_SHIFT, DOWN)
MOUSEORG(ID, MORG_CLIENT)
BTN(LEFT, DOWN, 30, 130)
MQS
} >"$work/held-normal.mqs"
run_script held-normal
[ "$code" -eq 0 ] || { echo "held-normal: exit code $code"; cat "$work/held-normal.err"; exit 1; }
sleep 0.5
expect_log "$work/held-normal.log" "WM_KEYUP 0x10 "
expect_log "$work/held-normal.log" "^list WM_LBUTTONUP "

{ start_ctlhost held-error.log; cat <<'MQS'
KBD(VK_SHIFT, DOWN)
MOUSEORG(ID, MORG_DIRECT)
BTN(LEFT, DOWN, 30, 130)
DIM A[2]
A[LENGTH(A) + 5] = 1
PRINT "not reached"
MQS
} >"$work/held-error.mqs"
run_script held-error
[ "$code" -eq 9 ] || { echo "held-error: exit code $code, want 9"; cat "$work/held-error.err"; exit 1; }
sleep 0.5
expect_log "$work/held-error.log" "WM_KEYUP 0x10 "
expect_log "$work/held-error.log" "^list WM_LBUTTONUP "

# ---- LOCKHARDEX: another program's keys are swallowed, ours pass ----
{ start_ctlhost lock.log; cat <<MQS
LOCKHARDEX(0)
EXEC("$driver key 67")
SLEEP(1)
KBD(VK_D)
SLEEP(0.3)
LOCKHARDEX()
EXEC("$driver key 69")
SLEEP(1)
MQS
} >"$work/lock.mqs"
run_script lock
[ "$code" -eq 0 ] || { echo "lock: exit code $code"; cat "$work/lock.err"; exit 1; }
expect_log "$work/lock.log" "^EDITTEXT de$"
if grep -q "^edit WM_KEYDOWN 0x43 " "$work/lock.log"; then echo "a locked key got through"; exit 1; fi

# ---- SETHOTKEY ----
{ start_ctlhost hotkey.log; cat <<MQS
PUBLIC FIRED = 0
TRY
  SETHOTKEY(VK_Q, 3, "NOPE")
EXCEPT
  PRINT TRY_ERRMSG
ENDTRY
PRINT SETHOTKEY(VK_Q, 3, "ONQ")
EXEC("$driver hotkey")
FOR I = 1 TO 100
  IF FIRED > 0 THEN BREAK
  SLEEP(0.1)
NEXT
PRINT FIRED

PROCEDURE ONQ()
  PRINT HOTKEY_VK + "," + HOTKEY_MOD
  FIRED = FIRED + 1
FEND
MQS
} >"$work/hotkey.mqs"
run_script hotkey
cat "$work/hotkey.err"
[ "$code" -eq 0 ] || { echo "hotkey: exit code $code"; exit 1; }
printf '%s\n' "NOPE:No specified function" True 81,3 1 | diff - "$work/hotkey.out"

# ---- MUSCUR and the menu bar, on a ctlhost window in the script's own process ----
# The window stands apart from the ctlhost windows above, so the point is over it.
cat >"$work/cursor.mqs" <<'MQS'
ID = GETID("CtlHost in-process", "CtlHost")
CTRLWIN(ID, ACTIVATE)
MOUSEORG(ID, MORG_CLIENT)
// The edit at client (10, 10), 300 x 24, shows the text cursor; the bare client area the arrow.
MMV(100, 20)
SLEEP(0.5)
PRINT MUSCUR()  // CUR_IBEAM
MMV(450, 300)
SLEEP(0.5)
PRINT MUSCUR()  // CUR_ARROW
// The menu bar from the keyboard: File, then the greyed item's letter (nothing
// runs), out of the menu; then File, Exit, which closes the window.
SCKEY(ID, VK_ALT, VK_F)
SLEEP(0.3)
KBD(VK_G)
SLEEP(0.3)
KBD(VK_ESC); KBD(VK_ESC)
SLEEP(0.3)
SCKEY(ID, VK_ALT, VK_F)
SLEEP(0.3)
KBD(VK_X)
SLEEP(0.5)
MQS
set +e
wrun 120 "$MAQO_WIN_BIN/ctlrun.exe" /title "CtlHost in-process" /pos 690 300 560 440 /log "$(winpath "$work/cursor.log")" \
  -- "$(winpath "$work/cursor.mqs")" >"$work/cursor.raw" 2>"$work/cursor.err"
code=$?
set -e
tr -d '\r' <"$work/cursor.raw" >"$work/cursor.out"
cat "$work/cursor.err"
[ "$code" -eq 0 ] || { echo "cursor: exit code $code"; exit 1; }
printf '%s\n' 6 2 | diff - "$work/cursor.out"
expect_log "$work/cursor.log" "^COMMAND 303 0$"
expect_log "$work/cursor.log" "^WM_CLOSE$"
if grep -q "^COMMAND 302 " "$work/cursor.log"; then echo "the greyed menu item ran"; exit 1; fi
