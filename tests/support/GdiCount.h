#pragma once
// The number of GDI objects and windows the process holds, for tests that check nothing leaks.
namespace tessel::test {

// GetGuiResources where the system implements it; elsewhere (Wine) the live entries of the
// process's handle table, probed by index, and the windows (top-level, children and message-only)
// found by enumeration.
unsigned GdiObjectCount();
unsigned UserObjectCount();

}  // namespace tessel::test
