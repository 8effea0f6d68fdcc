' No one answers a console box: the default button does.
WScript.Echo MsgBox("plain") = vbOK
WScript.Echo MsgBox("yes or no", vbYesNo + vbQuestion) = vbYes
WScript.Echo MsgBox("second is default", vbYesNo + vbDefaultButton2, "Title") = vbNo
WScript.Echo MsgBox("retry", vbAbortRetryIgnore + vbDefaultButton2) = vbRetry
