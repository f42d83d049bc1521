#include "server/contract/WindowClass.h"

#include <iterator>
#include <mutex>
#include <set>
#include <string>

#include "server/contract/ThisModule.h"

namespace tessel {
namespace {

std::mutex g_lock;
std::set<std::wstring, std::less<>> g_registered;

}  // namespace

bool EnsureModuleClass(const WNDCLASSEXW& wc) {
  std::lock_guard lock(g_lock);
  if (g_registered.contains(std::wstring_view(wc.lpszClassName))) return true;
  // Held already: registered by this module before a reload at the same address that could not
  // take it away (a window of it was left), whose procedures are the same code.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  g_registered.emplace(wc.lpszClassName);
  return true;
}

void UnregisterModuleClasses() {
  std::lock_guard lock(g_lock);
  for (auto it = g_registered.begin(); it != g_registered.end();)
    it = UnregisterClassW(it->c_str(), ThisModule()) ? g_registered.erase(it) : std::next(it);
}

}  // namespace tessel
