' String building: 20,000 appends to the end of one text.
Dim s, i
s = ""
For i = 1 To 20000
  s = s & "item" & i & ";"
Next
WScript.Echo Len(s) & " " & Right(s, 10)
