# Window identification and control against real windows: the win32 unit
# tests start testwin.exe and drive GETID, HNDTOID, IDTOHND, ACW, CTRLWIN,
# STATUS, MONITOR and EXEC through the real desktop. Then the same builtins
# from a script run by mqsrun.exe: finding, moving, showing, hiding and
# closing testwins, a busy one, and EXEC with and without waiting.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Automation*'

work=$(mktemp -d "$MAQO_WINE_OUT/windows.XXXXXX")
testwin=$(winpath "$MAQO_WIN_BIN/testwin.exe")
log=$(winpath "$work/testwin.log")
busylog=$(winpath "$work/busy.log")
missing=$(winpath "$MAQO_WIN_BIN/no-such-program.exe")
cat >"$work/windows.mqs" <<MQS
ID = EXEC("$testwin /title <#DBL>Maqo Script Window<#DBL> /pos 40 50 320 240 /log $log")
PRINT ID > 0
PRINT GETID("maqo script window") = ID
PRINT GETID("ＭＡＱＯ ＳＣＲＩＰＴ ＷＩＮＤＯＷ") = ID
PRINT GETID("no such window title", "", 0.001)
PRINT HNDTOID(IDTOHND(ID)) = ID
ACW(ID, 200, 210)
PRINT STATUS(ID, ST_X) + "," + STATUS(ID, ST_Y) + "," + STATUS(ID, ST_WIDTH) + "," + STATUS(ID, ST_HEIGHT)
ACW(ID, , , 360, 250)
PRINT STATUS(ID, ST_X) + "," + STATUS(ID, ST_Y) + "," + STATUS(ID, ST_WIDTH) + "," + STATUS(ID, ST_HEIGHT)

// The title NOTEPAD: the window titled exactly so wins even from behind.
N1 = EXEC("$testwin /title <#DBL>Untitled - Notepad<#DBL> /class Notepad")
N2 = EXEC("$testwin /title Notepad /class Other")
CTRLWIN(N1, ACTIVATE)
PRINT STATUS(N1, ST_ACTIVE)
PRINT GETID("NOTEPAD") = N2
PRINT GETID("UNTITLED") = N1
PRINT GETID(GET_ACTIVE_WIN) = HNDTOID(IDTOHND(0))
PRINT HNDTOID(IDTOHND(N2)) = N2
LISTED = 0
COUNT = GETALLWIN()
FOR W IN ALL_WIN_ID
  IF W = ID OR W = N1 OR W = N2 THEN LISTED = LISTED + 1
NEXT
PRINT LISTED + "/" + (COUNT = LENGTH(ALL_WIN_ID))
CTRLWIN(N1, CLOSE)
CTRLWIN(N2, CLOSE)

CTRLWIN(ID, MIN)
PRINT STATUS(ID, ST_ICON)
CTRLWIN(ID, MAX)
PRINT STATUS(ID, ST_MAXIMIZED)
CTRLWIN(ID, HIDE)
PRINT STATUS(ID, ST_VISIBLE)
CTRLWIN(ID, SHOW)
PRINT STATUS(ID, ST_VISIBLE)
CTRLWIN(ID, CLOSE)
// The window goes once its own thread has destroyed it; under Xvfb without
// a window manager Wine takes about 2 s to hide a window.
FOR I = 1 TO 100
  IF !STATUS(ID, ST_ISID) THEN BREAK
  SLEEP(0.1)
NEXT
PRINT STATUS(ID, ST_ISID)
PRINT IDTOHND(ID)

B = EXEC("$testwin /title <#DBL>Maqo Busy<#DBL> /hangafter 300 /hangfor 3000 /log $busylog")
FOR I = 1 TO 50
  IF STATUS(B, ST_BUSY) THEN BREAK
  SLEEP(0.1)
NEXT
PRINT STATUS(B, ST_BUSY)
FOR I = 1 TO 100
  IF !STATUS(B, ST_BUSY) THEN BREAK
  SLEEP(0.1)
NEXT
PRINT STATUS(B, ST_BUSY)
CTRLWIN(B, CLOSE)

PRINT EXEC("$testwin /exitafter 200 /exit 3", TRUE)
PRINT EXEC("$missing")
MQS
run_mqs 180 "$work/windows.mqs"
printf '%s\n' True True True -1 True 200,210,320,240 200,210,360,250 \
  True True True True True 3/True \
  True True False True False 0 \
  True False 3 -1 >"$work/want.txt"
diff "$work/want.txt" "$work/windows.out"
for line in "WM_SYSCOMMAND 0xF060" "WM_CLOSE" "WM_DESTROY"; do
  grep -q "$line" "$work/testwin.log" || { echo "testwin did not log $line"; cat "$work/testwin.log"; exit 1; }
done
grep -q "HANG" "$work/busy.log"
