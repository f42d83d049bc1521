' Object cycles for scriptmem: cscript cycles.vbs <kind> <cycles> <every>
'   tessel: TesselOCX.CBalloonToolTip and TesselOCX.SOSystem by ProgID
'   wine:   Scripting.Dictionary and Scripting.FileSystemObject by ProgID (classes of the system's own)
'   plain:  two script classes made with New
'   keep:   a text of 1,000 characters kept a cycle (about 2 KB: shows that the reading sees growth)
' Each cycle makes two objects, writes two properties, reads four, and lets both go. One warm-up
' round of <every> cycles comes first; "cycle <n>" is printed after every <every> cycles.
Option Explicit

Class ScriptTip
  Public TipText
  Public Style
End Class
Class ScriptFacts
  Public TotalMemory
  Public OSVersion
  Private Sub Class_Initialize()
    TotalMemory = 1
    OSVersion = "v"
  End Sub
End Class
Class Kept
  Public Text
  Public Before
End Class

Dim kind, cycles, every, kept
Set kept = Nothing
kind = WScript.Arguments(0) : cycles = CLng(WScript.Arguments(1)) : every = CLng(WScript.Arguments(2))

Sub Cycle()
  Dim a, b, x
  Select Case kind
    Case "tessel"
      Set a = CreateObject("TesselOCX.CBalloonToolTip")
      a.TipText = "a tip text" : a.Style = 1
      x = a.TipText : x = a.Style
      Set b = CreateObject("TesselOCX.SOSystem")
      x = b.TotalMemory : x = b.OSVersion
    Case "wine"
      Set a = CreateObject("Scripting.Dictionary")
      a.CompareMode = 1 : a.Item("k") = "a tip text"
      x = a.Item("k") : x = a.CompareMode
      Set b = CreateObject("Scripting.FileSystemObject")
      x = b.GetExtensionName("a.txt") : x = b.BuildPath("a", "b")
    Case "keep"
      Set a = New Kept
      a.Text = Space(1000)
      Set a.Before = kept
      Set kept = a
    Case "plain"
      Set a = New ScriptTip
      a.TipText = "a tip text" : a.Style = 1
      x = a.TipText : x = a.Style
      Set b = New ScriptFacts
      x = b.TotalMemory : x = b.OSVersion
  End Select
  Set a = Nothing : Set b = Nothing
End Sub

Dim i
For i = 1 To every : Cycle : Next
WScript.Echo "cycle 0"
For i = 1 To cycles
  Cycle
  If i Mod every = 0 Then WScript.Echo "cycle " & i
Next
' More of the same while the last checkpoint is read (WScript.Sleep returns at once under Wine).
For i = 1 To 4 * every : Cycle : Next
