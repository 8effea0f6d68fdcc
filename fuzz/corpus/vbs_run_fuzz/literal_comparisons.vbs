Function f(n)
  On Error Resume Next
  r = ("True" = True) & ("010" = 10) & ("010" = n) & (n = "3")
  r = r & ("abc" = 5)
  r = r & Err.Number & (-n ^ 2) & RGB(n, 300, 0) & ScriptEngine & ScriptEngineMajorVersion
  Set o = Nothing
  o.Go
  f = r & Err.Number
End Function
