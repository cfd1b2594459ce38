' Join of a 1,000,000-element array into one text, Split of that text back
' into an array, and Join of that array. Some VBScript engines (Wine's among
' them) lack Join; the script then says so instead of timing a stand-in.
Dim a(999999), i, t, b, t2, probe
On Error Resume Next
probe = Join(Array("a", "b"), ",")
If Err.Number <> 0 Or probe <> "a,b" Then
  WScript.Echo "n/a: Join is not available in this VBScript engine (error " & Err.Number & ": " & Err.Description & ")"
  WScript.Quit 0
End If
On Error GoTo 0
For i = 0 To 999999
  a(i) = i
Next
t = Join(a, ",")
b = Split(t, ",")
t2 = Join(b, ";")
WScript.Echo Len(t) & " " & (UBound(b) + 1) & " " & b(999999) & " " & Len(t2)
