' Calls with and without argument places, ByRef through fused instructions, nested calls.
Function Add1(ByVal n) : n = n + 1 : Add1 = n : End Function
Function Inc(n) : n = n + 1 : Inc = n : End Function
Sub Swap(a, b) : t = a : a = b : b = t : End Sub
Function Sum3(a, b, c) : Sum3 = a + b + c : End Function
Function Fact(n)
  If n <= 1 Then Fact = 1 Else Fact = n * Fact(n - 1)
End Function
Function Fib(n)
  If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
Sub Show(label, r)
  If Err.Number <> 0 Then
    WScript.Echo label, "error", Err.Number
    Err.Clear
  Else
    WScript.Echo label, TypeName(r), r
  End If
End Sub
On Error Resume Next
x = 1 : r = Inc(x) : Show "inc", x & "/" & r
x = 1 : r = Inc((x)) : Show "inc (x)", x & "/" & r
x = 1 : r = Add1(x) : Show "add1", x & "/" & r
x = 1 : Inc x : Show "inc stmt", x
x = 1 : Inc (x) : Show "inc (stmt)", x
x = 1 : Call Inc(x) : Show "call inc", x
x = 1 : y = 2 : Swap x, y : Show "swap", x & y
r = Sum3(1, 2, 3) : Show "sum3", r
r = Sum3(32767, 1, 0) : Show "sum3 int", r
r = Sum3("1", 2, 3) : Show "sum3 str", r
r = Sum3(1, Null, 3) : Show "sum3 null", r
r = Fact(12) : Show "fact 12", r
r = Fact(13) : Show "fact 13", r
r = Fact(20) : Show "fact 20", r
r = Fib(15) : Show "fib", r
r = Add1(Add1(Add1(32766))) : Show "nested", r
r = Inc(Inc(x)) : Show "inc inc", r
' A ByRef parameter is the caller's variable in every fused form.
Sub Work(p, q)
  p = p + 1
  q = p * 2
  If p > q Then p = -1
  s = p & ":" & q
  p = p
  WScript.Echo "work", p, q, s
End Sub
a = 5 : b = 0 : Work a, b : Show "work a", a : Show "work b", b
a = 32767 : b = 0 : Work a, b : Show "work int", a & "/" & b
Dim arr(2) : arr(1) = 10 : Work arr(1), arr(2) : Show "work elements", Join(arr, ",")
a = "s" : Work a, b : Show "work string", a
' Wrong argument counts and undefined procedures, by value and by reference.
r = Sum3(1, 2) : Show "too few", r
Call Undefined(1) : Show "undefined", 0
Swap 1, 2 : Show "swap literals", 0
' The by-value shortcut and argument places side by side in one expression.
x = 2 : r = Sum3(Inc(x), x, Add1(x)) : Show "mixed places", r & "/" & x
