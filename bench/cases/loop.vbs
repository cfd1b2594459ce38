' Counting loop: one million additions to a variable.
Dim s, i
s = 0
For i = 1 To 1000000
  s = s + i
Next
WScript.Echo s
