Class Node
  Public Value, Next_
  Private Sub Class_Initialize(): Value = 0: End Sub
  Private Sub Class_Terminate(): Value = -1: End Sub
  Public Property Get Twice(): Twice = Value * 2: End Property
  Public Property Let Twice(v): Value = v / 2: End Property
  Public Default Function Show(): Show = "n" & Value: End Function
End Class
Function f(x)
  Set d = CreateObject("Scripting.Dictionary")
  Set n = New Node
  With n
    .Twice = 10
    d.Add "a", n
    d("b") = .Value
  End With
  For Each k In d.Keys: s = s & k: Next
  Set g = GetRef("f")
  ExecuteGlobal "Function h(): h = 1: End Function"
  f = Eval("h() + x") & n() & d.Count
  Set n = Nothing
  Erase arr
End Function
