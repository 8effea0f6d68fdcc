Function f(n)
  On Error Resume Next
  .x = n
  f = Err.Number & Err.Description
  On Error GoTo 0
  If n > 5 Then f = .y
End Function
