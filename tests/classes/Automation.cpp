#include "tests/classes/Automation.h"

#include "tests/support/Prelude.h"

#include "host/WindowObject.h"

namespace tessel::test {

namespace {

// The recorder of this thread, while one lives.
std::vector<std::string>* g_lines = nullptr;
HHOOK g_hook = nullptr;

std::string HexOf(uintptr_t v) {
  char s[24];
  snprintf(s, sizeof s, "%llx", static_cast<unsigned long long>(v));
  return s;
}

std::string Describe(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case TTM_ADDTOOLA: {
      const auto* t = reinterpret_cast<const TTTOOLINFOA*>(lp);
      const RECT& r = t->rect;
      return "TTM_ADDTOOLA(" + HexOf(t->uFlags) + "," + std::to_string(t->uId) + "," + std::to_string(r.left) + " " +
             std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + "," +
             (t->hwnd == GetWindow(w, GW_OWNER) ? "owner," : "") +
             (t->hinst == reinterpret_cast<HINSTANCE>(ServerModule()) ? "server," : "") +
             (t->lpszText ? t->lpszText : "") + ")";
    }
    case TTM_ADDTOOLW: {  // recorded in UTF-8
      const auto* t = reinterpret_cast<const TTTOOLINFOW*>(lp);
      return "TTM_ADDTOOLW(" + HexOf(t->uFlags) + "," + (t->hwnd == GetWindow(w, GW_OWNER) ? "owner," : "") +
             tessel::Utf8FromWide(t->lpszText ? t->lpszText : L"") + ")";
    }
    case TTM_SETTITLEW:
      return "TTM_SETTITLEW(" + std::to_string(static_cast<INT_PTR>(wp)) + "," + tessel::Utf8FromWide(lp ? reinterpret_cast<const wchar_t*>(lp) : L"") + ")";
    case TTM_SETTITLEA: return "TTM_SETTITLEA(" + std::to_string(static_cast<INT_PTR>(wp)) + "," + (lp ? reinterpret_cast<const char*>(lp) : "") + ")";
    case TTM_SETMAXTIPWIDTH: return "TTM_SETMAXTIPWIDTH(" + std::to_string(lp) + ")";
    case TTM_SETTIPTEXTCOLOR: return "TTM_SETTIPTEXTCOLOR(" + HexOf(wp) + ")";
    case TTM_SETTIPBKCOLOR: return "TTM_SETTIPBKCOLOR(" + HexOf(wp) + ")";
    case TTM_ACTIVATE: return "TTM_ACTIVATE(" + std::to_string(wp) + ")";
    default: return "WM_USER+" + std::to_string(m - WM_USER);
  }
}

// Stays on the tip until it goes; records only while a recorder lives.
LRESULT CALLBACK RecordingProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (g_lines && m >= WM_USER && m < WM_USER + 0x80) g_lines->push_back(Describe(w, m, wp, lp));
  return DefSubclassProc(w, m, wp, lp);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  HWND w = reinterpret_cast<HWND>(wp);
  if (code == HCBT_CREATEWND && g_lines && ClassOf(w) == L"tooltips_class32") {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
    const bool server = cs->hInstance == reinterpret_cast<HINSTANCE>(ServerModule());
    g_lines->push_back("create(" + HexOf(static_cast<DWORD>(cs->style)) + "," + HexOf(cs->dwExStyle) +
                       (server ? ",server)" : ")"));
    SetWindowSubclass(w, RecordingProc, 1, 0);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

ParentWindow::ParentWindow()
    : hwnd_(CreateWindowExW(0, L"Static", L"parent", WS_POPUP, 50, 50, 320, 200, nullptr, nullptr, nullptr, nullptr)) {
  object_.Attach(NewWindowObject(hwnd_));
}

TipRecorder::TipRecorder() {
  g_lines = new std::vector<std::string>;
  g_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

TipRecorder::~TipRecorder() {
  UnhookWindowsHookEx(g_hook);
  delete std::exchange(g_lines, nullptr);
}

const std::vector<std::string>& TipRecorder::lines() const { return *g_lines; }
void TipRecorder::clear() { g_lines->clear(); }

}  // namespace tessel::test
