// What a ButtonStyle tells assistive technology: a push, check or option button by its mode,
// named by its caption, with the states its look shows.
#include "button/ButtonStyle.h"

namespace tessel {

void ButtonStyle::Describe(AccessibleDescription& d) const {
  static constexpr AccessibleRole kRoles[] = {AccessibleRole::PushButton, AccessibleRole::CheckButton,
                                              AccessibleRole::RadioButton};
  const bool command = s_.mode == modeCommand;
  d.role = s_.mode >= modeCommand && s_.mode <= modeOption ? kRoles[s_.mode] : AccessibleRole::PushButton;
  d.name = WithoutAccessMarks(s_.caption);
  if (s_.PressedLook()) d.states |= kAccessiblePressed;
  if (!command && s_.value) d.states |= kAccessibleChecked;
  if (s_.Has(isHot)) d.states |= kAccessibleHot;
  if (command && s_.Has(isDefault)) d.states |= kAccessibleDefault;
  // What a click does: a check button's click unchecks it once checked; an option's always checks.
  d.defaultAction = command ? L"Press" : (s_.mode == modeCheck && s_.value ? L"Uncheck" : L"Check");
}

}  // namespace tessel
