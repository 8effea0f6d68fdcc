Set d = CreateObject("Scripting.Dictionary")
WScript.Echo "before"
WScript.Echo d
WScript.Echo "not reached"
