Function f(n)
  If n > 2 Then f = 1 Else f = 2 End If
  If n Then f = f + 1 End If
End Function
