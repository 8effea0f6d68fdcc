WScript.Echo "ran"
x = 1
  y = x / 0
WScript.Echo "not reached"
