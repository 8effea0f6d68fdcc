Sub main(x)
  Do While True
    x = x + 1
  Loop
End Sub
