' Echo joins its arguments with spaces; every subtype prints as CStr would, Null as "Null".
WScript.Echo 1, -2.5, "text", True, Null, Empty, "end"
WScript.Echo
WScript.Echo CCur(1.5), CByte(200), 1E+20, #1/2/2003#
WScript.Echo "a" & 1 + 2
WScript.StdOut.Write "no line end|"
WScript.StdOut.WriteLine "then one"
WScript.Echo TypeName(WScript.Arguments), WScript.Arguments.Count
