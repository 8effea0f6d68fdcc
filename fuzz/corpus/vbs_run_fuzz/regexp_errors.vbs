Function f(x)
  Set r = New RegExp
  On Error Resume Next
  For Each p In Array("a(b", "*", "[z-a]", "(?<", "\", "a{2,1}", "(a+)+$", "a" & ChrW(&HD800), "")
    r.Pattern = p
    Err.Clear
    t = r.Test(String(x * 10, "a") & "!" & ChrW(&HDC00) & "a")
    s = s & Err.Number & t & ";"
  Next
  r.Pattern = "(\w+\s?)*$"
  r.Global = True
  Set m = r.Execute(String(30, "a") & "!")
  s = s & Err.Number & TypeName(m)
  Err.Clear
  y = r.Replace(Null, "x")
  s = s & Err.Number
  Err.Clear
  y = r.Execute("")(5)
  s = s & Err.Number
  f = s
End Function
