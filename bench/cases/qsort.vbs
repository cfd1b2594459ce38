' Sort of 1,000,000 pseudo-random numbers (a multiplicative generator whose
' products stay exact in doubles). VBScript's Mod works on 32-bit integers,
' so the remainder is taken in doubles; it has no sort function, so the
' array is sorted by a hand-written quicksort (middle pivot).
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

Const M = 2147483647
Dim a(999999), x, i
x = 42
For i = 0 To 999999
  x = x * 16807
  x = x - Int(x / M) * M
  a(i) = x
Next
QuickSort a, 0, 999999
WScript.Echo a(0) & " " & a(500000) & " " & a(999999)
