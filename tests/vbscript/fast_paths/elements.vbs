' One-subscript element reads and stores, with subscripts of every kind.
Dim a(5), m(2, 2)
For i = 0 To 5 : a(i) = i * 10 : Next
For i = 0 To 2 : For j = 0 To 2 : m(i, j) = i & j : Next : Next
Sub Show(label, r)
  If Err.Number <> 0 Then
    WScript.Echo label, "error", Err.Number
    Err.Clear
  Else
    WScript.Echo label, r
  End If
End Sub
On Error Resume Next
For Each s In Array(0, 1, 2.5, 3.5, 1.5, "2", "4.5", True, False, Empty, Null, -1, 6, 2147483647, "x", CByte(3), CCur(4.5))
  r = "none" : r = a(s) : Show "a(" & TypeName(s) & " " & s & ")", r
  v = s : r = "none" : r = a(v) : Show "a(v)", r
Next
r = "none" : r = m(1) : Show "m(1)", r
r = "none" : r = m(1, 2) : Show "m(1,2)", r
r = "none" : r = m(2.5, 0.5) : Show "m(2.5,0.5)", r
x = 5 : r = "none" : r = x(0) : Show "scalar(0)", r
e = Empty : r = "none" : r = e(0) : Show "empty(0)", r
' Stores through one subscript.
For Each s In Array(0, 2.5, "3", Null, 9, -1)
  a(s) = "set" : Show "a(" & s & ")=", Join(a, ",")
Next
x = 5 : x(1) = 2 : Show "scalar(1)=", x
' An array inside a variable that changes between reads.
b = Array(1, 2, 3)
c = b : c(0) = 100 : Show "copy", b(0) & "/" & c(0)
b = Array("p", "q") : i = 1 : Show "b(i)", b(i)
ReDim d(3) : d(3) = "last" : ReDim Preserve d(4) : Show "d(3)", d(3)
' Elements of arrays held in arrays.
outer = Array(Array(1, 2), Array(3, 4))
Show "outer(1)(0)", outer(1)(0)
inner = outer(0) : inner(1) = 20 : Show "outer(0)(1)", outer(0)(1)
' Dictionaries read like arrays.
Set d2 = CreateObject("Scripting.Dictionary")
d2.Add 1, "one" : d2.Add "k", "kay"
Show "dict(1)", d2(1)
k = "k" : Show "dict(k)", d2(k)
Show "dict(missing)", d2("missing")
