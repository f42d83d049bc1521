#include "classes/BalloonToolTip.h"

#include "server/contract/Ansi.h"

#include <utility>

namespace tessel {

namespace {

// The tip dies with its owner; a handle kept after that may since name some other window.
void DestroyIfStillOurs(HWND tip) {
  if (!IsWindow(tip) || GetWindowThreadProcessId(tip, nullptr) != GetCurrentThreadId()) return;
  char name[32] = {};
  GetClassNameA(tip, name, sizeof(name));
  if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) DestroyWindow(tip);
}

void EnsureTooltipClass() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

void BalloonToolTip::Build() {
  if (window_) {
    DestroyIfStillOurs(window_);
    window_ = nullptr;
  }
  const DWORD style = settings_.style == static_cast<int32_t>(ToolStyle::Balloon) ? kBalloonStyle : kStandardStyle;
  if (!settings_.parent) return;

  EnsureTooltipClass();
  // Failures of the window calls are not reported: without a window the later messages reach nothing.
  window_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, settings_.parent, nullptr, instance_, nullptr);
  if (!window_) return;
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);

  RECT client{};
  GetClientRect(settings_.parent, &client);
  AddToolAndTitle(client);
  if (settings_.foreColor != 0)
    SendMessageA(window_, TTM_SETTIPTEXTCOLOR, static_cast<WPARAM>(static_cast<uint32_t>(settings_.foreColor)), 0);
  if (settings_.backColor != 0)
    SendMessageA(window_, TTM_SETTIPBKCOLOR, static_cast<WPARAM>(static_cast<uint32_t>(settings_.backColor)), 0);
}

void BalloonToolTip::AddToolAndTitle(const RECT& client) {
  const UINT flags = settings_.centered ? kCenteredFlags : kSubclassFlag;
  const WPARAM icon = static_cast<WPARAM>(static_cast<INT_PTR>(settings_.icon));
  if (AnsiHolds(settings_.tipText) && AnsiHolds(settings_.title)) {
    // Text of the code page goes as it always went: the narrow messages, the narrow record.
    std::string text = AnsiFromWide(settings_.tipText);
    ToolRecordA tool{sizeof(ToolRecordA), flags, settings_.parent, 0, client, instance_, text.data(), 0};
    SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(window_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    std::string title = AnsiFromWide(settings_.title);
    SendMessageA(window_, TTM_SETTITLEA, icon, reinterpret_cast<LPARAM>(title.data()));
    return;
  }
  std::wstring text = settings_.tipText;
  ToolRecordW tool{sizeof(ToolRecordW), flags, settings_.parent, 0, client, instance_, text.data(), 0};
  SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
  std::wstring title = settings_.title;
  SendMessageW(window_, TTM_SETTITLEW, icon, reinterpret_cast<LPARAM>(title.data()));
}

void BalloonToolTip::Rebuild() {
  const bool active = settings_.active;
  Build();
  SetActive(active);
}

void BalloonToolTip::FinishCreate(HWND parent, std::wstring text, std::wstring title, int32_t icon) {
  settings_.parent = parent;
  settings_.tipText = std::move(text);
  settings_.title = std::move(title);
  settings_.icon = settings_.style == static_cast<int32_t>(ToolStyle::Balloon) ? icon : StandardTipIcon(icon);
  Build();
  SetActive(true);
}

void BalloonToolTip::SetActive(bool active) {
  settings_.active = active;
  if (window_) SendMessageA(window_, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void BalloonToolTip::SetParent(HWND parent) { settings_.parent = parent; Rebuild(); }
void BalloonToolTip::SetStyle(int32_t style) { settings_.style = style; Rebuild(); }
void BalloonToolTip::SetCentered(bool centered) { settings_.centered = centered; Rebuild(); }
void BalloonToolTip::SetIcon(int32_t icon) { settings_.icon = icon; Rebuild(); }
void BalloonToolTip::SetForeColor(int32_t color) { settings_.foreColor = color; Rebuild(); }
void BalloonToolTip::SetTitle(std::wstring title) { settings_.title = std::move(title); Rebuild(); }
void BalloonToolTip::SetBackColor(int32_t color) { settings_.backColor = color; Rebuild(); }
void BalloonToolTip::SetTipText(std::wstring text) { settings_.tipText = std::move(text); Rebuild(); }

void BalloonToolTip::Remove() {
  if (window_) {
    DestroyIfStillOurs(window_);
    window_ = nullptr;
  }
}

}  // namespace tessel
