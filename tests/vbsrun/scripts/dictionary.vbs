Set d = CreateObject("Scripting.Dictionary")
d.Add "b", 2
d.Add "a", 1
d("c") = 3
d.Item("a") = 10
WScript.Echo d.Count, d("a"), d.Item("b"), d.Exists("c"), d.Exists("C")
k = d.Keys
i = d.Items
WScript.Echo Join(k, ","), Join(i, ","), UBound(k)
For Each key In d
    WScript.Echo key & "=" & d(key)
Next
d.Key("b") = "bee"
d.Remove "a"
WScript.Echo Join(d.Keys, ",")
d.Add 1, "one"
WScript.Echo d(1.0), d(CLng(1)), d.Exists("1")
On Error Resume Next
d.Add "c", 0
WScript.Echo Err.Number, Err.Description
Err.Clear
d.Remove "zzz"
WScript.Echo Err.Number, Err.Description
Err.Clear
d.CompareMode = 1
WScript.Echo Err.Number
Err.Clear
Set o = CreateObject("Scripting.FileSystemObject")
WScript.Echo Err.Number, Err.Description
On Error GoTo 0
Set t = CreateObject("scripting.dictionary")
t.CompareMode = 1
t("Key") = 1
t("KEY") = 2
WScript.Echo t.Count, t("key"), TypeName(t)
t.RemoveAll
WScript.Echo t.Count
