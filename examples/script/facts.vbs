' The public classes from a script: wine cscript //nologo examples\script\facts.vbs
Set facts = CreateObject("TesselOCX.SOSystem")
WScript.Echo "Windows " & facts.OSVersion & " (" & facts.OSPlatform & "), build " & facts.OSBuild
WScript.Echo "processor " & facts.Processor & ", " & facts.AvailableMemory & " of " & facts.TotalMemory & " bytes free"

Set tip = CreateObject("TesselOCX.CBalloonToolTip")
tip.Style = 1   ' styleBalloon
tip.Icon = 1    ' tipiconinfo
tip.BackColor = &HC0FFFF
WScript.Echo "style " & tip.Style & ", icon " & tip.Icon & ", back colour " & Hex(tip.BackColor)
' A tip belongs to a parent that has an hWnd: a form or control of the host program (in VBA, Me).
' A script has none, and says so:
On Error Resume Next
tip.CreateBalloon WScript, "Saves the order and closes the form", "Save", 1
WScript.Echo "CreateBalloon on WScript: " & Err.Description
