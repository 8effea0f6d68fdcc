' Transfer form: each field is checked against a pattern before it is used, conversion
' failures are reported through Err rather than stopping the screen, and account numbers
' are masked before they are shown.
Option Explicit

Dim rules
Set rules = CreateObject("Scripting.Dictionary")
rules.Add "account", "^\d{3}-\d{2}-\d{6}$"
rules.Add "email", "^[\w.+-]+@[\w-]+(\.[\w-]+)+$"
rules.Add "amount", "^\d{1,3}(,\d{3})*(\.\d{1,2})?$"
rules.Add "phone", "^(01[016789])-?(\d{3,4})-?(\d{4})$"

Function Valid(field, value)
    Dim r
    Set r = New RegExp
    r.Pattern = rules(field)
    r.IgnoreCase = True
    Valid = r.Test(value)
End Function

Function NormalizePhone(value)
    Dim r, found
    Set r = New RegExp
    r.Pattern = rules("phone")
    If Not r.Test(value) Then
        NormalizePhone = Null
        Exit Function
    End If
    Set found = r.Execute(value)
    With found.Item(0)
        NormalizePhone = .SubMatches(0) & "-" & .SubMatches(1) & "-" & .SubMatches(2)
    End With
End Function

Function ParseAmount(text)
    If Not Valid("amount", text) Then Err.Raise 13, "Form", "Amount is not a number: " & text
    ParseAmount = CDbl(Replace(text, ",", ""))
End Function

Function Mask(account)
    Dim r
    Set r = New RegExp
    r.Pattern = "(\d{3})-(\d{2})-(\d{2})\d{4}"
    Mask = r.Replace(account, "$1-$2-$3****")
End Function

Sub Report(field, e)
    WScript.Echo "  " & field & ": error " & e.Number & " - " & e.Description & " [" & e.Source & "]"
End Sub

Dim forms, i, row, amount, phone, problems
forms = Array( _
    Array("123-45-678901", "kim.lee@example.co.kr", "1,250,000.5", "010-1234-5678"), _
    Array("12-345-678901", "bad@", "12,34", "0101234567"), _
    Array("999-99-999999", "A.B+tag@Mail-Host.com", "abc", "01612345678"), _
    Array("555-10-000123", "ops@desk", "999.99", "02-123-4567"))

On Error Resume Next
For i = 0 To UBound(forms)
    row = forms(i)
    problems = 0
    WScript.Echo "Form " & (i + 1) & ": " & Mask(row(0))
    If Not Valid("account", row(0)) Then WScript.Echo "  account: wrong shape" : problems = problems + 1
    If Not Valid("email", row(1)) Then WScript.Echo "  email: wrong shape" : problems = problems + 1
    Err.Clear
    amount = Empty
    amount = ParseAmount(row(2))
    If Err.Number <> 0 Then
        Report "amount", Err
        problems = problems + 1
    Else
        WScript.Echo "  amount: " & FormatNumber(amount, 2) & " (" & TypeName(amount) & ")"
    End If
    phone = NormalizePhone(row(3))
    If IsNull(phone) Then
        WScript.Echo "  phone: not a mobile number"
        problems = problems + 1
    Else
        WScript.Echo "  phone: " & phone
    End If
    Select Case problems
        Case 0 : WScript.Echo "  => ready"
        Case 1 : WScript.Echo "  => one problem"
        Case Else : WScript.Echo "  => " & problems & " problems"
    End Select
Next

WScript.Echo "Errors the form can meet:"
Dim x
Err.Clear
x = CLng("12x")
Report "convert", Err
Err.Clear
x = 1 / 0
Report "divide", Err
Err.Clear
x = Split("a,b", ",")(5)
Report "index", Err
Err.Clear
Err.Raise &h800A0035
Report "hresult", Err
Err.Clear
Err.Raise &h80070057
Report "invalid argument", Err
Err.Clear
Err.Raise vbObjectError + 100, "Transfer", "Limit exceeded", "transfer.chm", 1200
Report "limit", Err
WScript.Echo "  help: " & Err.HelpFile & "#" & Err.HelpContext & ", code " & (Err.Number - vbObjectError)
Err.Clear
WScript.Echo "  cleared: " & Err.Number & " [" & Err.Source & "] " & TypeName(Err) & " " & (Err = 0)
On Error GoTo 0

Dim digits, m, total
Set digits = New RegExp
digits.Pattern = "\d+"
digits.Global = True
total = 0
For Each m In digits.Execute("Order 12 of 300 shares at 4500 won, fee 7")
    total = total + CLng(m.Value)
    WScript.Echo "  found " & m.Value & " at " & m.FirstIndex & " length " & m.Length
Next
WScript.Echo "Sum of numbers: " & total
WScript.Echo "Squeezed: " & "[" & Trim(New_Squeeze("  too   many    spaces  ")) & "]"

Function New_Squeeze(text)
    Dim r
    Set r = New RegExp
    r.Pattern = "\s{2,}"
    r.Global = True
    New_Squeeze = r.Replace(text, " ")
End Function
