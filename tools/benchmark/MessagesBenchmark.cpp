// Messages: what a shown form costs every message its thread sends, to our controls and to any
// other window. The field of a KvTextBox that has had the focus, asked for its text length, beside
// a native EDIT asked the same in a thread with no form at all; then what a control does with the
// commonest input: the mouse moving over a ButtonStyle beside a comctl32 6 BUTTON (which tracks the
// mouse for its hot look too), and a character typed into a KvTextBox's field beside an EDIT, each
// pair on the same shown form.
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

// A ButtonStyle and a KvTextBox on a shown form, each beside its native twin on the same form.
struct Input {
  std::unique_ptr<Form> form = Form::Create(L"Input benchmark", 6000, 3000, true, &LibraryTypes());
  HWND button = form->Add(L"ButtonStyle", L"cmd", 150, 150, 1800, 480).hWnd();
  HWND field = FindWindowExW(form->Add(L"KvTextBox", L"txt", 150, 900, 1800, 375).hWnd(), nullptr, L"EDIT", nullptr);
  HWND nativeButton = Child(L"BUTTON", BS_PUSHBUTTON, 10, 110);
  HWND nativeEdit = Child(L"EDIT", ES_AUTOHSCROLL, 60, 110);

  HWND Child(const wchar_t* cls, DWORD style, int top, int left) {
    return NativeChild(form->hWnd(), cls, L"", WS_TABSTOP | style, RECT{left + 100, top, left + 220, top + 32}, true);
  }
  // The cursor put over a window, as it is when the window gets its mouse moves.
  static void PointAt(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    SetCursorPos(r.left + 20, r.top + 10);
    PumpPending();
  }
  // The mouse moved over a window, back and forth by one pixel, as a hand does.
  static void Hover(HWND w) {
    for (int i = 0; i < kMessages; ++i) SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(20 + (i & 1), 10));
  }
  // A character typed and taken back, the field's text the same after each pair.
  static void Type(HWND w) {
    for (int i = 0; i < kMessages / 2; ++i) {
      SendMessageW(w, WM_CHAR, 'a', 1);
      SendMessageW(w, WM_CHAR, VK_BACK, 1);
    }
  }
};

const Registration kMessagesGroup(L"messages", [] {
  auto m = std::make_shared<Messaging>();
  std::vector<Comparison> rows;
  Comparison sent{L"WM_GETTEXTLENGTH sent to a KvTextBox's field on a shown form, per message",
                  L"the same to an EDIT, no form in the thread", [m] { Send(m->field); },
                  [m] { Send(m->edit); }, 20};
  sent.prepare = [m] { m->Show(); };
  sent.prepareNative = [m] { m->Close(); };
  rows.push_back(std::move(sent));
  auto in = std::make_shared<Input>();
  PumpPending();
  Comparison hover{L"WM_MOUSEMOVE over a ButtonStyle, per message", L"the same over a BUTTON, comctl32 6",
                   [in] { Input::Hover(in->button); }, [in] { Input::Hover(in->nativeButton); }, 20};
  hover.prepare = [in] { Input::PointAt(in->button); };
  hover.prepareNative = [in] { Input::PointAt(in->nativeButton); };
  rows.push_back(std::move(hover));
  // Typed where the keyboard types: into the window that has the focus.
  Comparison typed{L"a character typed into a KvTextBox's field and taken back, per message", L"the same into an EDIT",
                   [in] { Input::Type(in->field); }, [in] { Input::Type(in->nativeEdit); }, 20};
  typed.prepare = [in] { SetFocus(in->field); };
  typed.prepareNative = [in] { SetFocus(in->nativeEdit); };
  rows.push_back(std::move(typed));
  for (Comparison& row : rows) row.units = kMessages;
  return rows;
});

}  // namespace
}  // namespace tessel::bench
