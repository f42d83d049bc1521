#pragma once
// The automation face of a window: an object whose only member is the read-only "hWnd", which is
// what automation classes such as CBalloonToolTip ask of the form or control they are given.
#include <windows.h>
#include <oleauto.h>

namespace tessel {

// A new object with one reference, owned by the caller.
IDispatch* NewWindowObject(HWND window);

}  // namespace tessel
