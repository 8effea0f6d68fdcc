Dim total
Sub Add(n) : total = total + n End Sub
Function Twice(n) : Twice = n * 2 End Function
Class Box : Public v End Class
Class Holder
  Public Property Get Value : Value = 7 End Property
End Class
Function f(n)
  Add Twice(n)
  If n > 0 Then
    Add Twice((New Holder).Value) End If
  f = total
End Function
