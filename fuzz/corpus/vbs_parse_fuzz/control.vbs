Function f(ByVal n, ByRef acc())
  If n <= 1 Then f = 1 Else f = n * f(n - 1)
End Function
For i = 1 To 10 Step 2
  Select Case i
  Case 1, 3 To 5, Is > 8
    Do While i < 3 : i = i + 1 : Loop
  Case Else
    Exit For
  End Select
Next
