#include "inputs/ValidarTextBox.h"

namespace tessel {

bool ValidarTextBox(KvTextBox& field) {
  const bool required = field.ValidarCampo();
  const std::wstring text = field.Text();
  if (!required || !text.empty()) return true;
  // The box belongs to the window the field stands in, so it stays in front of that form.
  HWND owner = field.Site().ParentWindow();
  if (owner) owner = GetAncestor(owner, GA_ROOT);
  field.Host().MessageBox(owner, field.ValidarMSG(), L"Aten\u00e7\u00e3o!", MB_OK | MB_ICONINFORMATION);
  return false;
}

}  // namespace tessel
