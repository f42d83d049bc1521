#include "host/DropTarget.h"

#include <stdexcept>
#include <string>

#include "host/ControlSite.h"
#include "host/DragHandler.h"
#include "server/contract/Twips.h"
#include "server/contract/UserControl.h"

namespace tessel {
namespace {

// Buttons of a drag's key state: 1 left, 2 right, 4 middle.
int16_t DragButtons(DWORD keys) {
  return static_cast<int16_t>(((keys & MK_LBUTTON) ? 1 : 0) | ((keys & MK_RBUTTON) ? 2 : 0) |
                              ((keys & MK_MBUTTON) ? 4 : 0));
}

// Shift keys of a drag's key state: 1 Shift, 2 Ctrl, 4 Alt.
int16_t DragShift(DWORD keys) {
  return static_cast<int16_t>(((keys & MK_SHIFT) ? 1 : 0) | ((keys & MK_CONTROL) ? 2 : 0) |
                              ((keys & MK_ALT) ? 4 : 0));
}

}  // namespace

Microsoft::WRL::ComPtr<DropTarget> DropTarget::Register(HWND window, WindowAt windowAt) {
  Microsoft::WRL::ComPtr<DropTarget> target;
  target.Attach(new DropTarget(window, std::move(windowAt)));
  const HRESULT hr = RegisterDragDrop(window, target.Get());
  if (hr == E_OUTOFMEMORY || hr == CO_E_NOTINITIALIZED) return nullptr;  // no OLE on this thread
  if (FAILED(hr)) throw std::runtime_error("RegisterDragDrop failed with " + std::to_string(hr));
  target->registered_ = true;
  return target;
}

void DropTarget::Revoke() {
  if (!registered_) return;
  registered_ = false;
  RevokeDragDrop(window_);
  data_.Reset();
  over_ = nullptr;
}

HRESULT DropTarget::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDropTarget) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG DropTarget::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

UserControl* DropTarget::Current() const {
  // A control that is going has no control behind its window any more.
  HostedControl* site = over_ ? HostedControl::OfWindow(over_) : nullptr;
  return site ? site->Control() : nullptr;
}

void DropTarget::Track(DWORD keys, POINTL screen) {
  button_ = DragButtons(keys);
  shift_ = DragShift(keys);
  POINT p{screen.x, screen.y};
  if (over_) ScreenToClient(over_, &p);
  x_ = static_cast<float>(TwipsFromPixelsX(p.x));
  y_ = static_cast<float>(TwipsFromPixelsY(p.y));
}

DWORD DropTarget::Over(int16_t state, DWORD allowed) {
  UserControl* control = Current();
  if (!control || !data_) return DROPEFFECT_NONE;
  IDataObject* data = data_.Get();
  auto effect = static_cast<int32_t>(allowed);
  int16_t button = button_, shift = shift_;
  float x = x_, y = y_;
  if (!RunDragHandler(*control, L"OLEDragOver", [&] { control->OLEDragOver(data, effect, button, shift, x, y, state); }))
    return DROPEFFECT_NONE;
  return static_cast<DWORD>(effect) & allowed;
}

void DropTarget::Leave() {
  if (over_) Over(1, effect_);
  over_ = nullptr;
  effect_ = DROPEFFECT_NONE;
}

HRESULT DropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL screen, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  data_ = data;
  over_ = windowAt_ ? windowAt_(POINT{screen.x, screen.y}) : nullptr;
  Track(keys, screen);
  effect_ = Over(0, *effect);
  *effect = effect_;
  return S_OK;
}

HRESULT DropTarget::DragOver(DWORD keys, POINTL screen, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  HWND under = windowAt_ ? windowAt_(POINT{screen.x, screen.y}) : nullptr;
  int16_t state = 2;
  if (under != over_) {
    // From one control to another: the one left behind hears its leave before the next its enter.
    Leave();
    over_ = under;
    state = 0;
  }
  Track(keys, screen);
  effect_ = Over(state, *effect);
  *effect = effect_;
  return S_OK;
}

HRESULT DropTarget::DragLeave() {
  Leave();
  data_.Reset();
  return S_OK;
}

HRESULT DropTarget::Drop(IDataObject* data, DWORD keys, POINTL screen, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  HWND under = windowAt_ ? windowAt_(POINT{screen.x, screen.y}) : nullptr;
  if (under != over_) Leave();
  data_.Reset();
  over_ = under;
  Track(keys, screen);
  UserControl* control = Current();
  over_ = nullptr;
  effect_ = DROPEFFECT_NONE;
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  if (!control || !data) return S_OK;
  IDataObject* dropped = data;
  auto answer = static_cast<int32_t>(allowed);
  int16_t button = button_, shift = shift_;
  float x = x_, y = y_;
  if (RunDragHandler(*control, L"OLEDragDrop", [&] { control->OLEDragDrop(dropped, answer, button, shift, x, y); }))
    *effect = static_cast<DWORD>(answer) & allowed;
  return S_OK;
}

}  // namespace tessel
