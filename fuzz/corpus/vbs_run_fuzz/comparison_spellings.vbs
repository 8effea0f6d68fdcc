Function f(n)
  f = (n => 2) & (n =< 2) & (n >< 2)
  Select Case n
  Case Is => 3 : f = f & "big"
  Case Is >< 0 : f = f & "small"
  End Select
End Function
