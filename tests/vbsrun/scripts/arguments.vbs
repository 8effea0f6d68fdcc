Set args = WScript.Arguments
WScript.Echo args.Count, args.Length
WScript.Echo args(0) & "|" & args.Item(1) & "|" & WScript.Arguments(2)
For Each a In args
    WScript.Echo "[" & a & "]"
Next
On Error Resume Next
x = args(3)
WScript.Echo "past the end:", Err.Number
