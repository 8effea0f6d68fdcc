Class P : Public x, y : End Class
Function f(n)
  Set p = New P
  With p
    .x = n : _
    .y = n + 1
    f = .x + _
      .y
  End With
End Function
