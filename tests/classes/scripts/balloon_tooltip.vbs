' CBalloonToolTip from VBScript, created by ProgID, attached to a scriptable test window.
Option Explicit
Dim failures : failures = 0
Sub Check(ok, what)
  If Not ok Then
    failures = failures + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub

Dim win, tip, first, second, facts, title, icon, text
Set win = CreateObject("TesselTest.Window")
Set tip = CreateObject("TesselOCX.CBalloonToolTip")
Check tip.hWnd = 0, "a new tip has no window"
Check tip.Active = False, "a new tip is not active"
Check tip.Style = 0 And tip.Icon = 0 And tip.TipText = "" And tip.Title = "", "a new tip has empty settings"

' The two-argument call: title and icon are left out.
tip.CreateBalloon win, "Only a text"
first = tip.hWnd
Check first <> 0, "CreateBalloon builds a window"
Check win.ClassName(first) = "tooltips_class32", "the window is a tooltip"
Check &H40 = (win.Style(first) And &H40), "a balloon has the balloon style"
Check &H3 = (win.Style(first) And &H3), "always-tip and no-prefix"
Check win.Owner(first) = win.hWnd, "the parent owns the tip"
Check win.IsTopmost(first), "the tip is topmost"
Check tip.Title = "" And tip.Icon = 0, "omitted title and icon are empty and none"
Check tip.Active = True, "a created tip is active"
Check tip.Style = 1, "CreateBalloon sets the balloon style"
Check tip.ParentControl = win.hWnd, "ParentControl reads the parent's window handle"

' Arguments held in variables travel by reference.
text = "By reference" : title = "Heads up" : icon = 1
tip.CreateTip win, text, title, icon
second = tip.hWnd
Check second <> first, "a create method builds a new window"
Check Not win.Exists(first), "the old window is destroyed"
Check 0 = (win.Style(second) And &H40), "a standard tip has no balloon style"
Check tip.Icon = 0, "a standard tip drops the information icon"
Check tip.Title = "Heads up" And tip.TipText = "By reference", "title and text are kept"
Check text = "By reference" And title = "Heads up" And icon = 1, "the caller's variables are untouched"
tip.CreateTip win, "warning kept", "W", 2
Check tip.Icon = 2, "a standard tip keeps the warning icon"
tip.CreateBalloon win, "info kept", , 1
Check tip.Icon = 1 And tip.Title = "", "a balloon keeps the information icon; a skipped title is empty"

' Reads leave the window alone; writes other than Active rebuild it.
first = tip.hWnd
Check tip.Centered = False And tip.hWnd = first, "reading Centered keeps the window"
tip.Centered = True
Check tip.hWnd <> first And tip.Centered = True, "writing Centered rebuilds"
first = tip.hWnd
tip.Active = False
Check tip.hWnd = first And tip.Active = False, "writing Active keeps the window"
tip.ForeColor = &HFF& : tip.BackColor = &HCCFFFF
Check tip.ForeColor = &HFF& And tip.BackColor = &HCCFFFF, "colours are stored"
Check tip.hWnd <> first, "colour writes rebuild"
Check tip.Active = False, "a rebuild keeps Active"

' Remove forgets the window; the next write builds one with the old settings.
first = tip.hWnd
Check tip.Remove() = False, "Remove returns False"
Check tip.hWnd = 0 And Not win.Exists(first), "Remove destroys the window"
tip.Title = "Back"
Check tip.hWnd <> 0 And tip.TipText = "info kept" And tip.Icon = 1, "a write after Remove rebuilds from the settings"
Set tip.ParentControl = win
Check tip.ParentControl = win.hWnd, "Set ParentControl takes the object's window"

' Bad input gives automation errors, never a crash.
Set facts = CreateObject("TesselOCX.SOSystem")
On Error Resume Next
Err.Clear
tip.CreateBalloon facts, "no hWnd"
Check Err.Number = &H80020003, "a parent without hWnd: member not found (" & Hex(Err.Number) & ")"
Check Err.Description = "Object doesn't support this property or method", "its description: " & Err.Description
Err.Clear
Set tip.ParentControl = facts
Check Err.Number = &H80020003, "ParentControl without hWnd: member not found"
Err.Clear
tip.CreateTip Nothing, "x"
Check Err.Number = 424, "Nothing: object required (" & Err.Number & ")"
Err.Clear
tip.CreateTip 42, "x"
Check Err.Number = 13, "a number as parent: type mismatch (" & Err.Number & ")"
Err.Clear
tip.CreateBalloon win, String(100000, "w"), "Long", 2
Check Err.Number = 0 And Len(tip.TipText) = 100000, "a 100,000-character text is taken"
Err.Clear
tip.CreateBalloon win, "x", "t", 40000
Check Err.Number = 6, "an icon beyond 16 bits overflows (" & Err.Number & ")"
Err.Clear
tip.Icon = 99
Check Err.Number = 0 And tip.Icon = 99 And tip.hWnd <> 0, "an icon out of the enumeration is taken as it is"
Err.Clear
tip.Show
Check Err.Number = 438, "an unknown member (" & Err.Number & ")"
On Error Goto 0

tip.Remove
win.Close
If failures = 0 Then WScript.Echo "ALL PASSED: balloon_tooltip.vbs"
