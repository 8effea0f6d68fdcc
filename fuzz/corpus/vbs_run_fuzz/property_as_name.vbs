Function f(n)
  Dim Property
  Property = n
  Property = Property + 1
  f = Property
End Function
