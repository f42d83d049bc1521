// Accessibility: what a screen reader asks of a button as the focus lands on it (the object from
// the window, then its name, role and state), of a ButtonStyle beside a native push button that
// the system's own proxy answers for; and the three answers alone, from objects already held. The
// query of a ButtonStyle is then taken apart: the window's answer to WM_GETOBJECT taken back by
// ObjectFromLresult, the system's hand-over alone (LresultFromObject of the object already made,
// taken back), and the taking back alone; what the window adds to the hand-over is ours.
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
    for (LRESULT r : handedOver) TakeBack(r);
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

  // The object a WM_GETOBJECT answer hands over, taken back as a client in the process would.
  static void TakeBack(LRESULT result) {
    IAccessible* object = nullptr;
    if (result > 0 && SUCCEEDED(ObjectFromLresult(result, __uuidof(IAccessible), 0, reinterpret_cast<void**>(&object))))
      object->Release();
  }

  IAccessible* heldOurs = nullptr;
  IAccessible* heldNative = nullptr;
  std::vector<LRESULT> handedOver;  // made untimed, taken back one per repetition
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
  rows.push_back({L"WM_GETOBJECT to a ButtonStyle, its answer taken back by ObjectFromLresult", L"",
                  [bench] { AccessibleBench::TakeBack(SendMessageW(bench->ours, WM_GETOBJECT, 0, OBJID_CLIENT)); }, {}, 200});
  rows.push_back({L"LresultFromObject of the object already made, taken back (the system's hand-over)", L"",
                  [bench] { AccessibleBench::TakeBack(LresultFromObject(__uuidof(IAccessible), 0, bench->heldOurs)); }, {},
                  200});
  constexpr int kTakeBacks = 200;
  rows.push_back({L"ObjectFromLresult alone (the taking back)", L"",
                  [bench] {
                    if (bench->handedOver.empty()) return;
                    AccessibleBench::TakeBack(bench->handedOver.back());
                    bench->handedOver.pop_back();
                  },
                  {}, kTakeBacks, [bench] {
                    for (LRESULT r : bench->handedOver) AccessibleBench::TakeBack(r);
                    bench->handedOver.clear();
                    for (int i = 0; i < kTakeBacks; ++i)
                      bench->handedOver.push_back(LresultFromObject(__uuidof(IAccessible), 0, bench->heldOurs));
                  }});
  return rows;
});

}  // namespace
}  // namespace tessel::bench
