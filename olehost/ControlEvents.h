#pragma once
// The controls' events as calls of their event dispinterface: each C++ event of a control is bound
// to one dispatch identifier, and its by-reference arguments go out as VT_BYREF variants, so a
// handler that changes one changes what the control goes on with.
#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>
#include <vector>
#include <string_view>

#include "server/contract/UserControl.h"

namespace tessel::ole {

class EventSink {
 public:
  virtual ~EventSink() = default;
  // args are in DISPPARAMS order: the last argument first.
  virtual void Fire(DISPID id, std::span<VARIANTARG> args) = 0;
};

// Binds every event of control (a control of the library, by its type name) to sink, each under
// the dispatch identifier its name has in events (the control's events dispinterface).
void BindEvents(UserControl& control, EventSink& sink, ITypeInfo* events);

// The C++ events of a control type as they are bound, in the order of its Events: name, the
// arguments' automation types (by reference), and the size of the event member.
struct EventSignature {
  std::wstring name;
  std::vector<VARTYPE> arguments;
  size_t size;
};
std::vector<EventSignature> EventsOf(std::wstring_view typeName);

}  // namespace tessel::ole
