Function f(x)
  Set r = New RegExp
  r.Pattern = "(\w+)@(\w+)(\.com)?"
  r.Global = True
  r.IgnoreCase = x > 1
  For Each m In r.Execute("bob@example ANN@Site.com 삼성@전자")
    s = s & m.FirstIndex & ":" & m.Length & "=" & m & "[" & m.SubMatches.Count
    For Each g In m.SubMatches: s = s & "|" & g & IsEmpty(g): Next
    s = s & "]"
  Next
  s = s & r.Replace("a@b c@d.com", "$2 $1 $& $` $' $$ $3 $9 $")
  r.Pattern = "x*"
  s = s & r.Replace("abc", "-") & r.Execute("abc").Count
  r.Multiline = True
  r.Pattern = "^\s*(\d+)$"
  s = s & r.Test("one" & vbCrLf & " 42" & vbLf) & r.Execute("1" & vbCr & "22")(1).SubMatches(0)
  r.Global = False
  s = s & r.Replace("7" & vbLf & "8", "<$1>") & r.Pattern
  f = s
End Function
