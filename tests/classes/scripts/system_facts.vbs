' SOSystem from VBScript, compared with what WMI and the environment report.
Option Explicit
Dim failures : failures = 0
Sub Check(ok, what)
  If Not ok Then
    failures = failures + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub

Dim facts, again, os, cs, arch, expectedTotal, item
Set facts = CreateObject("TesselOCX.SOSystem")
Check VarType(facts.TotalMemory) = vbLong, "TotalMemory is a Long"
Check VarType(facts.AvailableMemory) = vbLong, "AvailableMemory is a Long"
Check VarType(facts.OSBuild) = vbSingle, "OSBuild is a Single"
Check VarType(facts.OSVersion) = vbString And VarType(facts.OSPlatform) = vbString, "texts are strings"
Check facts.TotalMemory > 0 And facts.AvailableMemory > 0, "memory sizes are positive"
Check facts.AvailableMemory <= facts.TotalMemory, "free memory is part of the total"

For Each item In GetObject("winmgmts:").ExecQuery("SELECT * FROM Win32_OperatingSystem")
  Set os = item
Next
Check facts.OSVersion & "." & CStr(facts.OSBuild) = os.Version, "version " & facts.OSVersion & "." & facts.OSBuild & " vs " & os.Version
Check facts.OSPlatform = "Windows NT/2000", "an NT system: " & facts.OSPlatform
For Each item In GetObject("winmgmts:").ExecQuery("SELECT * FROM Win32_ComputerSystem")
  Set cs = item
Next
expectedTotal = CDbl(cs.TotalPhysicalMemory)
If expectedTotal > 2147483647 Then expectedTotal = 2147483647
Check CDbl(facts.TotalMemory) = expectedTotal, "total memory " & facts.TotalMemory & " vs " & expectedTotal

arch = CreateObject("WScript.Shell").Environment("PROCESS")("PROCESSOR_ARCHITECTURE")
If arch = "AMD64" Then
  Check facts.Processor = 8664, "an x64 processor reports 8664: " & facts.Processor
Else
  Check facts.Processor = 386 Or facts.Processor = 486 Or facts.Processor = 586, "an x86 processor: " & facts.Processor
End If

' A snapshot: the same object answers the same.
Check facts.AvailableMemory = facts.AvailableMemory, "AvailableMemory does not move"
Set again = CreateObject("TesselOCX.SOSystem")
Check again.TotalMemory = facts.TotalMemory And again.OSVersion = facts.OSVersion, "a second object agrees"

On Error Resume Next
facts.TotalMemory = 5
Check Err.Number <> 0, "properties are read-only"
On Error Goto 0
If failures = 0 Then WScript.Echo "ALL PASSED: system_facts.vbs"
