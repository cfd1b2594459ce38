# DROPFILE onto testwin.exe in another process: once onto the OLE drop target
# it registers (/droptarget) at a given client point, once onto a window that
# only accepts files (WM_DROPFILES) at the centre, with the names in an array.
# testwin logs the names and the client point it received. A name the shell
# cannot parse is a catchable error. The WM_DROPFILES route prepares memory in
# the target process with 32-bit code, so the 64-bit build checks the OLE half.
set -e
work=$(mktemp -d "$MAQO_WINE_OUT/dropfile.XXXXXX")
mkdir -p "$work/data"
printf 'one' >"$work/data/one.txt"
printf 'two' >"$work/data/two words.txt"
testwin=$(winpath "$MAQO_WIN_BIN/testwin.exe")
data=$(winpath "$work/data")
ole_part=$(cat <<MQS
OLE = EXEC("$testwin /title <#DBL>Drop OLE<#DBL> /pos 60 60 400 300 /droptarget /log $(winpath "$work/ole.log")")
DROPFILE(OLE, 30, 40, "$data", "one.txt", "two words.txt")
SLEEP(1)
TRY
  DROPFILE(OLE, "$data", "missing.txt")
  PRINT "no error"
EXCEPT
  PRINT TRY_ERRMSG
ENDTRY
CTRLWIN(OLE, CLOSE)
MQS
)
message_part=$(cat <<MQS
MSG = EXEC("$testwin /title <#DBL>Drop Message<#DBL> /pos 500 60 400 300 /log $(winpath "$work/msg.log")")
NAMES = SPLIT("one.txt|two words.txt", "|")
DROPFILE(MSG, "$data", NAMES)
PRINT "centre " + INT(STATUS(MSG, ST_CLWIDTH) / 2) + " " + INT(STATUS(MSG, ST_CLHEIGHT) / 2)
SLEEP(1)
CTRLWIN(MSG, CLOSE)
MQS
)
[ "$MAQO_WINE_ARCH" = win32 ] || message_part=""
printf '%s\n%s\nPRINT "done"\n' "$ole_part" "$message_part" >"$work/drop.mqs"
set +e
wrun 120 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/drop.mqs")" >"$work/out.txt" 2>"$work/err.txt"
code=$?
set -e
# testwin's logs are UTF-8 with a mark and CR LF line ends.
for log in ole msg; do sed '1s/^\xEF\xBB\xBF//' "$work/$log.log" 2>/dev/null | tr -d '\r' >"$work/$log.txt" || true; done
echo "--- output"; cat "$work/out.txt"; echo "--- errors"; cat "$work/err.txt"
echo "--- OLE target log"; cat "$work/ole.txt"
echo "--- WM_DROPFILES log"; cat "$work/msg.txt"
[ "$code" -eq 0 ] || { echo "mqsrun exit code $code"; exit 1; }
tr -d '\r' <"$work/out.txt" >"$work/got.txt"
grep -q '^KansuCall:missing.txt' "$work/got.txt" || { echo "the missing name was not reported"; exit 1; }
grep -q '^done$' "$work/got.txt"
grep -qx 'DROPTARGET 0x00000000' "$work/ole.txt" || { echo "testwin could not register its drop target"; exit 1; }
grep -qx 'OLEDROP AT 30 40' "$work/ole.txt"
grep -Fqx "OLEDROP $data\one.txt" "$work/ole.txt"
grep -Fqx "OLEDROP $data\two words.txt" "$work/ole.txt"
if grep -q "missing.txt" "$work/ole.txt"; then echo "a name that failed was dropped"; exit 1; fi
if [ "$MAQO_WINE_ARCH" != win32 ]; then
  echo "(the WM_DROPFILES route needs the 32-bit build)"
  exit 0
fi
centre=$(sed -n 's/^centre //p' "$work/got.txt")
grep -qx "WM_DROPFILES AT $centre" "$work/msg.txt" || { echo "not dropped at the centre ($centre)"; exit 1; }
grep -Fqx "WM_DROPFILES $data\one.txt" "$work/msg.txt"
grep -Fqx "WM_DROPFILES $data\two words.txt" "$work/msg.txt"
if grep -q "missing.txt" "$work/msg.txt"; then echo "a name that failed was dropped"; exit 1; fi
