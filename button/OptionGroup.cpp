// The option group: option-mode buttons on one container find each other through properties of
// the container's window, "lv_OptCount" and one "<index>lv_Obj" per member in the order joined.
// Joining takes no reference on the button; a member leaves before it goes away.
#include <string>

#include "button/ButtonStyle.h"

namespace tessel {
namespace {

constexpr const char* kCountProp = "lv_OptCount";

std::string MemberKey(int index) { return std::to_string(index) + "lv_Obj"; }

ButtonStyle* Member(HWND container, int index) {
  return reinterpret_cast<ButtonStyle*>(GetPropA(container, MemberKey(index).c_str()));
}

}  // namespace

bool ButtonStyle::OptionGroup(int16_t action) {
  HWND c = s_.containerWindow;
  if (!c) return false;
  const int n = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(c, kCountProp)));
  if (s_.value && (action == 1 || n >= 1)) {
    for (int i = 1; i <= n; ++i) {
      ButtonStyle* other = Member(c, i);
      if (other && other != this) other->SetValue(false);
    }
  }
  switch (action) {
    case -1: {
      int slot = 0;
      for (int i = 1; i <= n && !slot; ++i)
        if (Member(c, i) == this) slot = i;
      if (!slot) return false;
      for (int i = slot; i < n; ++i) SetPropA(c, MemberKey(i).c_str(), reinterpret_cast<HANDLE>(Member(c, i + 1)));
      RemovePropA(c, MemberKey(n).c_str());
      if (n == 1) RemovePropA(c, kCountProp);
      else SetPropA(c, kCountProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(n - 1)));
      joinedGroup_ = false;
      return false;
    }
    case 1:
      SetPropA(c, kCountProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(n + 1)));
      SetPropA(c, MemberKey(n + 1).c_str(), reinterpret_cast<HANDLE>(this));
      joinedGroup_ = true;
      return false;
    case 2:
      for (int i = 1; i <= n; ++i) {
        ButtonStyle* member = Member(c, i);
        if (member && member->s_.value) return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace tessel
