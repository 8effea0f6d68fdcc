' + - * on every pair of subtypes the fused forms and the loop's numeric paths meet, at the
' edges where Integer becomes Long and Long becomes Double.
Dim values(13), names(13)
values(0) = 32767 : values(1) = -32768 : values(2) = 2147483647 : values(3) = -2147483648
values(4) = 1.5 : values(5) = Empty : values(6) = Null : values(7) = "12"
values(8) = True : values(9) = CByte(255) : values(10) = #1/2/2003# : values(11) = CCur(2.5)
values(12) = "x" : values(13) = 1E+308
Sub Show(label, r)
  If Err.Number <> 0 Then
    WScript.Echo label, "error", Err.Number, Err.Description
    Err.Clear
  Else
    WScript.Echo label, TypeName(r), r
  End If
End Sub
On Error Resume Next
For i = 0 To 13
  For j = 0 To 13
    a = values(i) : b = values(j)
    r = Empty : r = a + b : Show i & "+" & j, r
    r = Empty : r = a - b : Show i & "-" & j, r
    r = Empty : r = a * b : Show i & "*" & j, r
  Next
Next
' Literals on either side, and the result stored back into an operand.
x = 32767 : x = x + 1 : Show "x+1", x
x = 32767 : x = 1 + x : Show "1+x", x
x = -32768 : x = x - 1 : Show "x-1", x
x = 2147483647 : x = x + 1 : Show "long+1", x
x = -2147483648 : x = x - 1 : Show "long-1", x
x = 181 : x = x * 181 : Show "181*181", x
x = 46341 : x = x * 46341 : Show "46341*46341", x
x = 255 : y = CByte(1) : x = y + y : Show "byte+byte", x
x = "5" : x = x + 1 : Show "string+1", x
x = "5" : x = x - "2" : Show "string-string", x
x = "5" : x = x + "2" : Show "string+string", x
x = Null : x = x + 1 : Show "null+1", x
x = Empty : x = x + Empty : Show "empty+empty", x
x = 1E+308 : x = x + x : Show "double overflow", x
x = 1E+308 : x = x * 10 : Show "double overflow *", x
x = 0.1 : x = x + 0.2 : Show "0.1+0.2", x
x = 7 : y = 2.5 : z = x - y : Show "7-2.5", z
x = 7 : z = x - -8 : Show "7--8", z
' The same sums pushed on the stack as part of larger expressions.
x = 32767 : Show "(x+1)*2", (x + 1) * 2
x = 2147483647 : Show "(x+1)-1", (x + 1) - 1
x = "abc" : Show "x+1 in expr", (x + 1) & "!"
' A Double updated in place from each subtype, both ways, and past the largest Double.
For j = 0 To 13
  b = values(j)
  x = 1.5 : x = x + b : Show "1.5+=" & j, x
  x = 1.5 : x = x - b : Show "1.5-=" & j, x
  x = -1E+308 : x = x - b : Show "-1E308-=" & j, x
Next
' The same inside a procedure: a local, a ByRef parameter (given a variable and a value) and
' a name that becomes a global only after the procedure was compiled.
Function Accumulate(total, n)
  Dim k, s
  s = 0.5
  For k = 1 To n : s = s + k : total = total - k : g = g + 0.25 : Next
  Accumulate = s
End Function
g = 1.5 : t = 2.5
Show "accumulate", Accumulate(t, 4)
Show "byref total", t
Show "by value", Accumulate(2.5, 3)
Show "global", g
