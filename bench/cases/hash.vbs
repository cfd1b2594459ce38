' Dictionary in insertion order: 50,000 keyed writes, then 50,000 keyed reads.
Dim h, s, i
Set h = CreateObject("Scripting.Dictionary")
For i = 1 To 50000
  h("K" & i) = i
Next
s = 0
For i = 1 To 50000
  s = s + h("K" & i)
Next
WScript.Echo h.Count & " " & s
