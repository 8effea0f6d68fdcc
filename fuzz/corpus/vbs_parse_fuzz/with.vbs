On Error Resume Next
With obj.items(1, , 2)
  .name = [odd name] _
    & #1/2/2003#
  .run .5, "s"
End With
For Each x In y : Call z(x) : Next
While Not a Is Nothing : Erase b : Wend
On Error GoTo 0
