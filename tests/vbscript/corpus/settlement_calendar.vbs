' Settlement calendar: business days around holidays, month ends, and a schedule printed
' in the formats a report screen uses.
Dim holidays
Set holidays = CreateObject("Scripting.Dictionary")
holidays.Add "2024-01-01", "New Year"
holidays.Add "2024-02-09", "Lunar New Year"
holidays.Add "2024-02-12", "Lunar New Year (substitute)"
holidays.Add "2024-03-01", "Independence Movement Day"

Function Two(n)
    Two = Right("0" & n, 2)
End Function

Function IsoDate(d)
    IsoDate = Year(d) & "-" & Two(Month(d)) & "-" & Two(Day(d))
End Function

Function LongDate(d)
    LongDate = WeekdayName(Weekday(d)) & ", " & MonthName(Month(d)) & " " & Day(d) & ", " & Year(d)
End Function

Function ShortStamp(d)
    Dim h, suffix
    h = Hour(d)
    If h >= 12 Then suffix = "PM" Else suffix = "AM"
    If h = 0 Then h = 12 Else If h > 12 Then h = h - 12
    ShortStamp = MonthName(Month(d), True) & " " & Day(d) & " " & h & ":" & Two(Minute(d)) & " " & suffix
End Function

Function IsBusinessDay(d)
    Select Case Weekday(d)
        Case vbSaturday, vbSunday
            IsBusinessDay = False
        Case Else
            IsBusinessDay = Not holidays.Exists(IsoDate(d))
    End Select
End Function

Function AddBusinessDays(d, n)
    Dim result, remaining
    result = d
    remaining = n
    Do While remaining > 0
        result = DateAdd("d", 1, result)
        If IsBusinessDay(result) Then remaining = remaining - 1
    Loop
    AddBusinessDays = result
End Function

Function MonthEnd(d)
    MonthEnd = DateSerial(Year(d), Month(d) + 1, 0)
End Function

Function Why(d)
    If holidays.Exists(IsoDate(d)) Then
        Why = holidays(IsoDate(d))
    ElseIf Weekday(d) = vbSaturday Or Weekday(d) = vbSunday Then
        Why = "weekend"
    Else
        Why = "open"
    End If
End Function

Dim trades, i, t, s, skipped, d
trades = Array(DateSerial(2024, 1, 31), DateSerial(2024, 2, 7), DateSerial(2024, 2, 29), _
               DateSerial(2023, 12, 28), #3/8/2024#)
WScript.Echo "Trade        Settles      Days  Skipped"
For i = 0 To UBound(trades)
    t = trades(i)
    s = AddBusinessDays(t, 2)
    skipped = ""
    d = DateAdd("d", 1, t)
    Do While d < s
        If Not IsBusinessDay(d) Then skipped = skipped & Left(Why(d), 3) & " "
        d = d + 1
    Loop
    WScript.Echo IsoDate(t) & "   " & IsoDate(s) & "   " & Right("  " & DateDiff("d", t, s), 3) & _
                 "   [" & Trim(skipped) & "]"
Next

WScript.Echo LongDate(DateSerial(2024, 2, 29))
WScript.Echo "Month ends: " & IsoDate(MonthEnd(#2/10/2024#)) & " " & IsoDate(MonthEnd(#2/10/2023#)) & _
             " " & IsoDate(MonthEnd(#12/5/2024#))
WScript.Echo "One month on: " & IsoDate(DateAdd("m", 1, #1/31/2024#)) & " " & _
             IsoDate(DateAdd("m", 1, #1/31/2023#)) & " " & IsoDate(DateAdd("yyyy", 1, #2/29/2024#))
WScript.Echo "Differences: " & DateDiff("m", #1/31/2024#, #2/1/2024#) & " " & _
             DateDiff("yyyy", #12/31/2023#, #1/1/2024#) & " " & DateDiff("h", #3/1/2024#, #3/2/2024 6:00:00 AM#) & _
             " " & DateDiff("d", #3/10/2024#, #3/1/2024#)
d = DateSerial(2024, 2, 29) + TimeSerial(14, 5, 9)
WScript.Echo "Stamp: " & CStr(d) & " | " & ShortStamp(d) & " | " & ShortStamp(DateSerial(2024, 1, 1))
WScript.Echo "Serial: " & CLng(DateSerial(2024, 1, 1)) & " " & TypeName(d) & " " & VarType(d) & _
             " " & IsDate("2024-02-30") & " " & IsDate("2/29/2024")
WScript.Echo "Quarter of each trade: " & Join(Quarters(trades), ",")

Function Quarters(list)
    Dim out(), k
    ReDim out(UBound(list))
    For k = 0 To UBound(list)
        out(k) = "Q" & DatePart("q", list(k)) & "/" & Right(Year(list(k)), 2)
    Next
    Quarters = out
End Function

Dim weekdaysSeen, n
Set weekdaysSeen = CreateObject("Scripting.Dictionary")
d = DateSerial(2024, 2, 1)
Do Until Month(d) <> 2
    n = WeekdayName(Weekday(d), True)
    If IsBusinessDay(d) Then weekdaysSeen(n) = weekdaysSeen(n) + 1
    d = DateAdd("d", 1, d)
Loop
For Each n In weekdaysSeen.Keys
    WScript.Echo n & " " & weekdaysSeen(n)
Next
WScript.Echo "Business days in February: " & (weekdaysSeen("Mon") + weekdaysSeen("Tue") + _
             weekdaysSeen("Wed") + weekdaysSeen("Thu") + weekdaysSeen("Fri"))
