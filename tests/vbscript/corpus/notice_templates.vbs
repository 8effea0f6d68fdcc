' Notice templates: placeholders filled from a dictionary, formulas the screen author
' types run through Eval and Execute, and the text helpers a notice screen uses.
Dim values, trace
Set values = CreateObject("Scripting.Dictionary")
values.Add "name", "kim jisoo"
values.Add "amount", 1234567.891
values.Add "due", DateSerial(2024, 3, 15)
values.Add "desk", "fx-2"

Function Apply(value, format)
    Select Case LCase(format)
        Case "" : Apply = CStr(value)
        Case "upper" : Apply = UCase(value)
        Case "title" : Apply = TitleCase(value)
        Case "money" : Apply = FormatNumber(value, 0) & " KRW"
        Case "iso" : Apply = Year(value) & "-" & Right("0" & Month(value), 2) & "-" & Right("0" & Day(value), 2)
        Case Else : Apply = "<" & format & "?>"
    End Select
End Function

Function TitleCase(text)
    Dim words, i
    words = Split(LCase(text), " ")
    For i = 0 To UBound(words)
        If Len(words(i)) > 0 Then words(i) = UCase(Left(words(i), 1)) & Mid(words(i), 2)
    Next
    TitleCase = Join(words, " ")
End Function

Function Fill(template)
    Dim re, found, m, out, key
    Set re = New RegExp
    re.Pattern = "\{(\w+)(?::(\w+))?\}"
    re.Global = True
    out = template
    Set found = re.Execute(template)
    For Each m In found
        key = LCase(m.SubMatches(0))
        If values.Exists(key) Then
            out = Replace(out, m.Value, Apply(values(key), m.SubMatches(1)), 1, 1)
        Else
            out = Replace(out, m.Value, "[" & key & "?]", 1, 1)
        End If
    Next
    Fill = out
End Function

WScript.Echo Fill("Dear {name:title}, {amount:money} is due on {due:iso}.")
WScript.Echo Fill("Desk {DESK:upper} / {missing} / {name:shout}")
WScript.Echo Fill("No placeholders here")

' Formulas the author keeps as text.
ExecuteGlobal "Function Tax(x) : Tax = x * 0.1 : End Function"
ExecuteGlobal "Dim rates(2) : rates(0) = 1 : rates(1) = 1.5 : rates(2) = 2"
Function Rated(level, amount) : Rated = amount * rates(level) : End Function
WScript.Echo "Tax: " & Eval("Tax(1500) + 20") & ", rated: " & Rated(1, 200) & ", formula: " & _
             Eval("Rated(2, Tax(50))")

Sub Compute()
    Dim base
    base = 400
    Execute "subtotal = 3 * base : base = base + 1"
    Execute "subtotal = subtotal + base"
    trace = "subtotal " & Eval("subtotal") & ", base " & base
End Sub
Function StillHidden() : StillHidden = IsEmpty(subtotal) : End Function
Compute
WScript.Echo trace & ", hidden afterwards: " & StillHidden()

' Text helpers.
Dim s
s = "  Settlement: T+2, cut-off 15:30  "
WScript.Echo "[" & Trim(s) & "] [" & LTrim(s) & "] [" & RTrim(s) & "]"
s = Trim(s)
WScript.Echo InStr(s, "T+2") & " " & InStr(1, s, "CUT", vbTextCompare) & " " & InStrRev(s, ":") & " " & _
             InStr(s, "none") & " " & Mid(s, 13, 3) & " " & Len(s)
WScript.Echo StrReverse("abc") & " " & String(3, "*") & " " & Hex(255) & " " & Oct(8) & " " & _
             Asc("A") & " " & Chr(66) & " " & StrComp("abc", "ABC") & " " & StrComp("abc", "ABC", vbTextCompare)
WScript.Echo Replace("a-b-c-d", "-", "+", 1, 2) & " " & Replace("banana", "an", "AN", 3) & " " & _
             Join(Split("a,b,,c", ","), "|") & " " & UBound(Split("a,b,c", ",", 2))
WScript.Echo Join(Filter(Array("fx-1", "eq-2", "fx-3"), "fx"), " ") & " / " & _
             Join(Filter(Array("fx-1", "eq-2", "fx-3"), "fx", False), " ")
WScript.Echo "Rnd: " & Rnd & " " & Rnd & " " & Rnd

' Objects go in the order their last references go.
Class Notice
    Public Title
    Private Sub Class_Terminate() : trace = trace & Title & " closed; " : End Sub
End Class
Sub ShowNotices()
    Dim a, b
    Set a = New Notice : a.Title = "first"
    Set b = New Notice : b.Title = "second"
    Set a = Nothing
    trace = trace & "body; "
End Sub
trace = ""
ShowNotices
WScript.Echo Trim(trace)

' A bad collection under On Error Resume Next, many times over, leaves nothing behind.
Dim k, v, total
On Error Resume Next
For k = 1 To 500
    For Each v In values("amount")
    Next
Next
WScript.Echo "error " & Err.Number & " (" & Err.Description & "), passes: " & (k - 1)
On Error GoTo 0
total = 0
For k = 1 To 100
    total = total + k
Next
For Each v In values.Keys
    total = total + Len(v)
Next
WScript.Echo "sum afterwards: " & total
