Class Money
 Private m_v
 Public Default Property Get Amount : Amount = m_v : End Property
 Public Property Let Amount(v) : m_v = v : End Property
End Class
Dim a(3)
Sub Bump(x) : x = x + 1 : ReDim Preserve b(2) : End Sub
Function Calc(n)
 Dim t : t = n * 2
 Execute "t = t + 1"
 Calc = Eval("t + n")
End Function
Set m = New Money : m.Amount = 5
a(1) = m + 1
Bump a(1)
Do While a(1) < 10 : a(1) = a(1) + Calc(m) : Loop
If m > 3 Then x = m & "!"
