#pragma once
// The window classes this module registers. The system takes a program's classes away when it
// ends, but not a library's when it is unloaded: the server takes its own away then, so that the
// server loaded again (at the same address or another) registers its classes and procedures anew.
#include <windows.h>

namespace tessel {

// Registers the class (its hInstance being this module) unless this module holds it already;
// false only when it could not be registered. Cheap once registered: a window may call it each time.
bool EnsureModuleClass(const WNDCLASSEXW& wc);
// Takes away every class EnsureModuleClass registered (a class with windows left stays registered
// and is found again); the server calls it when it is unloaded.
void UnregisterModuleClasses();

}  // namespace tessel
