' Builtin calls: 100,000 rounds of Mid, Len and InStr.
Dim t, n, i
t = "The quick brown fox jumps over the lazy dog"
n = 0
For i = 0 To 99999
  n = n + Len(Mid(t, i Mod 40 + 1, 3)) + InStr(t, "fox")
Next
WScript.Echo n
