#pragma once
// The vtable half of each control's dual interface: every property's get_ and put_ method, made
// from the same member lists as the type library (olehost/ControlMembers.h), passes its value as
// a VARIANT to the path IDispatch::Invoke takes, so both halves give the same values and errors.
#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string_view>

namespace tessel::ole {

// The object a dual interface belongs to: its identity and automation, and the property path.
class DualTarget {
 public:
  virtual ~DualTarget() = default;
  virtual IDispatch& Automation() = 0;
  // Reads the property the identifier names into value (put: writes it from value); a refused
  // value is answered with its code, the thread's error object describing it.
  virtual HRESULT CallProperty(DISPID id, bool put, VARIANT* value) = 0;
};

class DualInterface {
 public:
  virtual ~DualInterface() = default;
  virtual IDispatch* Interface() = 0;  // the dual interface's vtable
};

// The dual interface of a control type over target; null for a type that has none.
std::unique_ptr<DualInterface> MakeDualInterface(std::wstring_view typeName, DualTarget& target);

}  // namespace tessel::ole
