// Accessibility: what a screen reader asks of a button as the focus lands on it (the object from
// the window, then its name, role and state), of a ButtonStyle beside a native push button that
// the system's own proxy answers for; and the three answers alone, from objects already held.
#include <oleacc.h>

#include <memory>
#include <vector>

#include "button/ButtonStyle.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

struct AccessibleBench {
  ControlTypes types;
  std::unique_ptr<Form> form;
  HWND ours = nullptr;
  HWND native = nullptr;

  AccessibleBench() {
    RegisterLibraryControls(types);
    form = Form::Create(L"Accessibility benchmark", 4000, 2000, true, &types);
    auto& button = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"cmd", 150, 150, 120 * 15, 32 * 15));
    button.SetCaption(L"&Gravar");
    ours = button.hWnd();
    native = CreateWindowExW(0, L"BUTTON", L"&Gravar", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 60, 120, 32,
                             form->hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpPending();
  }
  ~AccessibleBench() {
    if (heldOurs) heldOurs->Release();
    if (heldNative) heldNative->Release();
    if (native) DestroyWindow(native);
  }

  static IAccessible* ObjectOf(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
      return nullptr;
    return object;
  }
  // One query as a screen reader makes it when the focus lands on the window.
  static void Query(HWND window) {
    if (IAccessible* object = ObjectOf(window)) {
      Answers(object);
      object->Release();
    }
  }
  static void Answers(IAccessible* object) {
    if (!object) return;
    VARIANT self, role, state;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    object->get_accName(self, &name);
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    SysFreeString(name);
  }

  IAccessible* heldOurs = nullptr;
  IAccessible* heldNative = nullptr;
};

const Registration kAccessibility(L"accessibility", [] {
  auto bench = std::make_shared<AccessibleBench>();
  std::vector<Comparison> rows;
  rows.push_back({L"AccessibleObjectFromWindow + name, role and state, one ButtonStyle",
                  L"the same of a BUTTON (the system's proxy)", [bench] { AccessibleBench::Query(bench->ours); },
                  [bench] { AccessibleBench::Query(bench->native); }, 200});
  bench->heldOurs = AccessibleBench::ObjectOf(bench->ours);
  bench->heldNative = AccessibleBench::ObjectOf(bench->native);
  rows.push_back({L"name, role and state of a ButtonStyle's object already held",
                  L"the same of a BUTTON's proxy already held", [bench] { AccessibleBench::Answers(bench->heldOurs); },
                  [bench] { AccessibleBench::Answers(bench->heldNative); }, 500});
  return rows;
});

}  // namespace
}  // namespace tessel::bench
