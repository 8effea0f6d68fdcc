Dim log
Class Inner
  Private Sub Class_Terminate : log = log & "I-" : End Sub
End Class
Class Outer
  Public part
  Private Sub Class_Initialize : Set part = New Inner : End Sub
End Class
Function Reader() : Reader = TypeName(shared) : End Function
Function Writer() : shared = 5 : Writer = shared : End Function
Function f(n)
  Set o = New Outer
  Set o.part = Nothing
  Set d = CreateObject("Scripting.Dictionary")
  d.Add "k", New Inner
  d.RemoveAll
  f = log & Writer() & Reader() & TypeName(Eval("o"))
End Function
Function test(n)
  Dim a()
  On Error Resume Next
  x = UBound(a) : y = a(0) : z = a()
  For Each v In a : w = w & v : Next
  ReDim Preserve a(n) : Erase a
  test = TypeName(a) & Err.Number
End Function
