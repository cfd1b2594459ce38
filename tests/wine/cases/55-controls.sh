# Control items against ctlhost.exe, read across processes: buttons counted in
# reading order, check boxes clicked only when their state differs, a 3-state
# box driven to its third state, a list entry selected with its change
# notification, a tab selected with its notifications (their header lives in
# ctlhost's memory), a tree path, list-view headers and a column, status-bar
# parts and tool-bar buttons (texts of 5,000 and 3,000 characters, longer
# than the remote page), edit texts,
# the clipboard, and the track bar. The machine runs the 64-bit build, so the
# 64-bit structure layouts are the ones exercised here.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Control*:ItemNames*:Tree*:Menu*:CommonControl*'

work=$(mktemp -d "$MAQO_WINE_OUT/controls.XXXXXX")
ctlhost=$(winpath "$MAQO_WIN_BIN/ctlhost.exe")
log="$work/controls.log"

cat >"$work/controls.mqs" <<MQS
ID = EXEC("$ctlhost /pos 60 60 620 440 /longstatus /log $(winpath "$log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
PRINT "ok2 " + CLKITEM(ID, "OK", CLK_BTN, TRUE, 2)
PRINT "check " + CLKITEM(ID, "Check", CLK_BTN, TRUE)
SLEEP(0.3)
PRINT "check again " + CLKITEM(ID, "Check", CLK_BTN, TRUE)
PRINT "checked " + CHKBTN(ID, "Check")
PRINT "three " + CLKITEM(ID, "Three", CLK_BTN, 2)
SLEEP(0.3)
PRINT "three state " + CHKBTN(ID, "Three")
PRINT "missing " + CHKBTN(ID, "Missing")
PRINT "list " + CLKITEM(ID, "charlie", CLK_LIST)
PRINT "list selected " + GETSLCTLST(ID, 1)
PRINT "tab " + CLKITEM(ID, "Extra", CLK_TAB)
PRINT "tree " + CLKITEM(ID, "\Root\Child A\Leaf", CLK_TREEVIEW)
PRINT "tree selected " + GETSLCTLST(ID, 3)
CLKITEM(ID, "\Root\Leaf", CLK_TREEVIEW + CLK_MUSMOVE)
Y1 = G_MOUSE_Y
CLKITEM(ID, "\Root\Child A", CLK_TREEVIEW + CLK_MUSMOVE)
PRINT "tree pointer on the lower item " + (G_MOUSE_Y > Y1)
PRINT "listview " + CLKITEM(ID, "Bravo", CLK_LISTVIEW, FALSE)
PRINT "listview selected " + GETSLCTLST(ID, 4, 2)
N = GETITEM(ID, ITM_LISTVIEW, 1, 2)
S = ""
FOR I = 0 TO N - 1
  S = S + ALL_ITEM_LIST[I] + ","
NEXT
PRINT "items " + N + " " + S
N = GETITEM(ID, ITM_TAB + ITM_TREEVIEW)
S = ""
FOR I = 0 TO N - 1
  S = S + ALL_ITEM_LIST[I] + ","
NEXT
PRINT "tabs and tree " + S
PRINT "toolbar " + CLKITEM(ID, "Open", CLK_TOOLBAR)
N = GETITEM(ID, ITM_TOOLBAR)
PRINT "toolbar items " + N + " " + ALL_ITEM_LIST[0] + "," + ALL_ITEM_LIST[1] + "," + LENGTH(ALL_ITEM_LIST[2])
PRINT "status " + GETSTR(ID, 2, STR_STATUS)
PRINT "long status " + LENGTH(GETSTR(ID, 3, STR_STATUS)) + " " + COPY(GETSTR(ID, 3, STR_STATUS), 4990)
SENDSTR(ID, "x", 1, 1)
PRINT "edit " + GETSTR(ID, 1)
SENDSTR(0, "clip")
PRINT "clipboard " + GETSTR(0)
PRINT "slider " + SETSLIDER(ID, 20) + " " + GETSLIDER(ID, 1) + " " + GETSLIDER(ID, 1, SLD_BAR) + " " + SETSLIDER(ID, GET_SLIDER)
PRINT "slider max " + GETSLIDER(ID, 1, SLD_MAX) + " none " + GETSLIDER(ID, 9)
PRINT "handle " + (GETCTLHND(ID, "OK", 2) <> 0) + " " + GETCTLHND(ID, "nothing here")
PRINT "not found " + CLKITEM(ID, "Missing", CLK_BTN)
SLEEP(0.3)
CTRLWIN(ID, CLOSE)
MQS

run_mqs 180 "$work/controls.mqs"
cat >"$work/expected.out" <<'OUT'
ok2 True
check True
check again True
checked 1
three True
three state 2
missing -1
list True
list selected Charlie
tab True
tree True
tree selected Root\Child A\Leaf
tree pointer on the lower item True
listview True
listview selected 20
items 5 Name,Size,10,20,30,
tabs and tree Main,Extra,Root,Leaf,Child A,Leaf,
toolbar True
toolbar items 3 New,Open,3000
status Two
long status 5000 xyzabcdefgh
edit x
clipboard clip
slider True 20 0 20
slider max 100 none -999999
handle True 0
not found False
OUT
diff "$work/expected.out" "$work/controls.out"

expect_log() {
  tr -d '\r' <"$log" | grep -qE "$1" || { echo "missing in the log: $1"; tr -d '\r' <"$log"; exit 1; }
}
count_log() { tr -d '\r' <"$log" | grep -cE "$1" || true; }
# The second OK button (ID 102) and no other was pressed.
expect_log "^COMMAND 102 0$"
[ "$(count_log '^COMMAND 10[13] 0$')" -eq 0 ] || { echo "another OK button was pressed"; exit 1; }
# The check box was clicked once: the second CLKITEM found it checked.
[ "$(count_log '^COMMAND 104 0$')" -eq 1 ] || { echo "the check box was not clicked exactly once"; exit 1; }
expect_log "^COMMAND 106 1$"       # LBN_SELCHANGE from the nudge
expect_log "^NOTIFY 108 -552$"     # TCN_SELCHANGING, read by ctlhost from its own memory
expect_log "^NOTIFY 108 -551$"     # TCN_SELCHANGE
expect_log "^COMMAND 202 0$"       # the tool bar's Open button

# ---- Menu paths, on a ctlhost window in the script's own process ----
# (Wine does not read the menus of another process's windows.)
cat >"$work/menu.mqs" <<'MQS'
ID = GETID("CtlHost menu", "CtlHost")
PRINT CLKITEM(ID, "File\Greyed", CLK_MENU)
PRINT CLKITEM(ID, "File\Nothing", CLK_MENU)
PRINT CLKITEM(ID, "File\Open", CLK_MENU)
SLEEP(0.3)
PRINT CLKITEM(ID, "File\Exit", CLK_MENU)
SLEEP(0.5)
MQS
log="$work/menu.log"
set +e
wrun 120 "$MAQO_WIN_BIN/ctlrun.exe" /title "CtlHost menu" /pos 690 300 560 440 /log "$(winpath "$log")" \
  -- "$(winpath "$work/menu.mqs")" >"$work/menu.raw" 2>"$work/menu.err"
code=$?
set -e
cat "$work/menu.err"
[ "$code" -eq 0 ] || { echo "menu: exit code $code"; exit 1; }
tr -d '\r' <"$work/menu.raw" | diff <(printf '%s\n' False False True True) -
expect_log "^COMMAND 301 0$"
expect_log "^COMMAND 303 0$"
[ "$(count_log '^COMMAND 302 ')" -eq 0 ] || { echo "the greyed menu item ran"; exit 1; }
