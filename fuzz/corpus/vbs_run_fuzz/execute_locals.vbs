Function Lookup() : Lookup = table(2) & later(1) : End Function
Sub MakeLocal()
  Execute "made = 7 : Dim cells(2) : cells(1) = made"
  Execute "made = made + cells(1) : Const k = 3"
  WScript.Echo Eval("made * k"), IsEmpty(made)
End Sub
MakeLocal
MakeLocal
ExecuteGlobal "Dim table, later(3) : Set table = CreateObject(""Scripting.Dictionary"") : table(2) = ""x"""
WScript.Echo Lookup(), later, UBound(later)
