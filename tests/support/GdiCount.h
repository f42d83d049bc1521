#pragma once
// The number of GDI objects, windows and kernel handles the process holds, for tests that check nothing leaks.
namespace tessel::test {

// GetGuiResources where the system implements it; elsewhere (Wine) the handle table's live entries
// probed by index, and the process's windows (message-only ones too) found by enumeration.
unsigned GdiObjectCount();
unsigned UserObjectCount();
// The pixels of the largest bitmap the process holds, found by probing the handle table (Wine);
// 0 where the table cannot be probed.
long long LargestBitmapPixels();
// The kernel handles the process holds: GetProcessHandleCount where the system answers it;
// elsewhere (Wine answers 0) the handle table's live slots probed upward.
unsigned KernelHandleCount();

}  // namespace tessel::test
