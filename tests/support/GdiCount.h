#pragma once
// The number of GDI objects the process holds, for tests that check nothing leaks.
namespace tessel::test {

// GetGuiResources where the system implements it; elsewhere (Wine) the live entries of the
// process's handle table, probed by index.
unsigned GdiObjectCount();

}  // namespace tessel::test
