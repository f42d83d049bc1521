' SOSystem from VBScript: the types a script sees, compared with what WMI reports.
Option Explicit
Dim failures : failures = 0
Sub Check(ok, what)
  If Not ok Then failures = failures + 1 : WScript.Echo "FAILED: " & what
End Sub

Dim facts, os, cs, expectedTotal, item, wmi
Set facts = CreateObject("TesselOCX.SOSystem")
Check VarType(facts.TotalMemory) = vbLong And VarType(facts.AvailableMemory) = vbLong, "memory sizes are Longs"
Check VarType(facts.OSBuild) = vbSingle And VarType(facts.OSVersion) = vbString, "OSBuild a Single, OSVersion a String"
' The locator by its class, not the "winmgmts:" moniker: resolving the moniker asks the RPC service
' for a class first, which Wine starts only after a wait on a fresh prefix.
Set wmi = CreateObject("WbemScripting.SWbemLocator").ConnectServer(".", "root\cimv2")
For Each item In wmi.ExecQuery("SELECT * FROM Win32_OperatingSystem")
  Set os = item
Next
Check facts.OSVersion & "." & CStr(facts.OSBuild) = os.Version, "version " & facts.OSVersion & "." & facts.OSBuild & " vs " & os.Version
For Each item In wmi.ExecQuery("SELECT * FROM Win32_ComputerSystem")
  Set cs = item
Next
expectedTotal = CDbl(cs.TotalPhysicalMemory)
If expectedTotal > 2147483647 Then expectedTotal = 2147483647
Check CDbl(facts.TotalMemory) = expectedTotal, "total memory " & facts.TotalMemory & " vs " & expectedTotal
On Error Resume Next
facts.TotalMemory = 5
Check Err.Number <> 0, "properties are read-only"
On Error Goto 0
If failures = 0 Then WScript.Echo "ALL PASSED: system_facts.vbs"
