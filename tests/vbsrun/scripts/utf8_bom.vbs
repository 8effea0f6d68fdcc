WScript.Echo "bom: Grüße 한글"
