// The control object's life, its site and in-place activation, keyboard and ambient properties.
#include <windows.h>
#include <olectl.h>

#include <algorithm>
#include <new>

#include "host/ControlTypes.h"
#include "olehost/OleControl.h"
#include "server/contract/HostServices.h"
#include "server/contract/ThisModule.h"
#include "server/contract/Twips.h"
#include "server/contract/WindowClass.h"

namespace tessel::ole {

namespace {

using Microsoft::WRL::ComPtr;

std::atomic<long> g_alive{0};

constexpr wchar_t kHolderClass[] = L"TesselOleControl";
// A control without an extent from its container: 81 x 25 pixels at 96 dpi.
constexpr SIZEL kDefaultExtent{2143, 661};

int TwipsFromHimetric(LONG himetric) { return MulDiv(himetric, 1440, 2540); }

bool HolderClass() {
  static const WNDCLASSEXW wc = [] {
    WNDCLASSEXW c{sizeof(c)};
    c.lpfnWndProc = DefWindowProcW;  // replaced per window by the object's own procedure
    c.hInstance = ThisModule();
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.lpszClassName = kHolderClass;
    return c;
  }();
  return EnsureModuleClass(wc);
}

// The standard ambient properties by dispatch identifier, as the contract names them.
struct AmbientName {
  DISPID id;
  const wchar_t* name;
};
constexpr AmbientName kAmbientNames[] = {
    {DISPID_AMBIENT_BACKCOLOR, L"BackColor"},   {DISPID_AMBIENT_FORECOLOR, L"ForeColor"},
    {DISPID_AMBIENT_FONT, L"Font"},             {DISPID_AMBIENT_USERMODE, L"UserMode"},
    {DISPID_AMBIENT_DISPLAYNAME, L"DisplayName"}, {DISPID_AMBIENT_DISPLAYASDEFAULT, L"DisplayAsDefault"},
};

bool AmbientValue(IDispatch* ambient, DISPID id, VARIANT* out) {
  DISPPARAMS none{};
  VariantInit(out);
  return ambient && SUCCEEDED(ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out,
                                              nullptr, nullptr));
}

// The hidden window a thread's holders stand in while no container holds them. Holders are
// children from the start and move between parents as children: a top-level window per control
// costs several times the placing of the control itself under Wine, where each is a window of
// the display. It stays for the thread's life, a window of the system's own class.
HWND ParkingWindow() {
  thread_local HWND parking = nullptr;
  if (!parking || !IsWindow(parking))
    parking = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"Static", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, nullptr, nullptr);
  return parking;
}

// Whether a control's events include the drag events a drop target raises.
bool HearsDrags(std::wstring_view typeName) {
  for (const EventSignature& e : EventsOf(typeName))
    if (e.name == L"OLEDragOver" || e.name == L"OLEDragDrop") return true;
  return false;
}

}  // namespace

bool OleControlsAlive() { return g_alive.load() != 0; }

HRESULT CreateOleControl(const OleControlClass& cls, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!ControlTypes::Default().Find(cls.typeName)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* control = new (std::nothrow) OleControl(cls);
  if (!control) return E_OUTOFMEMORY;
  HRESULT hr = control->QueryInterface(riid, ppv);
  control->Release();
  return hr;
}

OleControl::OleControl(const OleControlClass& cls)
    : class_(cls),
      name_(std::wstring(cls.typeName) + L"1"),
      extent_(kDefaultExtent),
      events_(*this, cls.events, [this] { TakeDrops(); }),
      dual_(MakeDualInterface(cls.typeName, *this)) {
  ++g_alive;
  WatchFocus(*this);
  ReadAmbient();
}

OleControl::~OleControl() {
  StopWatchingFocus(*this);
  Deactivate(true);  // an active control's window goes where it stands
  events_.Clear();
  if (hosted_) hosted_->Unload();
  hosted_.reset();
  if (holder_) DestroyWindow(holder_);  // which takes the drop target off it
  --g_alive;
}

HRESULT OleControl::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  void* found = nullptr;
  ComPtr<ITypeInfo> properties;
  IDispatch* automation = dual_ ? dual_->Interface() : static_cast<IDispatch*>(this);
  if (IsEqualIID(riid, IID_IUnknown))
    found = static_cast<IDispatch*>(this);
  else if (IsEqualIID(riid, IID_IDispatch))
    found = automation;
  else if (IsEqualIID(riid, IID_IOleObject))
    found = static_cast<IOleObject*>(this);
  else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject))
    found = static_cast<IOleInPlaceObject*>(this);
  else if (IsEqualIID(riid, IID_IOleInPlaceActiveObject))
    found = static_cast<IOleInPlaceActiveObject*>(this);
  else if (IsEqualIID(riid, IID_IOleControl))
    found = static_cast<IOleControl*>(this);
  else if (IsEqualIID(riid, IID_IViewObject) || IsEqualIID(riid, IID_IViewObject2) ||
           IsEqualIID(riid, IID_IViewObjectEx))
    found = static_cast<IViewObjectEx*>(this);
  else if (IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStreamInit))
    found = static_cast<IPersistStreamInit*>(this);
  else if (IsEqualIID(riid, IID_IPersistPropertyBag))
    found = static_cast<IPersistPropertyBag*>(this);
  else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
    found = static_cast<IProvideClassInfo2*>(this);
  else if (IsEqualIID(riid, IID_IConnectionPointContainer))
    found = static_cast<IConnectionPointContainer*>(this);
  else if (IsEqualIID(riid, IID_ISupportErrorInfo))
    found = static_cast<ISupportErrorInfo*>(this);
  else if (IsEqualIID(riid, IID_IQuickActivate))
    found = static_cast<IQuickActivate*>(this);
  else if (SUCCEEDED(PropertiesTypeInfo(class_.clsid, &properties))) {
    // The control's own dispinterface.
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(properties->GetTypeAttr(&attr))) {
      if (IsEqualIID(riid, attr->guid)) found = automation;  // the control's dual interface
      properties->ReleaseTypeAttr(attr);
    }
  }
  if (!found) return E_NOINTERFACE;
  *ppv = found;
  AddRef();
  return S_OK;
}

ULONG OleControl::AddRef() { return static_cast<ULONG>(++refs_); }

ULONG OleControl::Release() {
  const long left = --refs_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HostServices& OleControl::ContainerHost() { return PlatformHostServices(); }

void OleControl::ControlPropertyChanged(HostedControl&, std::wstring_view) {
  dirty_ = true;
  if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

void OleControl::Fire(DISPID id, std::span<VARIANTARG> args) {
  if (frozen_ > 0) return;  // a container that froze events does not want them
  events_.Fire(id, args);
}

HRESULT OleControl::Fail(HRESULT hr, const std::wstring& description) {
  ComPtr<ICreateErrorInfo> create;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(IID_IDispatch);
    create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
    const std::wstring source = L"TesselOCX." + std::wstring(class_.typeName);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(&info))) SetErrorInfo(0, info.Get());
  }
  return hr;
}

LRESULT CALLBACK OleControl::HolderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<OleControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    switch (msg) {
      case WM_SETFOCUS:
        // The focus goes on to the control's first stop.
        if (self->hosted_) {
          const std::vector<HWND> stops = self->hosted_->TabStops();
          if (!stops.empty()) SetFocus(stops.front());
        }
        return 0;
      case WM_PARENTNOTIFY:
        // A click inside the control makes it the container's active object.
        if (LOWORD(wp) == WM_LBUTTONDOWN || LOWORD(wp) == WM_RBUTTONDOWN || LOWORD(wp) == WM_MBUTTONDOWN)
          self->UIActivate();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // the control covers every pixel
      case WM_GETOBJECT:
      case WM_GETTEXT:
      case WM_GETTEXTLENGTH:
        // Assistive technology that walks the container's windows finds the control itself here,
        // named as its own window is, rather than an unnamed client standing around it.
        if (self->hosted_ && (msg != WM_GETOBJECT || static_cast<LONG>(lp) == OBJID_CLIENT))
          if (HWND control = self->hosted_->hWnd()) return SendMessageW(control, msg, wp, lp);
        break;
      case WM_SYSCOLORCHANGE:
      case WM_SETTINGCHANGE:
      case WM_THEMECHANGED:
        // Passed on by the container: the control's window hears it as on a form (and remakes its
        // look once however often it is told).
        if (self->hosted_)
          if (HWND control = self->hosted_->hWnd()) SendMessageW(control, msg, wp, lp);
        return 0;
      case WM_WINDOWPOSCHANGED: {
        // Kept here, so that a rectangle told again is known without asking the system.
        const auto* p = reinterpret_cast<const WINDOWPOS*>(lp);
        if (!(p->flags & SWP_NOMOVE)) OffsetRect(&self->placed_, p->x - self->placed_.left, p->y - self->placed_.top);
        if (!(p->flags & SWP_NOSIZE)) {
          self->placed_.right = self->placed_.left + p->cx;
          self->placed_.bottom = self->placed_.top + p->cy;
        }
        break;
      }
      case WM_DESTROY:
        if (self->dropTarget_) self->dropTarget_->Revoke();
        self->dropTarget_.Reset();
        // Closed, or gone with a container's window, while the object lives on: the control is made
        // again from its values when asked. It hears Terminate while its windows are still there.
        if (self->hosted_) {
          if (self->refs_ > 0) self->KeepValues();
          self->hosted_->Terminate();
        }
        break;
      case WM_NCDESTROY:
        // The control's own window went with it; the control is made again in a new holder when
        // asked for.
        self->holder_ = nullptr;
        if (self->hosted_) self->hosted_->Unload();
        self->hosted_.reset();
        self->given_ = {-1, -1};
        self->inPlace_ = self->uiActive_ = false;
        break;
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void OleControl::FocusEntered() {
  if (inPlace_ && !uiActive_) UIActivate();
  if (!ambient_.userMode || !Control()) return;
  try {
    Control()->EnterFocus();
  } catch (const std::exception& e) {
    ContainerHost().ReportSkippedStep(name_, L"EnterFocus", WideFromUtf8(e.what()));
  }
}

void OleControl::FocusLeft() {
  if (!ambient_.userMode || !Control()) return;
  try {
    Control()->ExitFocus();
  } catch (const std::exception& e) {
    ContainerHost().ReportSkippedStep(name_, L"ExitFocus", WideFromUtf8(e.what()));
  }
}

HRESULT OleControl::EnsureLoaded(PropertyBag* bag, HWND parent, const RECT* place) {
  if (hosted_) return bag ? CO_E_ALREADYINITIALIZED : S_OK;
  if (!HolderClass()) return HRESULT_FROM_WIN32(GetLastError());
  const SIZE extent = ExtentPixels();
  const int width = place ? std::max<int>(place->right - place->left, 0) : extent.cx;
  const int height = place ? std::max<int>(place->bottom - place->top, 0) : extent.cy;
  if (!holder_) {
    // Made in the container's window when it is known, shown with it; otherwise, until a container
    // adopts it, the control stands hidden in the thread's parking window.
    const RECT at = place ? *place : RECT{0, 0, width, height};
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (parent ? WS_VISIBLE : 0);
    holder_ = CreateWindowExW(0, kHolderClass, nullptr, style, at.left, at.top, width, height,
                              parent ? parent : ParkingWindow(), nullptr, ThisModule(), nullptr);
    if (!holder_) return HRESULT_FROM_WIN32(GetLastError());
    SetWindowLongPtrW(holder_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    placed_ = at;
    SetWindowLongPtrW(holder_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HolderProc));
  }
  TakeDrops();
  const ControlFactory* factory = ControlTypes::Default().Find(class_.typeName);
  if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
  ExtenderProperties extender;
  extender.name = name_;
  extender.width = TwipsFromPixelsX(width);
  extender.height = TwipsFromPixelsY(height);
  auto hosted = std::make_unique<HostedControl>(*this, std::wstring(class_.typeName), extender, ambient_);
  // The events go to the connection point from the first handler on.
  ComPtr<ITypeInfo> events;
  ControlsTypeInfo(class_.events, &events);
  const ControlFactory binding = [this, factory, &events](ControlSite& site) {
    std::unique_ptr<UserControl> control = (*factory)(site);
    if (control) BindEvents(*control, *this, events.Get());
    return control;
  };
  // Values kept when the control's window went make it again as it was; making it changes nothing
  // the container would save.
  PropertyBag* values = bag ? bag : kept_ ? &*kept_ : nullptr;
  const bool dirty = dirty_;
  const auto failed = [&](HRESULT hr, const std::wstring& text) {
    if (parent && holder_) DestroyWindow(holder_);  // nothing is left in the container's window
    return Fail(hr, text);
  };
  try {
    hosted->Load(holder_, binding, values);
  } catch (const ControlError& e) {
    std::wstring text = WideFromUtf8(e.what());
    if (!e.key().empty()) text = L"'" + e.key() + L"': " + text;
    return failed(e.key().empty() ? E_FAIL : CTL_E_INVALIDPROPERTYVALUE, text);
  } catch (const std::exception& e) {
    return failed(E_FAIL, WideFromUtf8(e.what()));
  }
  hosted_ = std::move(hosted);
  initialized_ = true;
  kept_.reset();
  dirty_ = dirty;
  extentPending_ = false;  // made at the extent
  given_ = {width, height};  // the size the control was made with
  return S_OK;
}

void OleControl::TakeDrops() {
  // Drags over the control reach it as its OLEDragOver and OLEDragDrop, as on a form. Only a sink
  // hears them, and a registration costs a placement a few dozen server requests under Wine: it is
  // made once a sink is advised, for a control that has those events.
  if (!holder_ || dropTarget_ || events_.empty() || !HearsDrags(class_.typeName)) return;
  try {
    dropTarget_ = DropTarget::Register(holder_, [this](POINT screen) -> HWND {
      const HWND control = Control() ? Control()->hWnd() : nullptr;
      RECT r{};
      return control && GetWindowRect(control, &r) && PtInRect(&r, screen) ? control : nullptr;
    });
  } catch (const std::exception& e) {
    ContainerHost().ReportSkippedStep(name_, L"take drops", WideFromUtf8(e.what()));
  }
}

SIZE OleControl::ExtentPixels() const {
  return SIZE{PixelsFromTwipsX(TwipsFromHimetric(extent_.cx)), PixelsFromTwipsY(TwipsFromHimetric(extent_.cy))};
}

SIZEL OleControl::OwnExtent() {
  SettleExtent();
  if (hosted_) {
    const RECT r = hosted_->PixelRect();
    extent_ = SIZEL{MulDiv(TwipsFromPixelsX(r.right - r.left), 2540, 1440),
                    MulDiv(TwipsFromPixelsY(r.bottom - r.top), 2540, 1440)};
  }
  return extent_;
}

void OleControl::SizeControl() {
  if (!hosted_) return;
  const auto [width, height] = ExtentPixels();
  if (!inPlace_ && (placed_.right - placed_.left != width || placed_.bottom - placed_.top != height))
    SetWindowPos(holder_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GiveSize(width, height, L"take the container's extent");
}

void OleControl::SettleExtent() {
  if (!extentPending_) return;
  extentPending_ = false;
  SizeControl();
}

void OleControl::GiveSize(int width, int height, const wchar_t* step) {
  // A container tells the same size several times while it activates a control: the control is
  // resized, and drawn again, only for a new one.
  if (!hosted_ || (width == given_.cx && height == given_.cy)) return;
  try {
    hosted_->Move(0, 0, TwipsFromPixelsX(width), TwipsFromPixelsY(height));
    given_ = {width, height};
  } catch (const std::exception& e) {
    ContainerHost().ReportSkippedStep(name_, step, WideFromUtf8(e.what()));
  }
}

void OleControl::ReadAmbient(std::wstring_view changedName) {
  AmbientProperties fresh;
  fresh.font = ambient_.font ? ambient_.font : Font::Create(FontDesc{});
  fresh.displayName = name_;
  ComPtr<IDispatch> ambient;
  if (site_) site_.As(&ambient);
  VARIANT v;
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_BACKCOLOR, &v)) {
    try { fresh.backColor = FromVariant<uint32_t>(v); } catch (const std::exception&) {}
    VariantClear(&v);
  }
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_FORECOLOR, &v)) {
    try { fresh.foreColor = FromVariant<uint32_t>(v); } catch (const std::exception&) {}
    VariantClear(&v);
  }
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_FONT, &v)) {
    try {
      if (FontRef font = FromVariant<FontRef>(v)) fresh.font = font;
    } catch (const std::exception&) {}
    VariantClear(&v);
  }
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_USERMODE, &v)) {
    try { fresh.userMode = FromVariant<bool>(v); } catch (const std::exception&) {}
    VariantClear(&v);
  }
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_DISPLAYNAME, &v)) {
    try {
      std::wstring name = FromVariant<std::wstring>(v);
      if (!name.empty()) fresh.displayName = std::move(name);
    } catch (const std::exception&) {}
    VariantClear(&v);
  }
  if (AmbientValue(ambient.Get(), DISPID_AMBIENT_DISPLAYASDEFAULT, &v)) {
    try { fresh.displayAsDefault = FromVariant<bool>(v); } catch (const std::exception&) {}
    VariantClear(&v);
  }
  ApplyAmbient(fresh, changedName);
}

void OleControl::ApplyAmbient(const AmbientProperties& fresh, std::wstring_view alsoName) {
  const AmbientProperties was = ambient_;
  ambient_ = fresh;
  if (!hosted_) return;
  const bool fontChanged = !was.font != !fresh.font ||
                           (was.font && fresh.font && !(was.font->Describe() == fresh.font->Describe()));
  const std::pair<bool, const wchar_t*> changes[] = {
      {was.backColor != fresh.backColor, L"BackColor"},
      {was.foreColor != fresh.foreColor, L"ForeColor"},
      {fontChanged, L"Font"},
      {was.userMode != fresh.userMode, L"UserMode"},
      {was.displayName != fresh.displayName, L"DisplayName"},
      {was.displayAsDefault != fresh.displayAsDefault, L"DisplayAsDefault"},
  };
  for (const auto& [changed, name] : changes)
    if (changed || (!alsoName.empty() && alsoName == name)) hosted_->ChangeAmbient(ambient_, name);
}

HRESULT OleControl::SetClientSite(IOleClientSite* site) {
  site_ = site;
  if (!site) return S_OK;
  ReadAmbient();
  return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  return site_.CopyTo(site);
}

HRESULT OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

HRESULT OleControl::Close(DWORD saveOption) {
  Deactivate(true);
  if (dirty_ && site_ && (saveOption == OLECLOSE_SAVEIFDIRTY)) site_->SaveObject();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT pos) {
  if (site && !site_) SetClientSite(site);
  HRESULT hr = S_OK;
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      hr = InPlaceActivate(!(class_.miscStatus & OLEMISC_NOUIACTIVATE));
      break;
    case OLEIVERB_INPLACEACTIVATE:
      hr = InPlaceActivate(false);
      break;
    case OLEIVERB_HIDE:
      if (holder_) ShowWindow(holder_, SW_HIDE);
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
  if (SUCCEEDED(hr) && pos && inPlace_) SetObjectRects(pos, pos);
  return hr;
}

HRESULT OleControl::InPlaceActivate(bool uiActivate) {
  if (!inPlace_) {
    ComPtr<IOleInPlaceSite> site;
    if (!site_ || FAILED(site_.As(&site))) return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    site->OnInPlaceActivate();
    HWND parent = nullptr;
    if (FAILED(site->GetWindow(&parent)) || !parent) {
      site->OnInPlaceDeactivate();
      return E_FAIL;
    }
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT pos{}, clip{};
    OLEINPLACEFRAMEINFO info{sizeof(info)};
    site->GetWindowContext(&frame, &document, &pos, &clip, &info);
    // A control not made yet is made in the container's window, at its place and shown; one made
    // before (its window asked for, or a property) moves there from the parking window.
    HRESULT hr = EnsureLoaded(nullptr, parent, &pos);
    if (FAILED(hr)) {
      site->OnInPlaceDeactivate();
      return hr;
    }
    inPlaceSite_ = site;
    frame_ = frame;
    document_ = document;
    if (GetParent(holder_) != parent) SetParent(holder_, parent);
    inPlace_ = true;
    SetObjectRects(&pos, &clip);
    if (!(GetWindowLongPtrW(holder_, GWL_STYLE) & WS_VISIBLE)) ShowWindow(holder_, SW_SHOWNA);
  }
  return uiActivate ? UIActivate() : S_OK;
}

HRESULT OleControl::UIActivate() {
  if (!inPlace_ || (class_.miscStatus & OLEMISC_NOUIACTIVATE)) return S_OK;
  if (!uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    const std::wstring title(class_.typeName);
    if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), title.c_str());
    if (document_) document_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), title.c_str());
    ComPtr<IOleControlSite> controlSite;
    if (site_ && SUCCEEDED(site_.As(&controlSite))) controlSite->OnFocus(TRUE);
  }
  HWND focus = GetFocus();
  if (!focus || !IsChild(holder_, focus)) SetFocus(holder_);
  return S_OK;
}

HRESULT OleControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (document_) document_->SetActiveObject(nullptr, nullptr);
  ComPtr<IOleControlSite> controlSite;
  if (site_ && SUCCEEDED(site_.As(&controlSite))) controlSite->OnFocus(FALSE);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT OleControl::InPlaceDeactivate() { return Deactivate(false); }

HRESULT OleControl::Deactivate(bool closing) {
  if (!inPlace_) return S_OK;
  UIDeactivate();
  // A closed object is active again only through a new DoVerb, which makes the control again in
  // the container's window: its window goes where it stands (a container closes its controls as
  // its window goes), and the control's values wait for it.
  if (closing)
    DestroyWindow(holder_);
  else
    Park();
  inPlace_ = false;
  ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
  frame_.Reset();
  document_.Reset();
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

void OleControl::Park() {
  if (!holder_) return;
  ShowWindow(holder_, SW_HIDE);
  SetParent(holder_, ParkingWindow());
}

void OleControl::KeepValues() {
  try {
    PropertyBag values;
    hosted_->Save(values);
    kept_ = std::move(values);
  } catch (const std::exception& e) {
    ContainerHost().ReportSkippedStep(name_, L"keep the values", WideFromUtf8(e.what()));
  }
}

HRESULT OleControl::SetObjectRects(LPCRECT pos, LPCRECT clip) {
  if (!pos) return E_POINTER;
  if (!inPlace_) return S_OK;
  const int width = std::max<LONG>(pos->right - pos->left, 0), height = std::max<LONG>(pos->bottom - pos->top, 0);
  const RECT& now = placed_;
  if (now.left != pos->left || now.top != pos->top || now.right - now.left != width || now.bottom - now.top != height)
    SetWindowPos(holder_, nullptr, pos->left, pos->top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // The container's rectangle is the extent from now on, in whole pixels.
  extent_.cx = MulDiv(TwipsFromPixelsX(width), 2540, 1440);
  extent_.cy = MulDiv(TwipsFromPixelsY(height), 2540, 1440);
  extentPending_ = false;
  GiveSize(width, height, L"take the container's rectangle");
  OfferOwnRect();
  return S_OK;
}

void OleControl::OfferOwnRect() {
  if (!inPlace_ || !inPlaceSite_ || offering_ || !hosted_ || !hosted_->hWnd()) return;
  RECT own{};
  if (!GetWindowRect(hosted_->hWnd(), &own)) return;
  const LONG width = own.right - own.left, height = own.bottom - own.top;
  if (width == placed_.right - placed_.left && height == placed_.bottom - placed_.top) return;
  RECT wanted{placed_.left, placed_.top, placed_.left + width, placed_.top + height};
  offering_ = true;
  inPlaceSite_->OnPosRectChange(&wanted);  // a container that takes it sets the rectangle again
  offering_ = false;
}

HRESULT OleControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = inPlace_ ? holder_ : nullptr;
  return *window ? S_OK : E_FAIL;
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(class_.clsid, verbs); }

HRESULT OleControl::GetUserType(DWORD form, LPOLESTR* type) { return OleRegGetUserType(class_.clsid, form, type); }

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size->cx < 0 || size->cy < 0) return E_INVALIDARG;
  extent_ = *size;
  // Outside a container's window the control takes the extent when it is drawn or asked: a
  // container that is about to activate it tells its rectangle next (Wine's ATL container tells
  // first an extent of a few pixels), and each size costs the control a layout and a paint.
  if (!inPlace_) extentPending_ = true;
  return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (!size) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  // A container asks after telling an extent to learn the one taken: the control is made for it
  // (once InitNew or Load was called), and answers with the size it keeps.
  if (initialized_) EnsureLoaded(nullptr);
  *size = OwnExtent();
  return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(&adviseHolder_))) return E_OUTOFMEMORY;
  return adviseHolder_->Advise(sink, cookie);
}

HRESULT OleControl::Unadvise(DWORD cookie) {
  return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT OleControl::EnumAdvise(IEnumSTATDATA** advises) {
  if (!advises) return E_POINTER;
  *advises = nullptr;
  return adviseHolder_ ? adviseHolder_->EnumAdvise(advises) : S_OK;
}

HRESULT OleControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? class_.miscStatus : 0;
  return S_OK;
}

HRESULT OleControl::TranslateAccelerator(LPMSG msg) {
  if (!msg) return E_INVALIDARG;
  // Tab, Enter, Esc and the access keys belong to the container, as with a native control: it
  // gets them first through its control site, and they are not translated here otherwise.
  if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
    const WPARAM key = msg->wParam;
    if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || msg->message == WM_SYSKEYDOWN) {
      ComPtr<IOleControlSite> controlSite;
      if (site_ && SUCCEEDED(site_.As(&controlSite))) {
        DWORD modifiers = 0;
        if (GetKeyState(VK_SHIFT) < 0) modifiers |= 1;
        if (GetKeyState(VK_CONTROL) < 0) modifiers |= 2;
        if (GetKeyState(VK_MENU) < 0) modifiers |= 4;
        if (controlSite->TranslateAccelerator(msg, modifiers) == S_OK) return S_OK;
      }
    }
  }
  return S_FALSE;
}

HRESULT OleControl::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  const std::wstring keys = SUCCEEDED(EnsureLoaded(nullptr)) ? Control()->AccessKeys() : std::wstring();
  std::vector<ACCEL> table;
  for (wchar_t ch : keys) {
    const SHORT scan = VkKeyScanW(ch);
    if (scan == -1) continue;
    table.push_back(ACCEL{static_cast<BYTE>(FVIRTKEY | FALT), static_cast<WORD>(LOBYTE(scan)), 0});
  }
  accelerators_.reset(table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = accelerators_.get();
  info->cAccel = static_cast<USHORT>(accelerators_ ? table.size() : 0);
  info->dwFlags = 0;
  return S_OK;
}

HRESULT OleControl::OnMnemonic(MSG* msg) {
  if (!msg) return E_INVALIDARG;
  if (FAILED(EnsureLoaded(nullptr))) return S_FALSE;
  UserControl* control = Control();
  const std::wstring keys = control->AccessKeys();
  const wchar_t pressed = static_cast<wchar_t>(LOWORD(MapVirtualKeyW(static_cast<UINT>(msg->wParam), MAPVK_VK_TO_CHAR)));
  for (wchar_t key : keys) {
    if (towupper(key) != towupper(pressed)) continue;
    try {
      control->AccessKeyPress(key);
    } catch (const std::exception& e) {
      ContainerHost().ReportSkippedStep(name_, L"AccessKeyPress", WideFromUtf8(e.what()));
    }
    return S_OK;
  }
  return S_FALSE;
}

HRESULT OleControl::OnAmbientPropertyChange(DISPID id) {
  // The control hears of every property that changed, and of the one named even when its value
  // stayed (DISPID_UNKNOWN names none).
  std::wstring_view named;
  for (const AmbientName& n : kAmbientNames)
    if (n.id == id) named = n.name;
  ReadAmbient(named);
  return S_OK;
}

HRESULT OleControl::FreezeEvents(BOOL freeze) {
  frozen_ = std::max(0L, frozen_ + (freeze ? 1 : -1));
  return S_OK;
}

HRESULT OleControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (!container || !control) return E_POINTER;
  if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
  // The container's client site comes first, so that the ambient properties are known.
  site_ = container->pClientSite;
  ReadAmbient();
  AmbientProperties fresh = ambient_;
  fresh.backColor = container->colorBack;
  fresh.foreColor = container->colorFore;
  if (container->pFont) {
    try {
      fresh.font = Font::Wrap(container->pFont);
    } catch (const std::exception&) {}
  }
  fresh.userMode = (container->dwAmbientFlags & QACONTAINER_USERMODE) != 0;
  fresh.displayAsDefault = (container->dwAmbientFlags & QACONTAINER_DISPLAYASDEFAULT) != 0;
  ApplyAmbient(fresh);
  control->dwEventCookie = 0;
  if (container->pUnkEventSink) events_.Advise(container->pUnkEventSink, &control->dwEventCookie);
  control->dwPropNotifyCookie = 0;
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwMiscStatus = class_.miscStatus;
  GetViewStatus(&control->dwViewStatus);
  control->dwPointerActivationPolicy = 0;
  return S_OK;
}

}  // namespace tessel::ole
