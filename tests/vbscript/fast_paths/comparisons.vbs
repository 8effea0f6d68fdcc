' Conditions on variables and literals are compare-and-jump instructions; each must decide
' as the general comparison does, with the literal rules for strings and numbers.
Dim values(9)
values(0) = 10 : values(1) = "9" : values(2) = "10" : values(3) = Empty : values(4) = Null
values(5) = 10.0 : values(6) = True : values(7) = "" : values(8) = #1/1/2000# : values(9) = 2147483647
On Error Resume Next
For i = 0 To 9
  For j = 0 To 9
    a = values(i) : b = values(j) : line = i & "," & j & ":"
    If a < b Then line = line & "<" Else line = line & "."
    If a <= b Then line = line & "<=" Else line = line & "."
    If a = b Then line = line & "=" Else line = line & "."
    If a <> b Then line = line & "<>" Else line = line & "."
    If a > b Then line = line & ">" Else line = line & "."
    If a >= b Then line = line & ">=" Else line = line & "."
    If Err.Number <> 0 Then line = line & " error " & Err.Number : Err.Clear
    WScript.Echo line
  Next
Next
' A variable against a literal: the literal's type decides how a string variable compares.
s = "10"
If s > 9 Then WScript.Echo "string var > 9" Else WScript.Echo "string var <= 9"
If s < "9" Then WScript.Echo "string var < ""9""" Else WScript.Echo "string var >= ""9"""
If 9 < s Then WScript.Echo "9 < string var" Else WScript.Echo "9 >= string var"
n = 10
If n > "9" Then WScript.Echo "number var > ""9""" Else WScript.Echo "number var <= ""9"""
If "abc" < "abd" Then WScript.Echo "literal strings"
If n = 10 Then WScript.Echo "n = 10"
' Loops whose tests compare mixed types.
k = 0 : Do While k < "3" : k = k + 1 : Loop : WScript.Echo "do while", k
k = 0 : Do Until k >= 2.5 : k = k + 1 : Loop : WScript.Echo "do until", k
k = 5 : While k > Empty : k = k - 2 : Wend : WScript.Echo "while", k
k = 0 : Do : k = k + 1 : Loop While k <> 4 : WScript.Echo "loop while", k
k = 0 : Do : k = k + 1 : Loop Until k = "3" : WScript.Echo "loop until", k
