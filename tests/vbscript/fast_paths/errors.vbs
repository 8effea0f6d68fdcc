' On Error Resume Next inside fused statements: what ran, what did not, where it resumed.
On Error Resume Next
x = 1 : x = "a" + 1 : WScript.Echo "x after failed add", x, Err.Number : Err.Clear
x = 1 : y = "a" : x = y + 1 : WScript.Echo "x after failed fused add", x, Err.Number : Err.Clear
x = 1 : y = Array(1) : x = y * 2 : WScript.Echo "x after failed fused multiply", x, Err.Number : Err.Clear
x = 1 : y = "a" : x = y - x : WScript.Echo "x after failed fused subtract", x, Err.Number : Err.Clear
z = 1E+308 : w = z + z : WScript.Echo "overflow", TypeName(w), Err.Number : Err.Clear
' A failing condition resumes into the statement's body.
y = Array(1)
If y > 1 Then WScript.Echo "if body after failed compare", Err.Number Else WScript.Echo "else"
Err.Clear
Dim arr(2)
If arr(5) = 1 Then WScript.Echo "if body after bad subscript", Err.Number
Err.Clear
n = 0
Do While y < 1
  n = n + 1 : WScript.Echo "do body", n, Err.Number : Err.Clear
  If n = 2 Then Exit Do
Loop
WScript.Echo "after do", n
n = 0
While y < 1
  n = n + 1 : WScript.Echo "while body", n, Err.Number : Err.Clear
  If n = 2 Then y = 5
Wend
WScript.Echo "after while", n, Err.Number : Err.Clear
' Errors inside a called procedure that has no handler of its own unwind to the caller.
Function Bad(v) : Bad = v + "q" : WScript.Echo "not reached" : End Function
r = "none" : r = Bad(1) : WScript.Echo "bad", r, Err.Number : Err.Clear
Function Guarded(v)
  On Error Resume Next
  Guarded = v + "q"
  Guarded = "guarded " & Err.Number
End Function
WScript.Echo Guarded(1), Err.Number
' Err keeps its state until cleared, and On Error GoTo 0 clears it.
x = 1 / 0 : WScript.Echo "div", Err.Number, Err.Description
On Error GoTo 0
WScript.Echo "after goto 0", Err.Number
On Error Resume Next
a = CInt("99999") : WScript.Echo "cint", Err.Number, TypeName(a) : Err.Clear
For i = 1 To 3
  v = i * "x"
  WScript.Echo "loop", i, Err.Number : Err.Clear
Next
