# The modal dialogs of mqsrun.exe, answered by a script thread with keys:
# MSGBOX closed by Escape and by Enter on its focus button, INPUT typed into
# and given a dropped file, SLCTBOX closed by Escape and by its time-out,
# POPUPMENU walked with the arrow keys into its submenu. The thread finds each form by its caption and
# window class. Before answering, it asks this driver for a screenshot of the
# dialog (a request file the driver turns into a PNG under $MAQO_WINE_OUT),
# kept for a person to look at, not compared.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Win32DialogWindows*:ModalDialog*'

work=$(mktemp -d "$MAQO_WINE_OUT/dialogs.XXXXXX")
shots="$MAQO_WINE_OUT/dialogs-shots"
mkdir -p "$shots"

touch "$work/dropped.txt"
cat >"$work/dialogs.mqs" <<MQS
THREAD Answer()
PRINT "msgbox escape " + MSGBOX("q")
PRINT "msgbox enter " + MSGBOX("q", BTN_YES + BTN_NO, -1, -1, BTN_NO)
A = INPUT("number?")
PRINT "input " + A + " " + (VARTYPE(A) = VAR_ASTR)
PRINT "input drop " + INPUT("file?", "old")
PRINT "slctbox escape " + SLCTBOX(SLCT_BTN, 0, "pick", "a", "b")
PRINT "slctbox timeout " + SLCTBOX(SLCT_BTN, 1, "wait", "a", "b")
DIM ITEMS[] = "a", "b", "{c", "d}"
PRINT "popupmenu " + POPUPMENU(ITEMS, 200, 200)

PROCEDURE Answer()
  Keys("TUmsgDlg_maqo", "msgbox-ok", VK_ESC, 0, 0)
  Keys("TUmsgDlg_maqo", "msgbox-yes-no", VK_RETURN, 0, 0)
  Keys("TUinpBox_maqo", "input", 49, 50, VK_RETURN)
  DROPFILE(WaitFor("TUinpBox_maqo"), "$(winpath "$work")", "dropped.txt")
  Keys("TUinpBox_maqo", "input-drop", VK_RETURN, 0, 0)
  Keys("TUslctBox_maqo", "slctbox-buttons", VK_ESC, 0, 0)
  Keys("TUslctBox_maqo", "slctbox-timeout", 0, 0, 0)
  // The menu has no window class of ours: give it time to open, then put
  // the pointer on its frame (above its first entry, which a pointer over
  // it would select): without a window manager the keys go to the window
  // under the pointer.
  SLEEP(2)
  MMV(201, 201)
  SLEEP(0.3)
  Shot("popupmenu")
  KBD(VK_DOWN); KBD(VK_DOWN); KBD(VK_RIGHT); KBD(VK_DOWN); KBD(VK_RETURN)
FEND

// Waits for the form, has it photographed, presses the keys (0: none), and
// waits until it is gone, so the next wait finds the next form.
PROCEDURE Keys(CLS, NAME, K1, K2, K3)
  ID = WaitFor(CLS)
  IF ID < 0 THEN
    PRINT "no " + NAME
    EXIT
  ENDIF
  Shot(NAME)
  IF K1 <> 0 THEN KBD(K1)
  IF K2 <> 0 THEN KBD(K2)
  IF K3 <> 0 THEN KBD(K3)
  FOR I = 1 TO 100
    IF !STATUS(ID, ST_ISID) THEN BREAK
    SLEEP(0.1)
  NEXT
FEND

// The form of the class, waited for at most 10 s; -1 when it never came.
FUNCTION WaitFor(CLS)
  RESULT = -1
  FOR I = 1 TO 100
    RESULT = GETID("MAQO", CLS)
    IF RESULT >= 0 THEN BREAK
    SLEEP(0.1)
  NEXT
FEND

PROCEDURE Shot(NAME)
  F = FOPEN("$(winpath "$work")\\" + NAME + ".shot", F_WRITE)
  FCLOSE(F)
  SLEEP(1)
FEND
MQS

# Turns each screenshot request into a PNG while the run lasts.
photographer() {
  while [ ! -e "$work/done" ]; do
    for req in "$work"/*.shot; do
      [ -e "$req" ] || continue
      name=$(basename "$req" .shot)
      import -window root "$shots/$name.png" >/dev/null 2>&1 || echo "no screenshot of $name (ImageMagick import failed)"
      rm -f "$req"
    done
    sleep 0.2
  done
}
photographer &
photos=$!
code=0
run_mqs 120 "$work/dialogs.mqs" || code=$?
touch "$work/done"
wait "$photos"
[ "$code" -eq 0 ] || exit 1
cat >"$work/expected.out" <<OUT
msgbox escape 2
msgbox enter 8
input 12 True
input drop $(winpath "$work/dropped.txt")
slctbox escape -1
slctbox timeout 0
popupmenu 3
OUT
diff "$work/expected.out" "$work/dialogs.out"
ls "$shots"
