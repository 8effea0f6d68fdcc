Function f(n)
  f = n * 1e-94938484 + 0.5E-400 - 4.9e-324
End Function
