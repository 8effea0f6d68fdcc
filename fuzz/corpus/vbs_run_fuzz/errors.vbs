Dim a(3), s
On Error Resume Next
For i = 0 To 5
  a(i) = i * 2 : s = s & a(i)
Next
x = 1 / 0
If Err.Number <> 0 Then s = s & Err.Description
