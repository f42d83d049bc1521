#pragma once
// Owners for the automation values that need freeing: strings, variants and exception records.
// COM interface pointers are held in Microsoft::WRL::ComPtr.
#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "server/contract/UniqueHandle.h"

namespace tessel {

namespace detail {
inline void CloseBstr(BSTR s) { SysFreeString(s); }
}  // namespace detail

using unique_bstr = unique_handle<BSTR, detail::CloseBstr>;

// A VARIANT that is cleared when it leaves scope; get() for calls that fill or read it.
class unique_variant {
 public:
  unique_variant() { VariantInit(&v_); }
  ~unique_variant() { VariantClear(&v_); }
  unique_variant(const unique_variant&) = delete;
  unique_variant& operator=(const unique_variant&) = delete;
  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }
  VARIANT* operator->() { return &v_; }
  const VARIANT* operator->() const { return &v_; }
  void reset() {
    VariantClear(&v_);
    VariantInit(&v_);
  }

 private:
  VARIANT v_;
};

// An EXCEPINFO that a failed IDispatch::Invoke may fill; its strings are freed when it goes.
class unique_excepinfo {
 public:
  unique_excepinfo() = default;
  ~unique_excepinfo() {
    SysFreeString(e_.bstrSource);
    SysFreeString(e_.bstrDescription);
    SysFreeString(e_.bstrHelpFile);
  }
  unique_excepinfo(const unique_excepinfo&) = delete;
  unique_excepinfo& operator=(const unique_excepinfo&) = delete;
  EXCEPINFO* get() { return &e_; }
  const EXCEPINFO* operator->() const { return &e_; }

 private:
  EXCEPINFO e_{};
};

}  // namespace tessel
