WScript.Echo "one"
