#pragma once
// A standard or balloon tooltip attached to one window. The tooltip window is rebuilt from the
// stored settings after every change except Active, so its handle changes with each rebuild.
#include <windows.h>
#include <commctrl.h>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessel {

// The tool as sent to the tooltip window: the Win32 tool-information record in its ANSI form,
// ending with the application value (44 bytes in a 32-bit process; pointer-sized fields grow in a
// 64-bit one). The reserved pointer of newer headers is left out on purpose.
// Char is char for the ANSI record, wchar_t for the same record with wide text (a tip whose text
// or title the ANSI code page cannot hold).
template <class Char>
struct ToolRecord {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  Char* lpszText;
  LPARAM lParam;
};
using ToolRecordA = ToolRecord<char>;
using ToolRecordW = ToolRecord<wchar_t>;
static_assert(offsetof(ToolRecordA, uFlags) == offsetof(TTTOOLINFOA, uFlags));
static_assert(offsetof(ToolRecordA, rect) == offsetof(TTTOOLINFOA, rect));
static_assert(offsetof(ToolRecordA, lpszText) == offsetof(TTTOOLINFOA, lpszText));
static_assert(offsetof(ToolRecordA, lParam) == offsetof(TTTOOLINFOA, lParam));
static_assert(offsetof(ToolRecordW, lpszText) == offsetof(TTTOOLINFOW, lpszText));
static_assert(offsetof(ToolRecordW, lParam) == offsetof(TTTOOLINFOW, lParam));
#if !defined(_WIN64)
static_assert(sizeof(ToolRecordA) == 44, "the ANSI tool record is 44 bytes in a 32-bit process");
#endif

enum class ToolIcon : int32_t { None = 0, Info = 1, Warning = 2, Error = 3 };   // toolIconType
enum class ToolStyle : int32_t { Standard = 0, Balloon = 1 };                   // toolStyleEnum

struct ToolTipSettings {
  int32_t foreColor = 0;   // RGB; 0 keeps the system text colour
  std::wstring title;
  int32_t backColor = 0;   // RGB; 0 keeps the system background
  HWND parent = nullptr;   // the tool window and owner of the tip
  int32_t icon = 0;
  bool centered = false;
  int32_t style = 0;
  std::wstring tipText;
  bool active = false;
};

class BalloonToolTip {
 public:
  static constexpr DWORD kStandardStyle = WS_POPUP | WS_BORDER | TTS_ALWAYSTIP | TTS_NOPREFIX;  // 0x80800003
  static constexpr DWORD kBalloonStyle = kStandardStyle | TTS_BALLOON;                          // 0x80800043
  static constexpr UINT kSubclassFlag = TTF_SUBCLASS;                                           // 0x10
  static constexpr UINT kCenteredFlags = TTF_SUBCLASS | TTF_CENTERTIP;                          // 0x12
  static constexpr int kMaxTipWidth = 300;

  explicit BalloonToolTip(HINSTANCE moduleInstance) : instance_(moduleInstance) {}
  BalloonToolTip(const BalloonToolTip&) = delete;
  BalloonToolTip& operator=(const BalloonToolTip&) = delete;
  // Releasing the object leaves the window to its owner, which destroys it with itself.
  ~BalloonToolTip() = default;

  const ToolTipSettings& Settings() const { return settings_; }
  HWND Window() const { return window_; }

  // The create methods work in two steps: the style is stored first, so a parent that cannot
  // tell its window handle leaves only the style changed.
  void BeginCreate(ToolStyle style) { settings_.style = static_cast<int32_t>(style); }
  void FinishCreate(HWND parent, std::wstring text, std::wstring title, int32_t icon);

  void SetActive(bool active);
  void SetParent(HWND parent);
  void SetStyle(int32_t style);
  void SetCentered(bool centered);
  void SetIcon(int32_t icon);
  void SetForeColor(int32_t color);
  void SetTitle(std::wstring title);
  void SetBackColor(int32_t color);
  void SetTipText(std::wstring text);

  // Destroys the tooltip window; the settings stay for the next build.
  void Remove();

  // A standard tip shows no information icon: only warning and error survive CreateTip.
  static int32_t StandardTipIcon(int32_t icon) { return (icon <= 3 && icon != 1) ? icon : 0; }

 private:
  void Build();
  // Adds the tool and its title through the narrow messages, or the wide ones when needed.
  void AddToolAndTitle(const RECT& client);
  void Rebuild();

  HINSTANCE instance_;
  ToolTipSettings settings_;
  HWND window_ = nullptr;
};

}  // namespace tessel
