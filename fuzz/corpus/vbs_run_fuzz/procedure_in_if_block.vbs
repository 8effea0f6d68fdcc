If False Then
  Sub Never : WScript.Echo "never" : End Sub
ElseIf True Then
  If True Then
    Function Inner(n) : Inner = n + 1 : End Function
  End If
End If
Function f(n)
  f = Inner(n)
End Function
