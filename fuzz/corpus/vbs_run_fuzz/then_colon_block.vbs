Function f(n)
  If n > 1 Then :
    f = "many"
  Else :
    f = "few"
  End If
End Function
