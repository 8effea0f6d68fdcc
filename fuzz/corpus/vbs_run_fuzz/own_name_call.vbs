Dim depth, limit
Function Deep()
  depth = depth + 1
  If depth < limit Then Deep
  Deep = depth
End Function
Function f(n)
  limit = n
  f = Deep()
End Function
