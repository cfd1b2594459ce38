# Window automation across bitness, in a second, 64-bit (WoW64) prefix: the
# 32-bit mqsrun.exe drives testwin64.exe and testwin.exe side by side. STATUS
# tells the 64-bit process from the 32-bit one and reads both program paths;
# GETID, ACW, CTRLWIN and STATUS act on the 64-bit process's window.
set -e
needs_wine32 "the 32-bit mqsrun.exe driving 64-bit windows"
testwin64_exe="$MAQO_WIN64_BIN/testwin64.exe"
if [ ! -f "$testwin64_exe" ]; then
  echo "$testwin64_exe is missing: make win32 builds it (build/win64-fixtures)"
  exit 1
fi
trap 'wine64_prefix_stop' EXIT
trap 'exit 143' TERM INT
wine64_prefix_start

work=$(mktemp -d "$MAQO_WINE_OUT/windows64.XXXXXX")
testwin64=$(winpath "$testwin64_exe")
testwin32=$(winpath "$MAQO_WIN_BIN/testwin.exe")
log=$(winpath "$work/testwin64.log")
cat >"$work/bitness.mqs" <<MQS
ID = EXEC("$testwin64 /title <#DBL>Maqo Sixty Four<#DBL> /pos 60 70 300 200 /log $log")
ID32 = EXEC("$testwin32 /title <#DBL>Maqo Thirty Two<#DBL>")
PRINT ID > 0
PRINT STATUS(ID, ST_WIN64)
PRINT STATUS(ID32, ST_WIN64)
PRINT STATUS(ID, ST_PATH)
PRINT STATUS(ID32, ST_PATH)
PRINT STATUS(ID, ST_PROCESS) > 0
PRINT GETID("maqo sixty four") = ID
PRINT GETID("SIXTY") = ID
PRINT STATUS(ID, ST_TITLE)
ACW(ID, 200, 210)
PRINT STATUS(ID, ST_X) + "," + STATUS(ID, ST_Y) + "," + STATUS(ID, ST_WIDTH) + "," + STATUS(ID, ST_HEIGHT)
CTRLWIN(ID, MIN)
PRINT STATUS(ID, ST_ICON)
CTRLWIN(ID, 1025, 3, 4)
CTRLWIN(ID, CLOSE)
CTRLWIN(ID32, CLOSE)
// A closed window goes away once its thread has destroyed it; under Xvfb
// without a window manager that takes Wine about 2 s.
FOR I = 1 TO 100
  IF !STATUS(ID, ST_ISID) AND !STATUS(ID32, ST_ISID) THEN BREAK
  SLEEP(0.1)
NEXT
PRINT STATUS(ID, ST_ISID)
PRINT STATUS(ID32, ST_ISID)
MQS
run_mqs 120 "$work/bitness.mqs"
printf '%s\n' True True False "$testwin64" "$testwin32" True True True "Maqo Sixty Four" 200,210,300,200 True \
  False False >"$work/want.txt"
diff "$work/want.txt" "$work/bitness.out"
for line in "WM_USER+1 3 4" "WM_SYSCOMMAND 0xF060" "WM_CLOSE" "WM_DESTROY"; do
  grep -q "$line" "$work/testwin64.log" || { echo "testwin64 did not log $line"; cat "$work/testwin64.log"; exit 1; }
done
echo "64-bit window checks passed"
