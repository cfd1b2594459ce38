' 1,000 INI look-ups on a 1,000-line INI file, each reading the file anew as
' a per-call INI read does. VBScript has no INI reader, so the file is
' scanned line by line through FileSystemObject.
Dim fso
Set fso = CreateObject("Scripting.FileSystemObject")

Function ReadIni(section, key, path)
  Dim f, line, found, eq, name, value
  section = UCase(Trim(section)) : key = UCase(Trim(key))
  found = False
  ReadIni = ""
  Set f = fso.OpenTextFile(path, 1)
  Do Until f.AtEndOfStream
    line = Trim(f.ReadLine)
    If line <> "" Then
      If Left(line, 1) = "[" And Right(line, 1) = "]" Then
        If found Then Exit Do
        found = (UCase(Trim(Mid(line, 2, Len(line) - 2))) = section)
      ElseIf found Then
        eq = InStr(line, "=")
        If eq > 0 Then
          name = Left(line, eq - 1) : value = Mid(line, eq + 1)
        Else
          name = "" : value = line
        End If
        If UCase(Trim(name)) = key Then
          value = Trim(value)
          If Len(value) >= 2 And Left(value, 1) = """" And Right(value, 1) = """" Then
            value = Mid(value, 2, Len(value) - 2)
          End If
          ReadIni = value
          Exit Do
        End If
      End If
    End If
  Loop
  f.Close
End Function

Dim s, i
s = 0
For i = 0 To 999
  s = s + CLng(ReadIni("S" & (i Mod 50 + 1), "K" & (i Mod 18 + 1), "bench.ini"))
Next
WScript.Echo s
