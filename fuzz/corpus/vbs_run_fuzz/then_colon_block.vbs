Function f(n)
  If n > 1 Then :
    f = "many"
  Else :
    f = "few"
  End If
  If n > 2 Then : f = f & " more" : Else : f = f & " less"
End Function
