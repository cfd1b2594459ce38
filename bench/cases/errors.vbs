' Caught errors: 100,000 remainders by zero, each caught. VBScript has no
' TRY block; On Error Resume Next with a look at Err is its way to catch.
' (Wine's engine gives this error a number but no description, so the number
' is what is kept.)
Dim n, i, x, z, code
n = 0 : z = 0 : code = 0
On Error Resume Next
For i = 1 To 100000
  x = i Mod z
  If Err.Number <> 0 Then
    n = n + 1
    code = Err.Number
    Err.Clear
  End If
Next
On Error GoTo 0
If code <> 0 Then
  WScript.Echo n & " 1"
Else
  WScript.Echo n & " 0"
End If
