' For loops at the edges of their counters, limits that change, steps of every type.
Sub Run(label, first, last, stepBy)
  s = ""
  n = 0
  For i = first To last Step stepBy
    s = s & i & " "
    n = n + 1
    If n > 12 Then Exit For
  Next
  WScript.Echo label, TypeName(i), "[" & s & "]", i
End Sub
On Error Resume Next
Run "ints", 1, 5, 1
Run "down", 5, 1, -2
Run "empty range", 5, 1, 1
Run "doubles", 0, 1, 0.25
Run "double step on ints", 1, 3, 0.5
Run "strings", "1", "4", "1"
Run "long edge", 2147483645, 2147483647, 1
Run "long edge down", -2147483646, -2147483648, -1
Run "int edge", 32765, 32767, 1
Run "mixed", 1, 3.5, 1
Run "bool", -1, True, 1
Run "empty start", Empty, 2, 1
Run "null", Null, 2, 1
WScript.Echo "null error", Err.Number : Err.Clear
' The limit and step are read once; the counter can be changed in the body.
n = 3 : c = 0
For i = 1 To n : n = 10 : c = c + 1 : Next
WScript.Echo "limit read once", c, i
c = 0
For i = 1 To 10 : i = i + 2 : c = c + 1 : Next
WScript.Echo "counter changed", c, i
c = 0
For i = 1 To 10
  If i = 4 Then i = "8"
  c = c + 1
Next
WScript.Echo "counter became a string", c, i, TypeName(i)
' Exit For leaves only the innermost For.
s = ""
For i = 1 To 3
  For j = 1 To 3
    If j = 2 Then Exit For
    s = s & i & j & " "
  Next
  Do
    Exit Do
  Loop
  s = s & "/"
Next
WScript.Echo "nested exit", s
' For Each over an array that the body changes walks the array as it was.
a = Array(1, 2, 3) : s = ""
For Each v In a : a(2) = 30 : s = s & v & " " : Next
WScript.Echo "for each snapshot", s, a(2)
' A counter that is a global, a ByRef parameter and a field.
Sub CountInto(k) : For k = 1 To 3 : Next : End Sub
g = 0 : CountInto g : WScript.Echo "byref counter", g
Class Box : Public Count : End Class
Set bx = New Box
For Each v In Array(1, 2) : bx.Count = bx.Count + v : Next
WScript.Echo "field sum", bx.Count
