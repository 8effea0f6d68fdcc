' Order ticket: parses typed orders, validates them through class properties, prices them
' from a quote book and prints a fee table.
Option Explicit

Class OrderLine
    Private m_symbol, m_qty, m_price, m_side

    Public Property Get Symbol() : Symbol = m_symbol : End Property
    Public Property Let Symbol(v) : m_symbol = UCase(Trim(v)) : End Property

    Public Property Get Qty() : Qty = m_qty : End Property
    Public Property Let Qty(v)
        If Not IsNumeric(v) Then Err.Raise vbObjectError + 1, "OrderLine", "Quantity must be a number"
        If CLng(v) <= 0 Then Err.Raise vbObjectError + 2, "OrderLine", "Quantity must be positive"
        m_qty = CLng(v)
    End Property

    Public Property Get Price() : Price = m_price : End Property
    Public Property Let Price(v) : m_price = CDbl(v) : End Property

    Public Property Get Side() : Side = m_side : End Property
    Public Property Let Side(v)
        Select Case UCase(Trim(v))
            Case "B", "BUY" : m_side = "Buy"
            Case "S", "SELL" : m_side = "Sell"
            Case Else : Err.Raise vbObjectError + 3, "OrderLine", "Unknown side: " & v
        End Select
    End Property

    Public Property Get Amount() : Amount = m_qty * m_price : End Property

    Public Function Describe()
        Describe = m_side & " " & m_qty & " " & m_symbol & " @ " & FormatNumber(m_price, 2)
    End Function
End Class

Dim book
Set book = CreateObject("Scripting.Dictionary")
book.Add "KRX", 71500
book.Add "SAM", 1250.5
book.Add "HYD", 98000

Function MakeOrder(sym, side, qty)
    Dim o
    Set o = New OrderLine
    o.Symbol = sym
    o.Side = side
    o.Qty = qty
    If Not book.Exists(o.Symbol) Then
        Err.Raise vbObjectError + 4, "Ticket", "No quote for " & o.Symbol
    End If
    o.Price = book(o.Symbol)
    Set MakeOrder = o
End Function

Function Fee(amount)
    Select Case True
        Case amount >= 1000000 : Fee = amount * 0.001
        Case amount >= 100000 : Fee = amount * 0.0015
        Case Else : Fee = 150
    End Select
End Function

Function PadLeft(text, width)
    PadLeft = Right(Space(width) & text, width)
End Function

Function PadRight(text, width)
    PadRight = Left(text & Space(width), width)
End Function

Dim inputs, orders(), count, i, parts, o, total, bySide, key, failures
inputs = Array("krx,B,10", " sam ,sell,200", "HYD,x,5", "ABC,B,1", "KRX,S,-3", _
               "HYD,BUY,abc", "hyd,s,2", "KRX,b")
count = 0
failures = 0

On Error Resume Next
For i = 0 To UBound(inputs)
    parts = Split(inputs(i), ",")
    Set o = Nothing
    Err.Clear
    If UBound(parts) <> 2 Then
        Err.Raise vbObjectError + 5, "Parser", "Expected 3 fields, got " & (UBound(parts) + 1)
    Else
        Set o = MakeOrder(parts(0), parts(1), parts(2))
    End If
    If Err.Number <> 0 Then
        failures = failures + 1
        WScript.Echo "rejected #" & (i + 1) & ": " & Err.Description & " (" & Err.Source & ")"
    Else
        ReDim Preserve orders(count)
        Set orders(count) = o
        count = count + 1
        WScript.Echo "accepted #" & (i + 1) & ": " & o.Describe()
    End If
Next
On Error GoTo 0

WScript.Echo String(27, "-")
Set bySide = CreateObject("Scripting.Dictionary")
total = 0
For i = 0 To count - 1
    With orders(i)
        total = total + .Amount
        bySide(.Side) = bySide(.Side) + 1
        WScript.Echo PadRight(.Symbol, 5) & PadLeft(FormatNumber(.Amount, 0), 12) & _
                     PadLeft(FormatNumber(Fee(.Amount), 2), 10)
    End With
Next
WScript.Echo String(27, "-")
WScript.Echo "Total: " & FormatNumber(total, 0) & " in " & count & " orders, " & failures & " rejected"
For Each key In bySide.Keys
    WScript.Echo key & ": " & bySide(key)
Next
WScript.Echo "Largest: " & orders(0).Symbol & " is " & TypeName(orders(0)) & ", amount type " & _
             TypeName(orders(0).Amount)
