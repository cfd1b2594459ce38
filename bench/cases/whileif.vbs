' While loop of 200,000 rounds around an If / ElseIf / Else chain.
Dim i, a, b, c, d
i = 0 : a = 0 : b = 0 : c = 0 : d = 0
Do While i < 200000
  i = i + 1
  If i Mod 4 = 0 Then
    a = a + 1
  ElseIf i Mod 4 = 1 Then
    b = b + 1
  ElseIf i Mod 4 = 2 Then
    c = c + 1
  Else
    d = d + i
  End If
Loop
WScript.Echo a & " " & b & " " & c & " " & d
