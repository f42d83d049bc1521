#pragma once
// The OLE drop target on a hosted control's own window. Registered when the window is made and
// revoked before it goes, it turns the system's drag notifications into the control's OLEDragOver
// (entering, moving, leaving) and OLEDragDrop, with the data object of the drag, the effects the
// source allows, the mouse buttons and shift keys of the drag and the position in twips.
#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>

namespace tessel {

class UserControl;

class DropTarget final : public IDropTarget {
 public:
  // The control the notifications go to at the moment they arrive (null: the window takes no drop).
  using ControlOf = std::function<UserControl*()>;

  // Registers a new drop target on window. Without OLE on the thread (a host that never called
  // OleInitialize) the window takes no drops and null is returned; any other failure throws.
  static Microsoft::WRL::ComPtr<DropTarget> Register(HWND window, ControlOf control);
  // Takes the registration off the window; called before the window is destroyed.
  void Revoke();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDropTarget
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL screen, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL screen, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL screen, DWORD* effect) override;

 private:
  DropTarget(HWND window, ControlOf control) : window_(window), control_(std::move(control)) {}
  ~DropTarget() = default;
  // Takes the keys and position of a notification.
  void Track(DWORD keys, POINTL screen);
  // Raises OLEDragOver with state (0 enter, 2 over, 1 leave); returns the effect to answer.
  DWORD Over(int16_t state, DWORD allowed);

  LONG refs_ = 1;
  HWND window_;
  ControlOf control_;
  bool registered_ = false;
  Microsoft::WRL::ComPtr<IDataObject> data_;  // the drag over the window, between enter and leave or drop
  DWORD allowed_ = DROPEFFECT_NONE;
  DWORD effect_ = DROPEFFECT_NONE;             // the last answer, reported again when the drag leaves
  int16_t button_ = 0, shift_ = 0;
  float x_ = 0, y_ = 0;
};

}  // namespace tessel
