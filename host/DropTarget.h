#pragma once
// The OLE drop target of a form's window. OLE walks from the window under the cursor up to the
// first registered one, so this one target serves every hosted control on the form: it hands each
// notification to the control under the cursor as its OLEDragOver (entering, moving, leaving) and
// OLEDragDrop, with the data object of the drag, the effects the source allows, the mouse buttons
// and shift keys of the drag and the position in twips of that control's window. A drag that
// moves from one control to another makes the first hear it leave and the second hear it enter.
#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstdint>
#include <functional>

namespace tessel {

class UserControl;

class DropTarget final : public IDropTarget {
 public:
  // The window of the hosted control under a point of the screen (null: no control takes the drag
  // there).
  using WindowAt = std::function<HWND(POINT screen)>;

  // Registers a new drop target on window. Without OLE on the thread (a host that never called
  // OleInitialize) the window takes no drops and null is returned; any other failure throws.
  static Microsoft::WRL::ComPtr<DropTarget> Register(HWND window, WindowAt windowAt);
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
  DropTarget(HWND window, WindowAt windowAt) : window_(window), windowAt_(std::move(windowAt)) {}
  ~DropTarget() = default;
  // The control whose window is over_, while it is still loaded.
  UserControl* Current() const;
  // Takes the keys of a notification and its position in over_'s pixels.
  void Track(DWORD keys, POINTL screen);
  // Raises OLEDragOver on the current control with state (0 enter, 2 over, 1 leave); returns the
  // effect to answer.
  DWORD Over(int16_t state, DWORD allowed);
  // The control that was under the drag hears it leave, with what it heard last.
  void Leave();

  LONG refs_ = 1;
  HWND window_;
  WindowAt windowAt_;
  bool registered_ = false;
  HWND over_ = nullptr;                        // the control window under the drag
  Microsoft::WRL::ComPtr<IDataObject> data_;  // the drag over the window, between enter and leave or drop
  DWORD effect_ = DROPEFFECT_NONE;             // the last answer, reported again when the drag leaves
  int16_t button_ = 0, shift_ = 0;
  float x_ = 0, y_ = 0;
};

}  // namespace tessel
