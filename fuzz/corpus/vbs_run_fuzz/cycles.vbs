Dim keep, log
Class Node
  Public Name, Other, Kids
  Private Sub Class_Terminate()
    log = log & Name
    If Name = "p" Then Set keep = Me
    Set Other = Nothing
  End Sub
End Class
Function Make(n)
  Set Make = New Node
  Make.Name = n
End Function
Function f(x)
  Dim p, c, d, i
  Set p = Make("p")
  Set d = CreateObject("Scripting.Dictionary")
  For i = 1 To x
    Set c = Make("c" & i)
    Set c.Other = p
    d.Add c.Name, c
  Next
  Set p.Kids = d
  p.Other = Array(p, Array(d))
  Set c = Make("self")
  Set c.Other = c
  f = d.Count & log
End Function
