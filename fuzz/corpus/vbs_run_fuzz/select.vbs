Function test(v)
  Select Case v
    Case 1, 2: test = "low"
    Case 3 To 5: test = Mid("abcdef", v, 2)
    Case Is > 5: test = UCase("high")
    Case Else: test = Null
  End Select
End Function
