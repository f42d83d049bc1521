#pragma once
// One user control of the library as an ActiveX control: the OLE object a container creates by
// class identity. It stands between the container's client site and the contract the controls
// follow: it is the control's container (extender, ambient, host services), holds the control in a
// window of its own that the container's window adopts while the control is active in place, and
// answers the container's calls through the control's properties, persistence and drawing.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <wrl/client.h>

#include "host/ControlSite.h"
#include "host/DropTarget.h"
#include "olehost/ConnectionPoint.h"
#include "olehost/ControlEvents.h"
#include "olehost/DualInterfaces.h"
#include "olehost/FocusWatch.h"
#include "olehost/OleControls.h"
#include "olehost/VariantValues.h"
#include "server/contract/UniqueHandle.h"

namespace tessel::ole {

namespace detail {
inline void CloseAccelerators(HACCEL table) { DestroyAcceleratorTable(table); }
}  // namespace detail
using unique_haccel = unique_handle<HACCEL, detail::CloseAccelerators>;

class OleControl final : public IDispatch,
                         public IOleObject,
                         public IOleInPlaceObject,
                         public IOleInPlaceActiveObject,
                         public IOleControl,
                         public IViewObjectEx,
                         public IPersistStreamInit,
                         public IPersistPropertyBag,
                         public IProvideClassInfo2,
                         public IConnectionPointContainer,
                         public ISupportErrorInfo,
                         public IQuickActivate,
                         public ControlContainer,
                         public EventSink,
                         public DualTarget,
                         public FocusListener {
 public:
  explicit OleControl(const OleControlClass& cls);
  ~OleControl() override;
  OleControl(const OleControl&) = delete;
  OleControl& operator=(const OleControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch (OleControlDispatch.cpp)
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override;
  // IProvideClassInfo2
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;
  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  // IOleObject (OleControlObject.cpp)
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR app, LPCOLESTR object) override;
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                                   LPCRECT pos) override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* type) override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return INPLACE_E_NOTUNDOABLE; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG* msg) override;
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID id) override;
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

  // IQuickActivate
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) override { return SetExtent(DVASPECT_CONTENT, size); }
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) override { return GetExtent(DVASPECT_CONTENT, size); }

  // IViewObject, IViewObject2, IViewObjectEx (OleControlView.cpp)
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                                 HDC dc, LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* keepGoing)(ULONG_PTR),
                                 ULONG_PTR argument) override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;
  HRESULT STDMETHODCALLTYPE GetRect(DWORD aspect, LPRECTL rect) override;
  HRESULT STDMETHODCALLTYPE GetViewStatus(DWORD* status) override;
  HRESULT STDMETHODCALLTYPE QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* hit) override;
  HRESULT STDMETHODCALLTYPE QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* hit) override;
  HRESULT STDMETHODCALLTYPE GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override {
    return E_NOTIMPL;
  }

  // IPersist, IPersistStreamInit, IPersistPropertyBag (OleControlPersist.cpp)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override;
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
  HRESULT STDMETHODCALLTYPE InitNew() override;
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

 private:
  // ControlContainer, for the control this object holds
  OleColor ContainerBackColor(const HostedControl&) const override { return ambient_.backColor; }
  HostServices& ContainerHost() override;
  IDropTarget* ContainerDropTarget() const override { return dropTarget_.Get(); }
  // A container need not pass the system's messages on to the windows inside it (Wine's ATL
  // container does not): the control finds a change of look at its next paint, which the system's
  // change brings.
  bool ContainerPassesSystemChanges() const override { return false; }
  void ControlPropertyChanged(HostedControl&, std::wstring_view key) override;
  // EventSink
  void Fire(DISPID id, std::span<VARIANTARG> args) override;
  // FocusListener: the control hears the focus come and go as on a form, and takes the focus's
  // arrival as the container's cue to make it the active object.
  HWND FocusRoot() const override { return holder_; }
  void FocusEntered() override;
  void FocusLeft() override;
  // DualTarget: the path Invoke and the dual interface's vtable share.
  IDispatch& Automation() override { return *this; }
  HRESULT CallProperty(DISPID id, bool put, VARIANT* value) override;
  HRESULT CallProperty(DISPID id, bool put, VARIANT* value, std::wstring& description);

  // Makes the control (InitProperties without bag, ReadProperties with one or with the values kept
  // when its window went) when it is not made yet, in a holder at place in parent (null: hidden, in
  // the thread's parking window at the extent); an error is answered with its description.
  HRESULT EnsureLoaded(PropertyBag* bag, HWND parent = nullptr, const RECT* place = nullptr);
  HRESULT LoadFrom(PropertyBag& bag, std::optional<SIZEL> extent);
  UserControl* Control() const { return hosted_ ? hosted_->Control() : nullptr; }
  SIZE ExtentPixels() const;  // the extent told by the container, in pixels
  // The extent a container reads and a save keeps: once the control is made, the size it stands at
  // in whole pixels (a field keeps its smallest height, a rule its own, whatever it was told).
  SIZEL OwnExtent();
  void SizeControl();  // the control takes the extent
  void SettleExtent();  // the control takes an extent told while it was not active, when it is needed
  void GiveSize(int width, int height, const wchar_t* step);  // pixels, when they are new
  // A control that keeps a size of its own (a field, its font's height) and so stands other than
  // the container's rectangle asks the container to take its own (IOleInPlaceSite::OnPosRectChange).
  void OfferOwnRect();
  HRESULT InPlaceActivate(bool uiActivate);
  // Out of the container's window: parked to be activated again, or, when closing, destroyed where
  // it stands with the control's values kept.
  HRESULT Deactivate(bool closing);
  void KeepValues();  // the holder goes while the object lives on
  HRESULT UIActivate();
  // The ambient properties from the client site's ambient dispatch, or what a form would give
  // without one; the control hears of each that changed, and of alsoName in any case.
  void ReadAmbient(std::wstring_view alsoName = {});
  void ApplyAmbient(const AmbientProperties& fresh, std::wstring_view alsoName = {});
  void TakeDrops();    // the drop target on the holder, once a sink could hear the drag events
  void Park();         // the holder window back to a hidden top-level window of its own
  HRESULT Fail(HRESULT hr, const std::wstring& description);
  static LRESULT CALLBACK HolderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  std::atomic<long> refs_{1};
  OleControlClass class_;
  std::wstring name_;
  std::unique_ptr<HostedControl> hosted_;
  HWND holder_ = nullptr;  // destroyed with the object
  SIZEL extent_{};         // HIMETRIC
  SIZE given_{-1, -1};     // the size the control was last given, pixels
  RECT placed_{};          // the holder's rectangle in its parent, as it was last moved
  bool extentPending_ = false;  // an extent told while not active, not yet given to the control
  AmbientProperties ambient_;
  bool dirty_ = false;
  // InitNew or Load was called: a control made by InitNew waits for the first call that needs it,
  // normally the activation, which makes its window in the container's window.
  bool initialized_ = false;
  std::optional<PropertyBag> kept_;  // the values of a control whose window went, to make it again
  bool inPlace_ = false;
  bool uiActive_ = false;
  bool offering_ = false;  // inside OnPosRectChange, where the container may set the rectangle again
  long frozen_ = 0;
  Microsoft::WRL::ComPtr<IOleClientSite> site_;
  Microsoft::WRL::ComPtr<IOleInPlaceSite> inPlaceSite_;
  Microsoft::WRL::ComPtr<IOleInPlaceFrame> frame_;
  Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> document_;
  Microsoft::WRL::ComPtr<IOleAdviseHolder> adviseHolder_;
  Microsoft::WRL::ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0, viewFlags_ = 0;
  unique_haccel accelerators_;
  EventConnectionPoint events_;
  Microsoft::WRL::ComPtr<DropTarget> dropTarget_;  // on the holder: drags over the control
  std::unique_ptr<DualInterface> dual_;  // answers IDispatch and the control's dual interface
};

}  // namespace tessel::ole
