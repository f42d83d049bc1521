#pragma once
// The gallery: one top-level window with a band per section. Each section is a function that adds
// its parts into the band it is given; add a row to the table in Sections.cpp to add a section.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "host/WindowObject.h"  // NewWindowObject: a window as a parent for CBalloonToolTip
#include "server/contract/ScaledPixels.h"

namespace tessel::gallery {

// A length in pixels of a 96-dpi screen as pixels of this screen (PixelsForScreen, short): the
// gallery's own windows are laid out at 96 dpi and shown as large in inches at any resolution, as
// the controls are (the same number at 96 dpi).
inline int Px(int pixelsAt96) { return PixelsForScreen(pixelsAt96); }

class SectionArea {
 public:
  SectionArea(HWND window, HINSTANCE instance, RECT bounds) : window_(window), instance_(instance), bounds_(bounds) {}

  HWND Window() const { return window_; }     // the gallery window, parent of every part
  HINSTANCE Instance() const { return instance_; }
  RECT Bounds() const { return bounds_; }     // where the parts go, in the window's client pixels
  // Parts at offsets from the top left of the band, in pixels of a 96-dpi screen (Px).
  HWND AddText(const std::wstring& text, int x, int y, int width, int height);
  HWND AddButton(const std::wstring& text, int x, int y, int width, int height);
  // The band's height in pixels of a 96-dpi screen, once the section knows it (the default is the
  // height it was given).
  void SetHeight(int height) { bounds_.bottom = bounds_.top + Px(height); }
  // Runs when the gallery closes, before COM is shut down: release objects, close windows.
  void OnClose(std::function<void()> cleanup) { cleanups_.push_back(std::move(cleanup)); }
  std::vector<std::function<void()>>& Cleanups() { return cleanups_; }

 private:
  HWND window_;
  HINSTANCE instance_;
  RECT bounds_;
  std::vector<std::function<void()>> cleanups_;
};

using SectionFunction = void (*)(SectionArea& area);

struct Section {
  const wchar_t* title;
  SectionFunction add;
};

std::span<const Section> Sections();

// Sections of the public automation classes (ClassSections.cpp).
void AddToolTipSection(SectionArea& area);
void AddSystemSection(SectionArea& area);

// Automation helpers for sections that use the server by ProgID.
HRESULT CreateByProgId(const wchar_t* progId, IDispatch** object);
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args, VARIANT* result);

// A part the pointer rests on before a screenshot is taken, so that its tip shows in the picture;
// the parts are visited in the order given.
void HoverInScreenshot(HWND part);
// What gives the focus to the part that shows it in the picture, run once the windows are laid out.
void FocusInScreenshot(std::function<void()> focus);

// Lays the gallery's top-level windows side by side on the screen, none over another.
void LayOutForScreenshot(HWND gallery);

// Writes the screen area of every visible top-level window of this process to a PNG file.
HRESULT SaveScreenshot(const std::wstring& path);

}  // namespace tessel::gallery
