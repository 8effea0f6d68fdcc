WScript.Echo "never runs: the file does not compile"
x = (1 +
