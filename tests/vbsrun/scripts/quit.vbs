Sub Finish(code)
    On Error Resume Next
    WScript.Echo "finishing"
    WScript.Quit code
    WScript.Echo "not after Quit in a Sub"
End Sub
For i = 1 To 10
    WScript.Echo i
    If i = 2 Then Finish 3
Next
WScript.Echo "not after the loop"
