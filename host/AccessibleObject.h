#pragma once
// The object assistive technology gets for a form or a placed control (IAccessible, with
// IOleWindow for the window it stands for). It holds only the window: every question reads the
// window again, so an object kept past its control answers CO_E_OBJNOTCONNECTED and never reaches
// freed memory.
#include <windows.h>

#include "host/AccessibleView.h"

namespace tessel {

// Answers WM_GETOBJECT on window for OBJID_CLIENT with the object of kind for target (the window
// it describes: a field's edit answers for its control's window). 0 for any other object id, or
// when target holds nothing of that kind: the system's own object stands in.
LRESULT AnswerAccessibleQuery(AccessibleKind kind, HWND target, WPARAM wp, LPARAM lp);
// The same for an edit: the object of the control holding it, when that control is a text field.
LRESULT AnswerFieldEditQuery(HWND edit, WPARAM wp, LPARAM lp);

// Lets the object of a window go as the window is destroyed (disconnecting its clients).
void ForgetAccessibleObject(HWND window);

// The message a control's own window gets, posted, to do what accDoDefaultAction asked (wParam:
// 0 the control, n its part n).
UINT DefaultActionMessage();

// Objects alive in the process, for leak checks.
long LiveAccessibleObjects();

}  // namespace tessel
