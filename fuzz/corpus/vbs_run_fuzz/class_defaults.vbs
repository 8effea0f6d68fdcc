Dim dyn()
Class Items
  Public Default Function Item(i) : Item = "item" & i : End Function
  Function ViaMe() : ViaMe = Me(3) & Me("x") : End Function
End Class
Class Shifty
  Public Default Property Get Value : ReDim dyn(0) : Value = 3 : End Property
End Class
Class Sink
  Public got
  Property Let Target(v) : got = TypeName(v) : End Property
End Class
Function Hello() : Hello = "hi" : End Function
On Error Resume Next
Set o = New Items : WScript.Echo o.ViaMe()
Set s = New Sink : s.Target = o : WScript.Echo s.got
Set r = GetRef("Hello") : x = r : WScript.Echo x, r(), Len(r)
ReDim dyn(5) : Set k = New Shifty : WScript.Echo dyn(k), Err.Number
WScript.Echo UCase(k), CStr(k), dyn(k - 3)
