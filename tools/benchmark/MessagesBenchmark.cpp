// Messages: what a shown form costs every message its thread sends, to our controls and to any
// other window. The field of a KvTextBox that has had the focus, asked for its text length, beside
// a native EDIT asked the same in a thread with no form at all.
#include <windows.h>

#include <memory>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

constexpr int kMessages = 100;

struct Messaging {
  std::unique_ptr<Form> form;
  HWND field = nullptr;
  HWND top = nullptr, edit = nullptr;

  void Show() {
    if (form) return;
    DestroyWindow(top);
    top = edit = nullptr;
    form = Form::Create(L"Messages benchmark", 3000, 1500, true, &LibraryTypes());
    field = FindWindowExW(form->Add(L"KvTextBox", L"field", 150, 150, 1650, 375).hWnd(), nullptr, L"EDIT", nullptr);
    SetFocus(field);
    PumpPending();
  }
  void Close() {
    form.reset();
    if (!top) {
      top = CreateWindowExW(0, L"STATIC", L"Native", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
      edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"Text1", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 110,
                             25, top, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    PumpPending();
  }
  ~Messaging() {
    if (top) DestroyWindow(top);
  }
};

void Send(HWND w) {
  for (int i = 0; i < kMessages; ++i) SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
}

const Registration kMessagesGroup(L"messages", [] {
  auto m = std::make_shared<Messaging>();
  Comparison row{L"WM_GETTEXTLENGTH sent to a KvTextBox's field on a shown form, per message",
                 L"the same to an EDIT, no form in the thread", [m] { Send(m->field); },
                 [m] { Send(m->edit); }, 20};
  row.prepare = [m] { m->Show(); };
  row.prepareNative = [m] { m->Close(); };
  row.units = kMessages;
  return std::vector<Comparison>{std::move(row)};
});

}  // namespace
}  // namespace tessel::bench
