WScript.Echo "bye"
WScript.Quit
WScript.Echo "not reached"
