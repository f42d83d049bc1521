#pragma once
// The system's colours as a test changes them: new ones, a high-contrast scheme, and the way back.
#include "tests/support/Prelude.h"


namespace tessel::test {

using Colours = std::map<int, COLORREF>;

// Every system colour as it stands now.
inline Colours CurrentColours() {
  Colours colours;
  for (int i = 0; i <= COLOR_MENUBAR; ++i) colours[i] = GetSysColor(i);
  return colours;
}

// Through SetSysColors, which sends every top-level window WM_SYSCOLORCHANGE and then repaints them.
inline void SetColours(const Colours& colours) {
  std::vector<int> index;
  std::vector<COLORREF> value;
  for (const auto& [i, c] : colours) index.push_back(i), value.push_back(c);
  SetSysColors(static_cast<int>(index.size()), index.data(), value.data());
}

inline const Colours kFresh = {{COLOR_BTNFACE, RGB(10, 120, 200)}, {COLOR_BTNTEXT, RGB(250, 250, 0)},
                               {COLOR_WINDOW, RGB(30, 30, 90)}, {COLOR_WINDOWTEXT, RGB(0, 255, 128)}};

// A high-contrast scheme: white on black, cyan highlight, green for what is unavailable.
inline const Colours kScheme = {
    {COLOR_BTNFACE, RGB(0, 0, 0)},        {COLOR_BTNTEXT, RGB(255, 255, 255)},  {COLOR_WINDOW, RGB(0, 0, 0)},
    {COLOR_WINDOWTEXT, RGB(255, 255, 255)}, {COLOR_HIGHLIGHT, RGB(0, 255, 255)}, {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
    {COLOR_GRAYTEXT, RGB(0, 255, 0)},     {COLOR_WINDOWFRAME, RGB(255, 255, 255)}, {COLOR_3DLIGHT, RGB(255, 255, 255)},
    {COLOR_3DHILIGHT, RGB(255, 255, 255)}, {COLOR_3DSHADOW, RGB(255, 255, 255)}, {COLOR_3DDKSHADOW, RGB(255, 255, 255)},
    {COLOR_INACTIVEBORDER, RGB(255, 255, 255)},
};

}  // namespace tessel::test
