counter = counter + 1
WScript.Echo WScript.ScriptName, counter, Twice(counter)
