Function f(n)
  Select Case n
  Case 1  f = "one"
  Case 2, 3  f = "two or three"
  Case Else f = "other"
  End Select
End Function
