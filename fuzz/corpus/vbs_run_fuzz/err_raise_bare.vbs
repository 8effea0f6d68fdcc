Function f(n)
  On Error Resume Next
  Err.Raise
  f = Err.Number
  On Error GoTo 0
  If n > 5 Then Err.Raise
End Function
