Dim s, log
Function Grab() : s = "grabbed" : Grab = "!" : End Function
Function Noisy(v) : log = log & "[" & v & "]" : Noisy = v : End Function
Class Counter
  Public n
  Public Default Property Get Value : n = n + 1 : Value = n : End Property
End Class
Function f(k)
  On Error Resume Next
  s = "a" : s = s & Grab() & k
  s = s & Array(1) & Noisy("late")
  Set c = New Counter
  s = s & c & c & Noisy(k)
  Set t = New Counter
  t = t & "!"
  f = s & t & log
End Function
