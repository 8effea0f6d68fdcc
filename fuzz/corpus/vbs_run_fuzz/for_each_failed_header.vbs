On Error Resume Next
For i = 1 To 3
  If i = 1 Then s = Array(1, 2, 3) Else s = i
  For Each v In s
    r = r & v
    If i = 1 Then Exit For
  Next
  For Each w In Nothing : r = r & "n" : Next
Next
WScript.Echo r, Err.Number
