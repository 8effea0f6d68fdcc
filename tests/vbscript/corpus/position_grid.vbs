' Position grid: a two-dimensional table that grows by rows with ReDim Preserve, cells
' reached through a class whose default member is the cell, column styles chosen by
' Select Case, and error reports passed around as the Err object itself.
Option Explicit

Class Grid
    Private m_cells(), m_rows, m_cols, m_names

    Private Sub Class_Initialize()
        m_cols = 4
        m_rows = 0
        ReDim m_cells(m_cols - 1, 0)
        m_names = Array("symbol", "qty", "cost", "last")
    End Sub

    Public Property Get Rows() : Rows = m_rows : End Property

    Public Default Property Get Cell(row, col)
        If row < 0 Or row >= m_rows Then Err.Raise 9, "Grid", "No row " & row
        Cell = m_cells(ColumnIndex(col), row)
    End Property

    Public Property Let Cell(row, col, value)
        If row >= m_rows Then
            m_rows = row + 1
            ReDim Preserve m_cells(m_cols - 1, m_rows - 1)
        End If
        m_cells(ColumnIndex(col), row) = value
    End Property

    Private Function ColumnIndex(col)
        Dim i
        If IsNumeric(col) Then
            ColumnIndex = CLng(col)
            Exit Function
        End If
        For i = 0 To UBound(m_names)
            If StrComp(m_names(i), col, vbTextCompare) = 0 Then
                ColumnIndex = i
                Exit Function
            End If
        Next
        Err.Raise 5, "Grid", "No column " & col
    End Function

    Public Function Profit(row)
        Profit = (Me(row, "last") - Me(row, "cost")) * Me(row, "qty")
    End Function

    Public Function Shape()
        Shape = (UBound(m_cells, 1) + 1) & "x" & (UBound(m_cells, 2) + 1)
    End Function
End Class

Sub Describe(label, e)
    If e.Number = 0 Then
        WScript.Echo label & ": ok"
    Else
        WScript.Echo label & ": " & e.Number & " " & e.Description & " (" & e.Source & ")"
    End If
End Sub

Function Style(profit)
    Select Case True
        Case IsEmpty(profit) : Style = "blank"
        Case profit > 1000000 : Style = "strong-up"
        Case profit > 0 : Style = "up"
        Case profit = 0 : Style = "flat"
        Case Else : Style = "down"
    End Select
End Function

Dim g, r, data, i, line, grand
Set g = New Grid
data = Array(Array("KRX", 10, 68000, 71500), Array("SAM", 200, 1300, 1250.5), _
             Array("HYD", 5, 98000, 98000), Array("LGE", 30, 40000, 47800))
For r = 0 To UBound(data)
    For i = 0 To 3
        g(r, i) = data(r)(i)
    Next
Next
WScript.Echo "rows " & g.Rows & ", storage " & g.Shape()

grand = 0
For r = 0 To g.Rows - 1
    line = g(r, "SYMBOL") & " " & g(r, "qty") & " x " & g(r, "Last") & " -> " & _
           g.Profit(r) & " " & Style(g.Profit(r))
    grand = grand + g.Profit(r)
    WScript.Echo line
Next
WScript.Echo "total profit " & FormatNumber(grand, 1) & " " & Style(grand)

On Error Resume Next
Dim v
v = g(7, "qty")
Describe "row 7", Err
Err.Clear
v = g(0, "price")
Describe "column price", Err
Err.Clear
g(5, "qty") = 1
Describe "grow to row 5", Err
WScript.Echo "rows " & g.Rows & ", storage " & g.Shape() & ", new row symbol empty: " & IsEmpty(g(4, 0))
Err.Clear
v = g(5, 1) / g(4, 1)
Describe "divide by an empty cell", Err
On Error GoTo 0

Dim cells(2, 1), names()
cells(0, 0) = "a" : cells(2, 1) = "z"
WScript.Echo "bounds " & LBound(cells, 1) & "-" & UBound(cells, 1) & ", " & UBound(cells, 2) & _
             ", corner " & cells(2, 1) & ", array " & IsArray(cells) & " " & IsArray(names)
Erase cells
WScript.Echo "after Erase: [" & cells(0, 0) & "] " & UBound(cells, 1)
ReDim names(1)
names(0) = "first" : names(1) = "second"
ReDim Preserve names(2)
names(2) = "third"
WScript.Echo Join(names, ", ") & " (" & UBound(names) + 1 & ")"
