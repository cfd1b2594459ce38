# COM objects for real, against servers nobody here wrote (Wine's own
# Scripting.Dictionary, Scripting.FileSystemObject, VBScript.RegExp and
# MSXML2.DOMDocument): properties, methods, indexed get and put, VAR
# arguments, WITH, FOR-IN and GETOLEITEM over _NewEnum, SAFEARRAY arguments,
# TRUE reaching a server as VARIANT_TRUE, COM_ERR_IGN, errors with the
# server's text, and an object made on the main thread used by a script
# thread (marshalled between the apartments). Then the project's own test
# server (tests/fixtures/testcom.c), registered in the prefix under HKLM
# (Wine ignores per-user classes), shows exactly what reaches a server, and
# its host program puts it in the running-object table for GETACTIVEOLEOBJ.
# Last, OLEEVENT on the server's source interface: handlers with EVENT_ID and
# EVENT_PRM, by-reference parameters changed for the server, disconnecting,
# and every sink unadvised by the run's end (the server logs each Advise and
# Unadvise).
set -e
cd "$MAQO_WIN_BIN/.."
work=$(mktemp -d "$MAQO_WINE_OUT/com.XXXXXX")
cat >"$work/com.mqs" <<'MQS'
D = CREATEOLEOBJ("Scripting.Dictionary")
D.Add("a", 1)
D.Add("b", "two")
D.Item("c") = 3.5
PRINT D.Count + "," + D.Item("a") + "," + D.Item("b") + "," + D.Item("c")
PRINT D.Exists("b") + "," + D.Exists("zz")
D.Item("big") = 5000000000
PRINT D.Item("big")
WITH D
  PRINT .Count
ENDWITH
PRINT GETOLEITEM(D) + ":" + ALL_OLE_ITEM[0] + ALL_OLE_ITEM[1]
FOR K IN D
  PRINT "key " + K
NEXT
KEYS = D.Keys()
PRINT LENGTH(KEYS) + ":" + KEYS[3]
COM_ERR_IGN
PRINT D.Add("a", 2)
PRINT COM_ERR_FLG
COM_ERR_RET
TRY
  D.Add("a", 2)
EXCEPT
  PRINT POS("COM_Error:", TRY_ERRMSG) = 1
ENDTRY
TRY
  PRINT D.NoSuchMember
EXCEPT
  PRINT POS("COM_Error:", TRY_ERRMSG) = 1
ENDTRY

FSO = CREATEOLEOBJ("Scripting.FileSystemObject")
PRINT FSO.Drives.Count >= 1
PRINT GETOLEITEM(FSO.Drives) >= 1
F = FSO.BuildPath("C:\a", "b.txt")
PRINT F
TMP = FSO.GetSpecialFolder(2).Path
NAME = FSO.BuildPath(TMP, "maqo-com-test.txt")
TS = FSO.CreateTextFile(NAME, TRUE)
TS.WriteLine("line one")
TS.Close()
PRINT FSO.FileExists(NAME)
// TRUE must reach the server as VARIANT_TRUE: overwrite = TRUE replaces the file.
TS = FSO.CreateTextFile(NAME, TRUE)
TS.Write("second")
TS.Close()
PRINT FSO.OpenTextFile(NAME, 1).ReadAll()
FSO.DeleteFile(NAME)
PRINT FSO.FileExists(NAME)

RE = CREATEOLEOBJ("VBScript.RegExp")
RE.Pattern = "[0-9]+"
RE.Global = TRUE
MS = RE.Execute("a1 b22 c333")
PRINT MS.Count + ":" + MS.Item(2).Value
FOR M IN MS
  PRINT M.Value + "@" + M.FirstIndex
NEXT
PRINT RE.Replace("x12y", "#")

X = CREATEOLEOBJ("MSXML2.DOMDocument")
PRINT X.loadXML("<r><i n=<#DBL>1<#DBL>>one</i><i n=<#DBL>2<#DBL>>two</i></r>")
PRINT X.documentElement.childNodes.length
PRINT X.selectSingleNode("//i[@n='2']").text
PRINT X.documentElement.getAttribute("none") = NULL

A = SAFEARRAY(0, 2)
A[0] = "p"; A[1] = "q"; A[2] = "r"
PRINT LENGTH(A)
D2 = CREATEOLEOBJ("Scripting.Dictionary")
D2.Add("arr", A)
B = D2.Item("arr")
PRINT LENGTH(B) + ":" + B[2]
G = SAFEARRAY(0, 1, 0, 2)
G[1, 2] = "corner"
D2.Add("grid", G)
H = D2.Item("grid")
PRINT H[1, 2]
PRINT D2.Item("missing") = EMPTY

PUBLIC SHARED, DONE = 0, SEEN = ""
SHARED = D
THREAD Worker()
FOR K = 1 TO 300
  IF DONE THEN BREAK
  SLEEP(0.1)
NEXT
PRINT DONE + ":" + SEEN + ":" + D.Item("from thread")

PROCEDURE Worker()
  SEEN = SHARED.Count
  SHARED.Item("from thread") = "ok"
  DONE = 1
FEND
MQS
run_mqs 120 "$work/com.mqs"
cat >"$work/want.txt" <<'WANT'
3,1,two,3.5
True,False
5000000000
4
4:ab
key a
key b
key c
key big
4:big
-999999
True
True
True
True
True
C:\a\b.txt
True
second
False
3:333
1@1
22@4
333@8
x#y
True
2
two
True
3
3:r
corner
True
1:4:ok
WANT
diff "$work/want.txt" "$work/com.out"

# ---- the test server ----
clsid='{6A0F1E2C-3B4D-4E5F-8A9B-0C1D2E3F4A5B}'
dll=$(winpath "$MAQO_WIN_BIN/testcom.dll")
wrun 60 reg add 'HKLM\Software\Classes\Maqo.TestServer\CLSID' /ve /d "$clsid" /f >"$work/reg.txt" 2>&1
wrun 60 reg add "HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve /d "$dll" /f >>"$work/reg.txt" 2>&1
wrun 60 reg add "HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment /f >>"$work/reg.txt" 2>&1
wrun 60 reg add "HKLM\\Software\\Classes\\CLSID\\$clsid\\ProgID" /ve /d Maqo.TestServer /f >>"$work/reg.txt" 2>&1
# Every server instance, in-process or not, appends its Advise and Unadvise
# calls to this log.
export MAQO_TESTCOM_LOG
MAQO_TESTCOM_LOG=$(winpath "$work/testcom.log")

cat >"$work/server.mqs" <<'MQS'
O = CREATEOLEOBJ("Maqo.TestServer")
PRINT O.Types(3.0, 2.5, , "", TRUE)
PRINT O.Types(1, c := "C", b := "B")
PRINT O.Types("x := 1", 5000000000, -7)
N = 41
O.AddOne(VAR N)
PRINT N
PRINT O.Count + "," + O.Count() + "," + O.Child.Child.Count
PRINT O.Reset()
WITH O
  PRINT .Count + .Child.Count
ENDWITH
O.Item(3) = "three"
O.Item[4] = 4
PRINT O.Item(3) + "," + O.Item[4]
COM_ERR_IGN
PRINT O.Fail()
PRINT COM_ERR_FLG
COM_ERR_RET
TRY
  O.Fail()
EXCEPT
  PRINT TRY_ERRMSG
ENDTRY
PRINT GETOLEITEM(O) + ":" + ALL_OLE_ITEM[0] + "," + ALL_OLE_ITEM[2]
FOR V IN O
  PRINT V
NEXT
S = SAFEARRAY(0, 2)
PRINT LENGTH(S)
S[1] = "mid"
E = O.Echo(S)
PRINT LENGTH(E) + ":" + E[1]
G = SAFEARRAY(1, 2, 1, 3)
PRINT O.Dims(G) + "," + O.Types(G)
PRINT GETACTIVEOLEOBJ("Maqo.TestServer") = NOTHING
MQS
set +e
wrun 120 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/server.mqs")" >"$work/server-out.txt" 2>"$work/server-err.txt"
code=$?
set -e
cat "$work/server-err.txt"
[ "$code" -eq 0 ] || { echo "mqsrun exit code $code"; cat "$work/reg.txt" "$work/server-out.txt"; exit 1; }
tr -d '\r' <"$work/server-out.txt" >"$work/server-got.txt"
cat >"$work/server-want.txt" <<'WANT'
3=3 5=2.5 10=80020004 8='' 11=-1
3=1 #103:8='C' #102:8='B'
8='x := 1' 5=5e+09 3=-7
42
5,5,5
reset
10
three,4
-999999
True
COM_Error:Fail was called
3:10,30
10
20
30
3
3:mid
2,8204=array2
True
WANT
diff "$work/server-want.txt" "$work/server-got.txt"

# GETACTIVEOLEOBJ finds the object while its host program runs.
wrun 60 "$MAQO_WIN_BIN/testcomhost.exe" 40 >"$work/host.txt" 2>&1 &
host=$!
for _ in $(seq 1 200); do
  grep -q registered "$work/host.txt" 2>/dev/null && break
  sleep 0.1
done
cat >"$work/active.mqs" <<'MQS'
A = GETACTIVEOLEOBJ("Maqo.TestServer")
PRINT A.Count
PRINT A.Types(7, "s")
MQS
set +e
wrun 60 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/active.mqs")" >"$work/active-out.txt" 2>"$work/active-err.txt"
code=$?
set -e
kill "$host" 2>/dev/null || true
wait "$host" 2>/dev/null || true
cat "$work/active-err.txt"
[ "$code" -eq 0 ] || { echo "mqsrun exit code $code"; cat "$work/host.txt" "$work/active-out.txt"; exit 1; }
printf "5\n3=7 8='s'\n" >"$work/active-want.txt"
tr -d '\r' <"$work/active-out.txt" | diff "$work/active-want.txt" -

# ---- events: OLEEVENT against the test server's source interface ----
# The server's type library lives in testcom.dll; registered as a client
# would find it (proxies for the source interface use it too).
libid='{6A0F1E2C-3B4D-4E5F-8A9B-0C1D2E3F4A50}'
events_iid='{6A0F1E2C-3B4D-4E5F-8A9B-0C1D2E3F4A52}'
for arch in win32 win64; do
  wrun 60 reg add "HKLM\\Software\\Classes\\TypeLib\\$libid\\1.0\\0\\$arch" /ve /d "$dll" /f >>"$work/reg.txt" 2>&1
done
wrun 60 reg add "HKLM\\Software\\Classes\\Interface\\$events_iid\\ProxyStubClsid32" /ve \
  /d '{00020420-0000-0000-C000-000000000046}' /f >>"$work/reg.txt" 2>&1
wrun 60 reg add "HKLM\\Software\\Classes\\Interface\\$events_iid\\TypeLib" /ve /d "$libid" /f >>"$work/reg.txt" 2>&1
wrun 60 reg add "HKLM\\Software\\Classes\\Interface\\$events_iid\\TypeLib" /v Version /d 1.0 /f >>"$work/reg.txt" 2>&1

cat >"$work/events.mqs" <<'MQS'
PUBLIC O
O = CREATEOLEOBJ("Maqo.TestServer")
OLEEVENT(O, "ITestServerEvents", "Tick", "OnTick")
OLEEVENT(O, "itestserverevents", "zero", "OnZero")
PRINT "sinks " + O.Sinks
PRINT O.Fire(3)
// Another handler for Tick replaces the first on the same connection.
OLEEVENT(O, "ITestServerEvents", "Tick", "Doubling")
PRINT O.Fire(2)
PRINT "sinks " + O.Sinks
OLEEVENT(O, "")
PRINT "sinks " + O.Sinks
PRINT O.Fire(1)
// A handler that cuts its own connection while the server calls it.
OLEEVENT(O, "ITestServerEvents", "Tick", "Once")
PRINT O.Fire(3)
PRINT "sinks " + O.Sinks
// Connected at the end: the run's end unadvises it.
OLEEVENT(O, "ITestServerEvents", "Zero", "OnZero")
PRINT "end"

PROCEDURE OnTick()
  PRINT "tick " + EVENT_ID + ":" + EVENT_PRM[0] + " " + EVENT_PRM[1] + " " + EVENT_PRM[2] + " " + LENGTH(EVENT_PRM)
  EVENT_PRM[1] = EVENT_PRM[1] + "+" + EVENT_PRM[0]
  EVENT_PRM[2] = EVENT_PRM[2] + EVENT_PRM[0]
  EVENT_PRM[3] = TRUE
FEND
PROCEDURE Doubling()
  EVENT_PRM[2] = EVENT_PRM[2] + 2 * EVENT_PRM[0]
FEND
PROCEDURE OnZero()
  PRINT "zero " + EVENT_ID + ":" + EVENT_PRM[0]
FEND
PROCEDURE Once()
  PRINT "once " + EVENT_PRM[0]
  EVENT_PRM[1] = "cut"
  OLEEVENT(O, "")
FEND
MQS
rm -f "$work/testcom.log"
run_mqs 120 "$work/events.mqs"
cat >"$work/events-want.txt" <<'WANT'
sinks 1
tick 1:1 start 0 4
tick 1:2 start+1 1 4
tick 1:3 start+1+2 3 4
zero 0:3
start+1+2+3,6,-1
zero 0:2
start,6,0
sinks 1
sinks 0
start,0,0
once 1
cut,0,0
sinks 0
end
WANT
diff "$work/events-want.txt" "$work/events.out"
printf 'Advise\nUnadvise\nAdvise\nUnadvise\nAdvise\nUnadvise\n' | diff - <(tr -d '\r' <"$work/testcom.log")

# Events the server fires on its own (from a timer) arrive while the script
# waits: SLEEP passes the thread's messages.
cat >"$work/later.mqs" <<'MQS'
PUBLIC SEEN = 0
O = CREATEOLEOBJ("Maqo.TestServer")
OLEEVENT(O, "ITestServerEvents", "Tick", "Count")
O.FireLater(3)
SLEEP(1)
PRINT SEEN
PROCEDURE Count()
  SEEN = SEEN + 1
FEND
MQS
run_mqs 60 "$work/later.mqs"
echo 3 | diff - "$work/later.out"

# An event the interface does not have is refused before anything connects.
cat >"$work/noevent.mqs" <<'MQS'
O = CREATEOLEOBJ("Maqo.TestServer")
OLEEVENT(O, "ITestServerEvents", "Missing", "Handler")
PRINT "not reached"
PROCEDURE Handler()
FEND
MQS
set +e
wrun 60 "$MAQO_WIN_BIN/mqsrun.exe" "$(winpath "$work/noevent.mqs")" >"$work/noevent.raw" 2>"$work/noevent.err"
set -e
grep -q "Event was not able to be acquired" "$work/noevent.err" "$work/noevent.raw" ||
  { echo "no event error:"; cat "$work/noevent.raw" "$work/noevent.err"; exit 1; }
! grep -q "not reached" "$work/noevent.raw"

# Events from the out-of-process server: the sink is marshalled to the
# server's process and its calls come back into the script's apartment.
rm -f "$work/testcom.log"
wrun 60 "$MAQO_WIN_BIN/testcomhost.exe" 40 >"$work/host2.txt" 2>&1 &
host=$!
for _ in $(seq 1 200); do
  grep -q registered "$work/host2.txt" 2>/dev/null && break
  sleep 0.1
done
cat >"$work/remote-events.mqs" <<'MQS'
A = GETACTIVEOLEOBJ("Maqo.TestServer")
OLEEVENT(A, "ITestServerEvents", "Tick", "OnTick")
PUBLIC SEEN = 0
PRINT A.Fire(2)
PRINT A.Sinks
A.FireLater(4)
SLEEP(1)
PRINT SEEN
PROCEDURE OnTick()
  SEEN = SEEN + 1
  EVENT_PRM[1] = "remote"
  EVENT_PRM[2] = EVENT_PRM[2] + 10
FEND
MQS
set +e
run_mqs 60 "$work/remote-events.mqs"
code=$?
set -e
kill "$host" 2>/dev/null || true
wait "$host" 2>/dev/null || true
[ "$code" -eq 0 ] || { cat "$work/host2.txt"; exit 1; }
printf 'remote,20,0\n1\n6\n' | diff - "$work/remote-events.out"
printf 'Advise\nUnadvise\n' | diff - <(tr -d '\r' <"$work/testcom.log")
