#pragma once
// Something kept for each window of the calling thread, in the process: found on every message
// without asking the system, as a window property or the window's user data would. The table is
// made with its first window and goes with its last, so nothing of it is torn down at the thread's
// end while windows of the thread may still be going.
#include <windows.h>

#include <unordered_map>
#include <vector>

namespace tessel {

template <class Value>
class WindowTable {
 public:
  static Value* Find(HWND hwnd) {
    if (!table_) return nullptr;
    const auto found = table_->find(hwnd);
    return found == table_->end() ? nullptr : &found->second;
  }
  static void Set(HWND hwnd, const Value& value) {
    if (!table_) table_ = new std::unordered_map<HWND, Value>;
    (*table_)[hwnd] = value;
  }
  static std::vector<HWND> Windows() {
    std::vector<HWND> windows;
    if (table_)
      for (const auto& entry : *table_) windows.push_back(entry.first);
    return windows;
  }
  static void Erase(HWND hwnd) {
    if (!table_) return;
    table_->erase(hwnd);
    if (table_->empty()) {
      delete table_;
      table_ = nullptr;
    }
  }

 private:
  static inline thread_local std::unordered_map<HWND, Value>* table_ = nullptr;
};

}  // namespace tessel
