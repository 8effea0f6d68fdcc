Class Runner
  Public count
  Public Default Sub Go : count = count + 1 : End Sub
End Class
Function f(n)
  Set r = New Runner
  r
  r
  On Error Resume Next
  n
  f = r.count & Err.Number
End Function
