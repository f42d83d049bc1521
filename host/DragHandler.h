#pragma once
// Runs a control's drag-and-drop handler from inside an OLE callback, where nothing may escape: a
// handler that fails is reported to the host's diagnostics and the caller goes on as if it had
// answered nothing.
#include <exception>

#include "server/contract/PropertyBag.h"
#include "server/contract/UserControl.h"

namespace tessel {

template <class Fn>
bool RunDragHandler(UserControl& control, const wchar_t* handler, Fn&& fn) noexcept {
  try {
    fn();
    return true;
  } catch (const std::exception& e) {
    try {
      control.Host().ReportSkippedStep(control.Extender().name, handler, WideFromUtf8(e.what()));
    } catch (const std::exception&) {
      ReportToDebugger(control.Extender().name, handler, L"(the host could not take the report)");
    }
  }
  return false;
}

}  // namespace tessel
