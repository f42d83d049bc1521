#pragma once
// The required-field check of a form's KvTextBox fields: a window that gathers input calls it for
// each field in turn and stops at the first False.
#include "inputs/KvTextBox.h"

namespace tessel {

// False, after telling the user with an information message box titled "Atenção!" that shows the
// field's ValidarMSG, when the field is required and its text is empty. A text of spaces counts
// as filled.
bool ValidarTextBox(KvTextBox& field);

}  // namespace tessel
