' Quote board: quotes kept in a growing array inside a class, a default property for the
' change, sorting by the column the user picks, and tick handlers registered with GetRef.
Option Explicit

Class Quote
    Public Symbol, Last, Prev, Volume
    Public Default Property Get Change()
        Change = Last - Prev
    End Property
    Public Property Get Rate()
        If Prev = 0 Then Rate = 0 Else Rate = Round((Last - Prev) / Prev * 100, 2)
    End Property
    Public Function Arrow()
        Select Case Sgn(Change)
            Case 1 : Arrow = "+"
            Case -1 : Arrow = "-"
            Case Else : Arrow = "="
        End Select
    End Function
End Class

Class Board
    Private m_quotes(), m_count, m_handlers

    Private Sub Class_Initialize()
        m_count = 0
        ReDim m_quotes(1)
        Set m_handlers = CreateObject("Scripting.Dictionary")
    End Sub

    Public Property Get Count() : Count = m_count : End Property
    Public Default Property Get Item(i) : Set Item = m_quotes(i) : End Property
    Public Function Capacity() : Capacity = UBound(m_quotes) + 1 : End Function

    Public Sub Add(sym, prev, last, volume)
        Dim q
        If m_count > UBound(m_quotes) Then ReDim Preserve m_quotes(2 * UBound(m_quotes) + 1)
        Set q = New Quote
        With q
            .Symbol = sym : .Prev = prev : .Last = last : .Volume = volume
        End With
        Set m_quotes(m_count) = q
        m_count = m_count + 1
    End Sub

    Public Sub OnTick(name, handler)
        Set m_handlers(name) = handler
    End Sub

    Public Sub Tick(sym, price)
        Dim i, key, handler
        For i = 0 To m_count - 1
            If m_quotes(i).Symbol = sym Then
                m_quotes(i).Prev = m_quotes(i).Last
                m_quotes(i).Last = price
                For Each key In m_handlers.Keys
                    Set handler = m_handlers(key)
                    Call handler(m_quotes(i))
                Next
            End If
        Next
    End Sub

    Public Sub SortBy(column, descending)
        Dim i, j, cur
        For i = 1 To m_count - 1
            Set cur = m_quotes(i)
            j = i - 1
            Do While j >= 0
                If Not Before(cur, m_quotes(j), column, descending) Then Exit Do
                Set m_quotes(j + 1) = m_quotes(j)
                j = j - 1
            Loop
            Set m_quotes(j + 1) = cur
        Next
    End Sub

    Public Function Symbols()
        Dim i, out
        For i = 0 To m_count - 1
            out = out & m_quotes(i).Symbol & " "
        Next
        Symbols = Trim(out)
    End Function

    Private Function Before(a, b, column, descending)
        Dim x, y
        x = KeyOf(a, column)
        y = KeyOf(b, column)
        If descending Then Before = x > y Else Before = x < y
    End Function

    Private Function KeyOf(q, column)
        Select Case LCase(column)
            Case "symbol" : KeyOf = q.Symbol
            Case "rate" : KeyOf = q.Rate
            Case "volume" : KeyOf = q.Volume
            Case Else : KeyOf = q ' the default property: the change
        End Select
    End Function
End Class

Function Pad(text, width)
    If width < 0 Then Pad = Left(text & Space(-width), -width) Else Pad = Right(Space(width) & text, width)
End Function

Sub PrintBoard(b, title)
    Dim i
    WScript.Echo title
    For i = 0 To b.Count - 1
        With b(i)
            WScript.Echo Pad(.Symbol, -5) & Pad(FormatNumber(.Last, 1), 11) & " " & .Arrow() & _
                         Pad(FormatNumber(.Change, 1), 10) & Pad(FormatNumber(.Rate, 2) & "%", 8)
        End With
    Next
End Sub

Dim log
Sub LogTick(q) : log = log & q.Symbol & q.Arrow() & " " : End Sub
Sub Alert(q)
    If Abs(q.Rate) >= 5 Then WScript.Echo "  alert: " & q.Symbol & " moved " & q.Rate & "%"
End Sub

Dim quotes, i, total
Set quotes = New Board
quotes.Add "KRX", 71000, 71500, 120000
quotes.Add "SAM", 1300, 1250.5, 98000
quotes.Add "HYD", 98000, 98000, 5000
quotes.Add "LGE", 45000, 47800, 77000
quotes.Add "POS", 300000, 285000, 15000
WScript.Echo "Capacity " & quotes.Capacity() & " for " & quotes.Count & " quotes"

quotes.SortBy "rate", True
PrintBoard quotes, "By rate:"

quotes.OnTick "log", GetRef("LogTick")
quotes.OnTick "alert", GetRef("Alert")
quotes.Tick "SAM", 1320
quotes.Tick "KRX", 71500
quotes.Tick "POS", 270000
quotes.Tick "XXX", 1
WScript.Echo "Ticks: " & Trim(log)

quotes.SortBy "change", False
WScript.Echo "By change: " & quotes.Symbols()
quotes.SortBy "Symbol", False
WScript.Echo "By symbol: " & quotes.Symbols()
quotes.SortBy "volume", True
WScript.Echo "By volume: " & quotes.Symbols()

total = 0
For i = 0 To quotes.Count - 1
    total = total + quotes(i)
Next
WScript.Echo "Net change: " & total & " (" & TypeName(quotes(0)) & ", " & TypeName(total) & ")"
WScript.Echo "First change: " & quotes(0) * 1 & ", up: " & (quotes(0) > 0)
