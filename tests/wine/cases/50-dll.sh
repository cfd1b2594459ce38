# DEF_DLL calls for real: the test DLL (every argument and return type,
# structures with and without PACK, arrays and buffers filled in place,
# VARIANT and SAFEARRAY results, cdecl varargs) and a few system functions,
# 1,000 cdecl calls that must leave the stack balanced, and two script
# threads loading DLLs at once.
set -e
needs_wine32 "DEF_DLL calls go through the 32-bit call thunk"
cd "$MAQO_WIN_BIN/.."
work=$(mktemp -d "$MAQO_WINE_OUT/dll.XXXXXX")
cat >"$work/dll.mqs" <<'MQS'
DEF_DLL AddInts(INT, INT):INT:testdll.dll
DEF_DLL CdeclAdd(INT, INT):INT:testdll.dll
DEF_DLL MixFloats(FLOAT, DOUBLE, INT, DOUBLE):DOUBLE:testdll.dll
DEF_DLL HalfOf(FLOAT):FLOAT:testdll.dll
DEF_DLL ExtendedTwice(EXTENDED):EXTENDED:testdll.dll
DEF_DLL BigNumber():LONGLONG:testdll.dll
DEF_DLL AddLongLong(LONGLONG, LONGLONG):LONGLONG:testdll.dll
DEF_DLL WordEcho(WORD):WORD:testdll.dll
DEF_DLL DwordEcho(DWORD):DWORD:testdll.dll
DEF_DLL ByteEcho(BYTE):BYTE:testdll.dll
DEF_DLL NextChar(CHAR):CHAR:testdll.dll
DEF_DLL NextWideChar(WCHAR):WCHAR:testdll.dll
DEF_DLL Greeting():STRING:testdll.dll
DEF_DLL WideGreeting():WSTRING:testdll.dll
DEF_DLL NullString():PCHAR:testdll.dll
DEF_DLL NullWide():PWCHAR:testdll.dll
DEF_DLL AnsiLength(STRING):INT:testdll.dll
DEF_DLL WideLength(PWCHAR):INT:testdll.dll
DEF_DLL IncrementAll(INT[], INT):testdll.dll
DEF_DLL ScaleDoubles(DOUBLE[], INT):testdll.dll
DEF_DLL FillAbcd(VAR STRING):testdll.dll
DEF_DLL FillWide(VAR WSTRING):testdll.dll
DEF_DLL OutValues(VAR INT, VAR DOUBLE, VAR LONGLONG, VAR FLOAT, VAR WORD, VAR BYTE):testdll.dll
DEF_DLL ByteIntLayout({BYTE, INT}):INT:testdll.dll
DEF_DLL PackedByteIntLayout({BYTE, INT}):INT:testdll.dll PACK
DEF_DLL NestedSum({INT, {WORD, BYTE}, DOUBLE}):INT:testdll.dll
DEF_DLL FaceLength({INT, STRING}):INT:testdll.dll
DEF_DLL MakeVariant(INT):VARIANT:testdll.dll
DEF_DLL VariantKind(VARIANT):INT:testdll.dll
DEF_DLL VariantNumber(VARIANT):DOUBLE:testdll.dll
DEF_DLL SafeArrayLength(SAFEARRAY):INT:testdll.dll
DEF_DLL MakeArray(INT):SAFEARRAY:testdll.dll
DEF_DLL MakeGrid():SAFEARRAY:testdll.dll
DEF_DLL DoubleArray(VAR SAFEARRAY):testdll.dll
DEF_DLL ReplaceArray(VAR SAFEARRAY):testdll.dll
DEF_DLL SumInts(INT, INT, INT, INT):INT:testdll.dll
DEF_DLL Missing():INT:testdll.dll
DEF_DLL MulDiv(INT, INT, INT):INT:kernel32
DEF_DLL GetTickCount():DWORD:kernel32
DEF_DLL lstrlenW(WSTRING):INT:kernel32
DEF_DLL lstrlenA(STRING):INT:kernel32.dll
DEF_DLL wsprintfW(VAR WSTRING, WSTRING, INT, WSTRING):INT:user32
DEF_DLL MessageBeep(UINT):BOOL:user32
DEF_DLL SetCursorPos(INT, INT):BOOL:user32
DEF_DLL GetCursorPos({LONG,LONG}):BOOL:user32
DEF_DLL sprintf(VAR STRING, STRING, INT):INT:msvcrt.dll
DEF_DLL PathIsRelativeW(WSTRING):BOOL:shlwapi.dll

PRINT AddInts(2, 40)
PRINT CdeclAdd(-5, 3)
PRINT MixFloats(1.5, 2.25, 3, 0.125)
PRINT HalfOf(5)
PRINT ExtendedTwice(1.25)
PRINT BigNumber()
PRINT AddLongLong(15000000000, 1)
PRINT WordEcho(65535) + "," + WordEcho(65536)
PRINT DwordEcho(4294967295)
PRINT ByteEcho(255)
PRINT NextChar("A") + NextWideChar("あ")
PRINT Greeting() + "|" + WideGreeting()
PRINT "[" + NullString() + "][" + NullWide() + "]"
PRINT AnsiLength("hello") + "," + AnsiLength(NULL) + "," + WideLength("あいう")

DIM A[] = 1, 2, 3
IncrementAll(A, 3)
PRINT A[0] + "," + A[1] + "," + A[2]
IncrementAll(A[1], 2)
PRINT A[0] + "," + A[1] + "," + A[2]
DIM D[] = 0.5, 1.25
ScaleDoubles(D, 2)
PRINT D[0] + "," + D[1]
S = "        "
FillAbcd(S)
PRINT S
W = "...."
FillWide(W)
PRINT W
I = 0; DB = 0; LL = 0; F = 0; WD = 0; B = 0
OutValues(I, DB, LL, F, WD, B)
PRINT I + "," + DB + "," + LL + "," + F + "," + WD + "," + B

B = 3; N = 5
PRINT ByteIntLayout(B, N)
PRINT B + "," + N
B = 3; N = 5
PRINT PackedByteIntLayout(B, N)
PRINT B + "," + N
X1 = 10; X2 = 20; X3 = 30; X4 = 40.75
PRINT NestedSum(X1, X2, X3, X4)
PRINT X1 + "," + X2 + "," + X3 + "," + X4
H = 12; FACE = "Courier1"
PRINT FaceLength(H, FACE)
PRINT H + "," + FACE

PRINT MakeVariant(0) + "," + MakeVariant(4)
PRINT VariantKind("x") + "," + VariantKind(5) + "," + VariantKind(2.5)
PRINT VariantNumber(7) + "," + VariantNumber(0.5)
DIM Z[] = 1, 2, 3, 4
PRINT SafeArrayLength(Z)
R = MakeArray(4)
PRINT LENGTH(R) + ":" + R[0] + "," + R[1] + "," + R[2] + "," + R[3]
G = MakeGrid()
PRINT G[0][0] + "," + G[0][2] + "," + G[1][0] + "," + G[1][2]
DIM Q[] = 1, 2, 3
DoubleArray(Q)
PRINT Q[0] + "," + Q[1] + "," + Q[2]
W = SPLIT("5,6", ",")
ReplaceArray(W)
PRINT W[0][0] + "," + W[1][0]
PRINT SumInts(3, 10, 20, 30)

TRY
  Missing()
EXCEPT
  PRINT POS("Not DLL Function: Missing", TRY_ERRMSG) > 0
ENDTRY

PRINT MulDiv(100, 2, 3)
PRINT lstrlenW("あいう") + "," + lstrlenA("hello")
WS = "                    "
PRINT wsprintfW(WS, "%d-%s", 42, "x")
PRINT WS
MessageBeep(0)
SetCursorPos(123, 45)
CX = 0; CY = 0
PRINT GetCursorPos(CX, CY) <> 0
PRINT CX + "," + CY
T1 = GetTickCount()
G1 = GETTIME()
SLEEP(1.5)
T2 = GetTickCount()
G2 = GETTIME()
PRINT ABS((T2 - T1) / 1000 - (G2 - G1)) <= 1

BUF = "            "
FOR K = 0 TO 999
  CNT = sprintf(BUF, "%d", K)
NEXT
PRINT BUF + "/" + CNT
PRINT AddInts(1, 1)

PUBLIC DONE1 = 0, DONE2 = 0, SUM1 = 0, SUM2 = 0
THREAD Worker(1)
THREAD Worker(2)
FOR K = 1 TO 300
  IF DONE1 AND DONE2 THEN BREAK
  SLEEP(0.1)
NEXT
PRINT DONE1 + "," + DONE2 + "," + SUM1 + "," + SUM2

PROCEDURE Worker(N)
  TOTAL = 0
  FOR J = 1 TO 200
    TOTAL = TOTAL + AddInts(J, 0) + PathIsRelativeW("a\b") + lstrlenW("ab")
  NEXT
  IF N = 1 THEN
    SUM1 = TOTAL
    DONE1 = 1
  ELSE
    SUM2 = TOTAL
    DONE2 = 1
  ENDIF
FEND
MQS
run_mqs 180 "$work/dll.mqs"
cat >"$work/want.txt" <<'WANT'
42
-2
9.125
2.5
2.5
15000000000
15000000001
65535,0
4294967295
255
Bぃ
hello|wide あ
[][]
5,-1,3
2,3,4
2,4,5
5,12.5
ABCD    
WXYZ
-7,2.25,-15000000000,0.5,65535,200
300584
9,4242
300551
8,4343
100
1,2,3,4.5
8
16,Tahoma
variant text,12
8,3,5
7,0.5
4
4:0,1,4,9
0,2,10,12
2,4,6
7,8
60
True
67
3,5
4
42-x
True
123,45
True
999/3
2
1,1,20700,20700
WANT
diff "$work/want.txt" "$work/dll.out"
