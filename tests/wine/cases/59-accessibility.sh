# The accessibility search and point reading against acchost.exe, which serves
# its own IAccessible tree (Wine's objects for standard controls are stubs):
# CLKITEM by the default action, CLK_CONTINUE passing to the next match past
# an unavailable one, an element inside a child object, CHKBTN's half-checked
# state, GETITEM listing an element reachable by navigation and by index once,
# SENDSTR appending to a value, GETSTR's accessible texts, and POSACC's role,
# name and client-relative location. acchost logs every action it receives.
set -e
cd "$MAQO_WIN_BIN/.."
wrun 300 "$MAQO_WIN_BIN/maqo_unit_tests.exe" --gtest_brief=1 --gtest_filter='Accessib*:FindAccessible*'

work=$(mktemp -d "$MAQO_WINE_OUT/accessibility.XXXXXX")
acchost=$(winpath "$MAQO_WIN_BIN/acchost.exe")
log="$work/acchost.log"

cat >"$work/acc.mqs" <<MQS
ID = EXEC("$acchost /pos 60 60 /log $(winpath "$log")")
CTRLWIN(ID, ACTIVATE)
SLEEP(0.5)
PRINT "save " + CLKITEM(ID, "Save", CLK_ACC)
PRINT "next " + CLKITEM(ID, "Save", CLK_ACC + CLK_CONTINUE)
PRINT "past the last " + CLKITEM(ID, "Save", CLK_ACC + CLK_CONTINUE)
PRINT "deep " + CLKITEM(ID, "Deep", CLK_ACC)
PRINT "mixed " + CHKBTN(ID, "Mixed one", 1, 1)
PRINT "missing " + CHKBTN(ID, "Missing", 1, 1)
N = GETITEM(ID, ITM_ACCCLK)
S = ""
FOR I = 0 TO N - 1
  S = S + ALL_ITEM_LIST[I] + ","
NEXT
PRINT "items " + N + " " + S
PRINT "enabled items " + GETITEM(ID, ITM_ACCCLK, 0, 0, TRUE)
SENDSTR(ID, "x", 1, 0, 1)
PRINT "edit " + GETSTR(ID, 1, STR_ACC_EDIT)
PRINT "static " + GETSTR(ID, 1, STR_ACC_STATIC)
PRINT "role " + POSACC(ID, 20, 20, ACC_ROLE)
PRINT "name " + POSACC(ID, 20, 140, ACC_NAME)
PRINT "text " + POSACC(ID, 20, 140)
PRINT "location " + POSACC(ID, 20, 20, ACC_LOCATION)
PRINT "drawn [" + POSACC(ID, 20, 20, ACC_API) + "]"
CTRLWIN(ID, CLOSE)
MQS

run_mqs 180 "$work/acc.mqs"
cat >"$work/expected.out" <<'OUT'
save True
next True
past the last False
deep True
mixed 2
missing -1
items 6 Save,Save,Save,Mixed one,Docs,Deep,
enabled items 5
edit abcx
static Label
role push button
name Notes
text Notes
location 10,10,120,24
drawn []
OUT
diff "$work/expected.out" "$work/acc.out"

# The first "&Save", then the third row (the unavailable second one is
# passed), the group's own child, and the appended value; nothing else acted.
tr -d '\r' <"$log" | grep '^ACTION\|^VALUE' >"$work/actions.txt"
cat >"$work/expected-actions.txt" <<'OUT'
ACTION 1 &Save
ACTION 3 Save
ACTION 9 Deep
VALUE 5 abcx
OUT
diff "$work/expected-actions.txt" "$work/actions.txt"
