Function f(n)
  If n < 2 Then f = n Else f = f(n - 1) + f(n - 2)
End Function
