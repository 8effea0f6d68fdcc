Sub Report(e) : WScript.Echo TypeName(e), e.Number, e.Source : End Sub
On Error Resume Next
Err.Raise &h8007000E
Report Err
Err.Raise 1001, "Orders", "bad", "orders.chm", 7
WScript.Echo Err.HelpFile, Err.HelpContext, Err + 1
Set e = Err
e.Clear
Err.Raise 0
WScript.Echo e Is Err, Err, Err.Description
x = Eval("1 +")
WScript.Echo Err.Source
Err.HelpContext = "x"
