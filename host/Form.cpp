#include "host/Form.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <utility>

#include "host/AccessibleObject.h"
#include "host/FormHooks.h"
#include "server/contract/Twips.h"

namespace tessel {
namespace {

constexpr wchar_t kFormClass[] = L"TesselForm";
// Posted when the first control that can take the focus is placed on a shown form: the focus goes
// to the first tab stop once the program is back in its message loop, the form built, as a
// dialog's does after its controls are made.
constexpr UINT kTakeFirstFocus = WM_APP + 0x46;

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

void RegisterFormClass(WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kFormClass, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("cannot register the form window class");
}

void FillClient(HWND hwnd, HDC dc, OleColor color) {
  RECT r;
  GetClientRect(hwnd, &r);
  FillSolid(dc, r, ColorOr(TranslateColor(color), GetSysColor(COLOR_BTNFACE)));
}

}  // namespace

Form::Form(const ControlTypes& types, bool userMode) : types_(types) {
  ambient_.userMode = userMode;
  ambient_.backColor = kSysButtonFace;
  ambient_.foreColor = kSysButtonText;
}

std::unique_ptr<Form> Form::Create(const std::wstring& title, int widthTwips, int heightTwips, bool userMode,
                                   const ControlTypes* types, FormDisplay display) {
  std::unique_ptr<Form> form(new Form(types ? *types : ControlTypes::Default(), userMode));
  form->windowsHeld_ = display == FormDisplay::Hidden;
  // OLE, not only COM: the form's window is the drop target of its controls.
  const HRESULT hr = OleInitialize(nullptr);
  form->oleInitialized_ = SUCCEEDED(hr);
  try {
    form->ambient_.font = Font::Create(FontDesc{});
  } catch (const std::runtime_error& e) {
    // Without OLE fonts the controls fall back to their own.
    ReportToDebugger(L"form", L"make the ambient font", WideFromUtf8(e.what()));
  }
  RegisterFormClass(StaticProc);
  RECT r{0, 0, PixelsFromTwipsX(widthTwips), PixelsFromTwipsY(heightTwips)};
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTROLPARENT;
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  // The caption is set once the window exists: a very long title given to CreateWindowEx can
  // come back as a handle that names no window.
  HWND hwnd = CreateWindowExW(exStyle, kFormClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                              r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), form.get());
  if (!hwnd || !IsWindow(hwnd) || form->hwnd_ != hwnd) {
    form->hwnd_ = nullptr;
    throw std::runtime_error("cannot create the form window (is there a display?)");
  }
  if (!SetWindowTextW(hwnd, title.c_str())) {
    const DWORD error = GetLastError();
    DestroyWindow(hwnd);
    form->hwnd_ = nullptr;
    throw std::runtime_error("cannot set the form's caption of " + std::to_string(title.size()) +
                             " characters (error " + std::to_string(error) + ")");
  }
  // The keys and the focus are watched from the time the form is shown: a hidden one has none.
  if (display == FormDisplay::Shown) FormHooks::Add(form.get());
  try {
    Form* self = form.get();
    form->dropTarget_ = DropTarget::Register(hwnd, [self](POINT screen) { return self->ControlWindowAt(screen); });
  } catch (const std::exception& e) {
    // The controls work without drops; the debugger hears why there are none.
    ReportToDebugger(L"form", L"drop target", WideFromUtf8(e.what()));
  }
  if (display == FormDisplay::Shown) {
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  return form;
}

Form::~Form() {
  Close();
  if (oleInitialized_) OleUninitialize();
}

Form::PlacementHold::PlacementHold(Form& form) : form_(form) {
  if (form_.placementHolds_++ > 0 || !form_.hwnd_ || !IsWindowVisible(form_.hwnd_)) return;
  SendMessageW(form_.hwnd_, WM_SETREDRAW, FALSE, 0);
  form_.redrawHeld_ = true;
}

Form::PlacementHold::~PlacementHold() {
  if (--form_.placementHolds_ > 0 || !form_.redrawHeld_) return;
  form_.redrawHeld_ = false;
  if (!form_.hwnd_ || form_.closing_) return;
  SendMessageW(form_.hwnd_, WM_SETREDRAW, TRUE, 0);
  RedrawWindow(form_.hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form::Close() {
  if (!hwnd_ || closing_) return;
  closing_ = true;
  // The controls go without drawing what is left behind them: each is terminated, last placed
  // first, then the form's window goes with every control's window in one pass, and only then
  // the control objects, which find their windows gone.
  if (IsWindowVisible(hwnd_)) SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
  defaultSite_ = cancelSite_ = activeSite_ = shownDefault_ = nullptr;
  std::vector<std::unique_ptr<HostedControl>> sites = std::move(sites_);
  sites_.clear();
  tabOrder_.clear();
  for (auto it = sites.rbegin(); it != sites.rend(); ++it) (*it)->Terminate();
  RevokeDropTarget();
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  while (!sites.empty()) sites.pop_back();
  FormHooks::Remove(this);
  if (onClosed) onClosed();
}

void Form::UnloadAll() {
  // Last placed first, so a control never outlives one placed before it.
  defaultSite_ = cancelSite_ = activeSite_ = shownDefault_ = nullptr;
  while (!sites_.empty()) {
    std::unique_ptr<HostedControl> site = std::move(sites_.back());
    sites_.pop_back();
    tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), site.get()), tabOrder_.end());
    site->Unload();
  }
  tabOrder_.clear();
}

LRESULT CALLBACK Form::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* form = nullptr;
  if (msg == WM_NCCREATE) {
    form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return form->WindowProc(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind through the system's dispatch.
    ReportToDebugger(L"form", L"window message", CurrentErrorText());
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

LRESULT Form::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT cueResult = 0;
  bool cuesChanged = false;
  if (cues_.Handle(hwnd_, msg, wp, lp, cueResult, cuesChanged)) return cueResult;
  switch (msg) {
    case WM_SHOWWINDOW:
      // As a dialog is initialised: the cues are hidden until a key shows them.
      if (wp && !std::exchange(cuesInitialized_, true))
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintDC dc(hwnd_);
      FillClient(hwnd_, dc.get(), ambient_.backColor);
      return 0;
    }
    case WM_PRINTCLIENT:
      FillClient(hwnd_, reinterpret_cast<HDC>(wp), ambient_.backColor);
      return 0;
    case WM_ACTIVATE: {
      HWND focus = GetFocus();
      if (LOWORD(wp) == WA_INACTIVE) {
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        break;
      }
      // Activation never takes the focus away from a control of the form that already has it
      // (the window manager's activation may arrive after the program has set the focus); the
      // form checks its idea of the focus against the system's.
      if (focus && IsChild(hwnd_, focus)) {
        FollowFocus(SiteOfWindow(focus));
        return 0;
      }
      if (HWND back = FocusToRestore()) {
        SetFocus(back);
        return 0;
      }
      break;
    }
    case WM_SETFOCUS:
      // The form itself never keeps the focus while a control can take it: it goes back where it
      // was, or to the first tab stop.
      if (HWND back = FocusToRestore()) SetFocus(back);
      return 0;
    case kTakeFirstFocus:
      firstFocusPosted_ = false;
      TakeFirstFocus();
      return 0;
    case WM_WINDOWPOSCHANGING:
      // However the form comes to be shown (ShowWindow, SetWindowPos), its fields' edits are
      // there first.
      if (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) MakeHeldWindows();
      break;
    case WM_GETOBJECT:
      // Its controls, in tab order, as the children of the form's object.
      if (const LRESULT object = AnswerAccessibleQuery(AccessibleKind::Form, hwnd_, wp, lp)) return object;
      break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
      ForwardSystemChange(msg, wp, lp);
      break;
    case WM_DPICHANGED:
      DpiChanged(wp, *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      ForgetAccessibleObject(hwnd_);
      RevokeDropTarget();
      UnloadAll();
      break;
    case WM_NCDESTROY: {
      // Destroyed by someone else than Close (a parent going, DestroyWindow on the handle).
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      const bool closedElsewhere = !closing_;
      HWND w = hwnd_;
      hwnd_ = nullptr;
      if (closedElsewhere) {
        FormHooks::Remove(this);
        if (onClosed) onClosed();
      }
      return DefWindowProcW(w, msg, wp, lp);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

HostedControl& Form::Place(std::wstring_view typeName, const ExtenderProperties& extender, PropertyBag* bag) {
  if (!hwnd_) throw std::logic_error("the form is closed");
  const ControlFactory* factory = types_.Find(typeName);
  if (!factory) throw std::invalid_argument("unknown control type: " + Utf8FromWide(typeName));
  if (extender.name.empty()) throw std::invalid_argument("a control needs a name");
  if (Site(extender.name)) throw std::invalid_argument("a control named " + Utf8FromWide(extender.name) + " exists");
  ExtenderProperties ext = extender;
  ext.tabIndex = static_cast<int>(tabOrder_.size());
  const HWND parent = ParentFor(ext);
  AmbientProperties ambient = AmbientOn(parent);
  ambient.displayName = extender.name;
  ambient.displayAsDefault = false;
  auto site = std::make_unique<HostedControl>(*this, std::wstring(typeName), ext, ambient);
  HostedControl& ref = *site;
  // The site is listed before it loads, so the control's first handlers can reach the form.
  sites_.push_back(std::move(site));
  tabOrder_.push_back(&ref);
  try {
    ref.Load(parent, *factory, bag);
  } catch (const std::exception&) {  // the site has unloaded the control and says why
    tabOrder_.pop_back();
    sites_.pop_back();
    throw;
  }
  if (!firstFocusPosted_ && GetFocus() == hwnd_ && IsTabStop(ref) && !ref.TabStops().empty())
    firstFocusPosted_ = PostMessageW(hwnd_, kTakeFirstFocus, 0, 0) != FALSE;
  return ref;
}

HWND Form::ParentFor(const ExtenderProperties& extender) const {
  if (extender.container.empty()) return hwnd_;
  HostedControl* holder = Site(extender.container);
  if (!holder || !holder->Control() || !holder->Control()->IsContainer())
    throw std::invalid_argument("no container named " + Utf8FromWide(extender.container));
  return holder->hWnd();
}

std::vector<UserControl*> Form::ControlsInside(const HostedControl& control) const {
  std::vector<UserControl*> inside;
  for (const auto& site : sites_)
    if (site->Control() && SameName(site->Extender().container, control.Name())) inside.push_back(site->Control());
  return inside;
}

UserControl& Form::Add(std::wstring_view typeName, const std::wstring& name, int left, int top, int width,
                       int height, std::wstring_view container) {
  ExtenderProperties ext;
  ext.container = container;
  ext.name = name;
  ext.left = left;
  ext.top = top;
  ext.width = width;
  ext.height = height;
  return *Place(typeName, ext, nullptr).Control();
}

UserControl* Form::AddLoaded(std::wstring_view typeName, const std::wstring& name, const ExtenderProperties& extender,
                             PropertyBag& bag) {
  ExtenderProperties ext = extender;
  ext.name = name;
  try {
    return Place(typeName, ext, &bag).Control();
  } catch (const ControlError& e) {
    failures_.push_back(LoadFailure{name, std::wstring(typeName), e.key(), e.what()});
  } catch (const std::exception& e) {
    failures_.push_back(LoadFailure{name, std::wstring(typeName), {}, e.what()});
  }
  return nullptr;
}

void Form::Remove(std::wstring_view name) {
  HostedControl* site = Site(name);
  if (!site) return;
  // The controls inside go first, last placed first, while their container's window still exists.
  for (auto it = sites_.rbegin(); it != sites_.rend();) {
    if (SameName((*it)->Extender().container, site->Name())) {
      const std::wstring inner = (*it)->Name();
      Remove(inner);
      it = sites_.rbegin();
    } else {
      ++it;
    }
  }
  if (defaultSite_ == site) defaultSite_ = nullptr;
  if (cancelSite_ == site) cancelSite_ = nullptr;
  if (activeSite_ == site) activeSite_ = nullptr;
  if (shownDefault_ == site) shownDefault_ = nullptr;
  if (lastFocus_ && site->hWnd() && (lastFocus_ == site->hWnd() || IsChild(site->hWnd(), lastFocus_)))
    lastFocus_ = nullptr;
  tabOrder_.erase(std::remove(tabOrder_.begin(), tabOrder_.end(), site), tabOrder_.end());
  auto it = std::find_if(sites_.begin(), sites_.end(), [site](const auto& s) { return s.get() == site; });
  std::unique_ptr<HostedControl> owned = std::move(*it);
  sites_.erase(it);
  owned->Unload();
  Renumber();
  ShowDefault();
}

std::vector<SavedControl> Form::Save() {
  std::vector<SavedControl> saved;
  for (const auto& site : sites_) {
    SavedControl entry{site->TypeName(), site->Extender(), PropertyBag{}};
    site->Save(entry.bag);
    saved.push_back(std::move(entry));
  }
  dirty_ = false;
  return saved;
}

HostedControl* Form::Site(std::wstring_view name) const {
  for (const auto& site : sites_)
    if (SameName(site->Name(), name)) return site.get();
  return nullptr;
}

UserControl* Form::Control(std::wstring_view name) const {
  HostedControl* site = Site(name);
  return site ? site->Control() : nullptr;
}

std::vector<std::wstring> Form::ControlNames() const {
  std::vector<std::wstring> names;
  for (const auto& site : sites_) names.push_back(site->Name());
  return names;
}

HostedControl* Form::SiteOfWindow(HWND w) const {
  for (; w && w != hwnd_; w = GetParent(w))
    for (const auto& site : sites_)
      if (site->hWnd() == w) return site.get();
  return nullptr;
}

HWND Form::ControlWindowAt(POINT screen) const {
  if (!hwnd_) return nullptr;
  HWND deepest = hwnd_;
  for (;;) {
    POINT p = screen;
    ScreenToClient(deepest, &p);
    HWND child = ChildWindowFromPointEx(deepest, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
    if (!child || child == deepest) break;
    deepest = child;
  }
  for (HWND w = deepest; w && w != hwnd_; w = GetParent(w))
    if (HostedControl::OfWindow(w)) return w;
  return nullptr;
}

void Form::MakeHeldWindows() {
  if (!windowsHeld_) return;
  windowsHeld_ = false;
  FormHooks::Add(this);
  for (const auto& site : sites_) site->MakeHeldWindows();
}

void Form::RevokeDropTarget() {
  // The registration goes before the window does.
  if (dropTarget_) dropTarget_->Revoke();
  dropTarget_.Reset();
}

int Form::ScaleWidth() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return TwipsFromPixelsX(r.right);
}

int Form::ScaleHeight() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return TwipsFromPixelsY(r.bottom);
}

int Form::RunMessageLoop() {
  MSG msg;
  while (hwnd_) {
    const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r <= 0) return r == 0 ? static_cast<int>(msg.wParam) : -1;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

void Form::PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tessel
