#pragma once
// The number of GDI objects and windows the process holds, for tests that check nothing leaks.
namespace tessel::test {

// GetGuiResources where the system implements it; elsewhere (Wine) the handle table's live entries
// probed by index, and the top-level, child and message-only windows found by enumeration.
unsigned GdiObjectCount();
unsigned UserObjectCount();

}  // namespace tessel::test
