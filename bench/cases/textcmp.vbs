' Text comparisons: 100,000 rounds of an equality and an ordering test.
' The maqo script compares without regard to letter case, so both sides are
' upper-cased here.
Dim w, e, l, g, i, x
w = Array("apple", "banana", "Cherry", "apricot", "APPLE")
e = 0 : l = 0 : g = 0
For i = 0 To 99999
  x = UCase(w(i Mod 5))
  If x = "APPLE" Then
    e = e + 1
  ElseIf x < "BANANA" Then
    l = l + 1
  Else
    g = g + 1
  End If
Next
WScript.Echo e & " " & l & " " & g
