#pragma once
// The COM enumerators a control object hands out: of its connection points and of the sinks
// advised on one. Each holds a reference of its own to every item, taken when it is made, so the
// items it lists stay while it lives; Next hands out another reference per item, as COM asks.
#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <vector>

namespace tessel::ole {

namespace detail {
inline void Hold(IUnknown* item) { if (item) item->AddRef(); }
inline void Drop(IUnknown* item) { if (item) item->Release(); }
inline void Hold(const CONNECTDATA& item) { Hold(item.pUnk); }
inline void Drop(const CONNECTDATA& item) { Drop(item.pUnk); }
}  // namespace detail

template <class IEnum, class Item>
class Enumerator final : public IEnum {
 public:
  // A new enumerator over items, or null without memory.
  static IEnum* Make(std::vector<Item> items) {
    return new (std::nothrow) Enumerator(std::move(items), 0);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(IEnum))) {
      *ppv = static_cast<IEnum*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && next_ < items_.size(); ++n, ++next_) {
      out[n] = items_[next_];
      detail::Hold(out[n]);
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    const size_t left = items_.size() - next_;
    next_ += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnum** copy) override {
    if (!copy) return E_POINTER;
    *copy = new (std::nothrow) Enumerator(items_, next_);
    return *copy ? S_OK : E_OUTOFMEMORY;
  }

 private:
  Enumerator(std::vector<Item> items, size_t next) : items_(std::move(items)), next_(next) {
    for (const Item& item : items_) detail::Hold(item);
  }
  ~Enumerator() {
    for (const Item& item : items_) detail::Drop(item);
  }

  std::atomic<long> refs_{1};
  std::vector<Item> items_;
  size_t next_;
};

using ConnectionPointsEnumerator = Enumerator<IEnumConnectionPoints, IConnectionPoint*>;
using ConnectionsEnumerator = Enumerator<IEnumConnections, CONNECTDATA>;

}  // namespace tessel::ole
