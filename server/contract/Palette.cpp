#include "server/contract/Palette.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <mutex>
#include <optional>

namespace tessel {
namespace {

std::atomic<int> g_forced{-1};  // -1 the system's answer, else the test's

bool ReadHighContrast() {
  if (const int forced = g_forced.load(std::memory_order_relaxed); forced >= 0) return forced == 1;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0)) return false;
  return (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Read once, then again whenever a window hears of a change: a paint never asks the system.
std::atomic<int> g_state{-1};  // -1 not read yet, 0 off, 1 on

constexpr std::array<int, 8> kRoleIndex = {
    COLOR_BTNFACE,       // Face
    COLOR_BTNTEXT,       // FaceText
    COLOR_WINDOW,        // Window
    COLOR_WINDOWTEXT,    // WindowText
    COLOR_HIGHLIGHT,     // Highlight
    COLOR_HIGHLIGHTTEXT, // HighlightText
    COLOR_GRAYTEXT,      // GrayText
    COLOR_WINDOWFRAME,   // Frame
};

// What a control's look is made of, as last read: every system colour and the scheme.
struct Look {
  std::array<COLORREF, COLOR_MENUBAR + 1> colours{};
  bool highContrast = false;
  bool operator==(const Look&) const = default;
};
std::mutex g_lookLock;
std::optional<Look> g_look;
uint32_t g_lookSerial = 0;

Look ReadLook() {
  Look look;
  for (int i = 0; i <= COLOR_MENUBAR; ++i) look.colours[static_cast<size_t>(i)] = GetSysColor(i);
  look.highContrast = HighContrast();
  return look;
}

}  // namespace

bool HighContrast() {
  int state = g_state.load(std::memory_order_relaxed);
  if (state < 0) {
    state = ReadHighContrast() ? 1 : 0;
    g_state.store(state, std::memory_order_relaxed);
  }
  return state == 1;
}

bool RefreshHighContrast() {
  const int now = ReadHighContrast() ? 1 : 0;
  return g_state.exchange(now, std::memory_order_relaxed) != now;
}

uint32_t RefreshSystemLook() {
  RefreshHighContrast();
  const Look now = ReadLook();
  std::lock_guard lock(g_lookLock);
  if (g_look && *g_look != now) ++g_lookSerial;
  g_look = now;
  return g_lookSerial;
}

uint32_t SystemLookSerial() {
  std::lock_guard lock(g_lookLock);
  if (!g_look) g_look = ReadLook();
  return g_lookSerial;
}

void SetHighContrastForTesting(int on) {
  g_forced.store(on < 0 ? -1 : (on ? 1 : 0), std::memory_order_relaxed);
  RefreshHighContrast();
}

int32_t RoleColor(ColorRole role) {
  return static_cast<int32_t>(GetSysColor(kRoleIndex[static_cast<size_t>(role)]));
}

int32_t PaletteColor(int32_t rgb, ColorRole role) { return HighContrast() ? RoleColor(role) : rgb; }

}  // namespace tessel
