' CBalloonToolTip as VBScript sees it: created by ProgID, arguments by reference and left out,
' Set of the parent object, and the error numbers a script gets.
Option Explicit
Dim failures : failures = 0
Sub Check(ok, what)
  If Not ok Then failures = failures + 1 : WScript.Echo "FAILED: " & what
End Sub

Dim win, tip, first, text, title, icon
Set win = CreateObject("TesselTest.Window")
Set tip = CreateObject("TesselOCX.CBalloonToolTip")
Check tip.hWnd = 0 And tip.Active = False And tip.TipText = "", "a new tip has no window and empty settings"

' Variables travel by reference and come back untouched.
text = "By reference" : title = "Heads up" : icon = 1
tip.CreateTip win, text, title, icon
first = tip.hWnd
Check first <> 0 And tip.Icon = 0 And tip.Title = "Heads up", "a standard tip drops the information icon"
Check text = "By reference" And title = "Heads up" And icon = 1, "the caller's variables are untouched"
tip.CreateBalloon win, "info kept", , 1
Check tip.Icon = 1 And tip.Title = "" And tip.Style = 1, "a skipped title is empty"
Check tip.hWnd <> first, "a create method replaces the window"
Set tip.ParentControl = win
Check tip.ParentControl = win.hWnd, "Set ParentControl takes the object's window"

On Error Resume Next
Err.Clear
tip.CreateBalloon CreateObject("TesselOCX.SOSystem"), "no hWnd"
Check Err.Number = &H80020003, "a parent without hWnd: member not found (" & Hex(Err.Number) & ")"
Check Err.Description = "Object doesn't support this property or method", "its description: " & Err.Description
Err.Clear
tip.CreateTip Nothing, "x"
Check Err.Number = 424, "Nothing: object required (" & Err.Number & ")"
Err.Clear
tip.CreateTip 42, "x"
Check Err.Number = 13, "a number as parent: type mismatch (" & Err.Number & ")"
Err.Clear
tip.CreateBalloon win, "x", "t", 40000
Check Err.Number = 6, "an icon beyond 16 bits overflows (" & Err.Number & ")"
Err.Clear
tip.Show
Check Err.Number = 438, "an unknown member (" & Err.Number & ")"
On Error Goto 0

Check tip.Remove() = False And tip.hWnd = 0, "Remove returns False and forgets the window"
If failures = 0 Then WScript.Echo "ALL PASSED: balloon_tooltip.vbs"
