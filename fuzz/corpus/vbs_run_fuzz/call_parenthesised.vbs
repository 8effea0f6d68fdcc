Class C
  Public hits
  Public Sub m : hits = hits + 1 : End Sub
End Class
Function g(x) : g = x * 2 : End Function
Function f(n)
  Call (New C).m
  Call (((g))) (n)
  Call (g)(n)
  f = g(n)
End Function
