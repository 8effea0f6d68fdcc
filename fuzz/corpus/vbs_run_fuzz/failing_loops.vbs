Function f(n)
  On Error Resume Next
  Do While Not n Is Nothing
    Erase n
  Loop
  While Array(1) > 0 : x = x + 1 : Wend
  f = x
End Function
