' s = s & ... appends in place; the result and the failures must be those of plain &.
Sub Show(label, r)
  If Err.Number <> 0 Then
    WScript.Echo label, "error", Err.Number, TypeName(r), r
    Err.Clear
  Else
    WScript.Echo label, TypeName(r), r
  End If
End Sub
On Error Resume Next
s = "" : For i = 1 To 5 : s = s & i & "," : Next : Show "numbers", s
s = 5 : s = s & 6 : Show "number start", s
s = Empty : s = s & Empty : Show "empty", s
s = Null : s = s & Null : Show "null null", s
s = Null : s = s & "x" : Show "null x", s
s = "a" : s = s & Null & "b" : Show "a null b", s
s = True : s = s & False : Show "booleans", s
s = "d" : s = s & #1/2/2003# : Show "date", s
s = "c" : s = s & CCur(1.25) & 1.5 & CByte(7) : Show "mixed", s
' A failing operand leaves the variable as it was.
s = "keep" : s = s & "x" & Array(1) : Show "array operand", s
Set o = CreateObject("Scripting.Dictionary")
s = "keep" : s = s & o : Show "object operand", s
s = Array(1) : s = s & "x" : Show "array target", TypeName(s)
' An operand that mentions the variable sees its old value.
s = "ab" : s = s & s : Show "self", s
s = "ab" : s = s & Len(s) & s : Show "len self", s
s = "ab" : s = s & UCase(s) : Show "ucase self", s
' Shared strings are not changed through another variable.
s = "base" : t = s : s = s & "+" : Show "s", s : Show "t", t
a = Array("x", "y") : s = a(0) : s = s & "!" : Show "a(0)", a(0) : Show "s2", s
' Appends to parameters, globals and array elements.
Sub AppendTo(p) : p = p & "p" : End Sub
g = "g" : AppendTo g : Show "byref", g
Dim arr(1) : arr(0) = "e" : AppendTo arr(0) : Show "element", arr(0)
Function Twice(x) : Twice = x & x : End Function
s = "t" : s = s & Twice(s) : Show "call self", s
' Operands whose code changes the variable, or that run in the language's order.
Dim log
Function Noisy(v) : log = log & "[" & v & "]" : Noisy = v : End Function
Function Grab() : s = "grabbed" : Grab = "!" : End Function
s = "a" : s = s & Grab() : Show "operand changed it", s
s = "a" : s = s & Grab() & "?" : Show "operand changed it, two", s
log = "" : s = "a" : s = s & Array(1) & Noisy("late") : Show "failure order", s & " " & log
log = "" : s = "a" : s = s & Noisy("x") & Noisy("y") : Show "call order", s & " " & log
Class Counter
  Public n
  Public Default Property Get Value : n = n + 1 : log = log & "<" & n & ">" : Value = n : End Property
End Class
Set c = New Counter : c.n = 0
log = "" : s = "i" : s = s & c & c : Show "instances", s & " " & log
Set s = New Counter : s.n = 10
log = "" : s = s & "!" : Show "instance target", s & " " & log
