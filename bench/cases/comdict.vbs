' COM member calls: 100,000 keyed reads from a Scripting.Dictionary.
Dim d, s, i
Set d = CreateObject("Scripting.Dictionary")
d.Add "k", 3
s = 0
For i = 1 To 100000
  s = s + d.Item("k")
Next
WScript.Echo s
