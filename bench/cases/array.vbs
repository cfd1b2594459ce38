' Array: 100,000 element writes, then 100,000 reads.
Dim a(99999), s, i
For i = 0 To 99999
  a(i) = i * 2
Next
s = 0
For i = 0 To 99999
  s = s + a(i)
Next
WScript.Echo s
