Option Explicit
Dim a, b(3)
Const K = &HFF&
Class Counter
    Private m
    Public Default Property Get Value()
        Value = m
    End Property
    Property Let Value(v) : m = v : End Property
End Class
Set c = New Counter
c.Value = 3 ^ -2 Mod 4 & "x""y"
