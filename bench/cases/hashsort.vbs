' Sorted table: 50,000 keyed writes, then every value read by its position in
' key order. VBScript has neither a sorted dictionary nor a sort function, so
' the keys are sorted once by a hand-written quicksort (middle pivot).
Sub QuickSort(a, lo, hi)
  Dim i, j, p, t
  Do While lo < hi
    i = lo : j = hi
    p = a((lo + hi) \ 2)
    Do While i <= j
      Do While a(i) < p : i = i + 1 : Loop
      Do While a(j) > p : j = j - 1 : Loop
      If i <= j Then
        t = a(i) : a(i) = a(j) : a(j) = t
        i = i + 1 : j = j - 1
      End If
    Loop
    If j - lo < hi - i Then
      QuickSort a, lo, j
      lo = i
    Else
      QuickSort a, i, hi
      hi = j
    End If
  Loop
End Sub

Dim h, s, i, keys
Set h = CreateObject("Scripting.Dictionary")
For i = 1 To 50000
  h("K" & i) = i
Next
keys = h.Keys
QuickSort keys, 0, UBound(keys)
s = 0
For i = 0 To 49999
  s = s + h(keys(i))
Next
WScript.Echo h.Count & " " & keys(0) & " " & keys(49999) & " " & s
