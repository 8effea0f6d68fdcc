Dim counter
counter = 40
Function Twice(n)
    Twice = n * 2
End Function
WScript.Echo WScript.ScriptName
