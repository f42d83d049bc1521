#include "host/AccessibleObject.h"

#include <oleacc.h>

#include <atomic>
#include <new>

#include "host/ControlSite.h"
#include "host/WindowTable.h"

namespace tessel {
namespace {

std::atomic<long> g_live{0};

HRESULT Text(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

class AccessibleObject final : public IAccessible, public IOleWindow {
 public:
  AccessibleObject(AccessibleKind kind, HWND window) : kind_(kind), window_(window) { ++g_live; }
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  // Holds one strong external connection from the object's first hand-over until its window goes
  // (ForgetAccessibleObject disconnects it): the system's stub for the object is then made once,
  // not made and torn down again at every query.
  void HoldConnection() {
    if (!connected_) connected_ = SUCCEEDED(CoLockObjectExternal(static_cast<IAccessible*>(this), TRUE, FALSE));
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) *out = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow) *out = static_cast<IOleWindow*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: clients reach the object through its vtable; there is no type information.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return IsWindow(window_) ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
    // A control's parent is the form or frame it stands on; a form's is its own window object.
    if (kind_ == AccessibleKind::Form)
      return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
    HWND up = GetParent(window_);
    if (HostedControl::OfWindow(up)) return Make(AccessibleKind::Control, up, parent);
    return AccessibleObjectFromWindow(up, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch, reinterpret_cast<void**>(parent));
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    AccessibleView view;
    if (!ReadAccessibleView(kind_, window_, view, kReadChildren)) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(view.parts.size() + view.children.size());
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessibleView view;
    if (!ReadAccessibleView(kind_, window_, view, kReadChildren)) return CO_E_OBJNOTCONNECTED;
    const long id = ChildId(child);
    const long parts = static_cast<long>(view.parts.size());
    if (id <= 0 || id > parts + static_cast<long>(view.children.size())) return E_INVALIDARG;
    if (id <= parts) return S_FALSE;  // a part is an element of this object, not an object of its own
    return Make(AccessibleKind::Control, view.children[static_cast<size_t>(id - parts - 1)], out);
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    return Answer(child, out, [](const AccessibleView& v, const AccessibleView::Part* p) { return p ? p->name : v.name; });
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    Target t;
    if (HRESULT hr = Find(child, t); FAILED(hr)) return hr;
    if (t.part) return DISP_E_MEMBERNOTFOUND;
    if (t.view.isProtected) return E_ACCESSDENIED;
    if (!t.view.hasValue) return DISP_E_MEMBERNOTFOUND;
    const HRESULT hr = Text(t.view.value, out);
    return hr == S_FALSE ? S_OK : hr;  // an empty field has an empty value
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
    return Answer(child, out, [](const AccessibleView& v, const AccessibleView::Part* p) { return p ? std::wstring() : v.description; });
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    Target t;
    if (HRESULT hr = Find(child, t); FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = t.part ? t.part->role : t.view.role;
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    Target t;
    if (HRESULT hr = Find(child, t, kReadState); FAILED(hr)) return hr;
    out->vt = VT_I4;
    out->lVal = static_cast<LONG>(t.part ? t.part->state : t.view.state);
    return S_OK;
  }
  STDMETHODIMP get_accHelp(VARIANT, BSTR* out) override { return Text({}, out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Answer(child, out, [](const AccessibleView& v, const AccessibleView::Part* p) { return p ? std::wstring() : v.shortcut; });
  }
  STDMETHODIMP get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessibleView view;
    if (!ReadAccessibleView(kind_, window_, view)) return CO_E_OBJNOTCONNECTED;
    if (view.state & STATE_SYSTEM_FOCUSED) {
      out->vt = VT_I4;
      out->lVal = CHILDID_SELF;
      return S_OK;
    }
    HWND focus = GetFocus();
    for (HWND child : view.children) {
      if (focus != child && !IsChild(child, focus)) continue;
      out->vt = VT_DISPATCH;
      return Make(AccessibleKind::Control, child, &out->pdispVal);
    }
    return S_FALSE;
  }
  STDMETHODIMP get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Answer(child, out, [](const AccessibleView& v, const AccessibleView::Part* p) { return p ? p->defaultAction : v.defaultAction; });
  }
  STDMETHODIMP accSelect(long flags, VARIANT child) override {
    Target t;
    if (HRESULT hr = Find(child, t, kReadState); FAILED(hr)) return hr;
    if (t.part || flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
    if (!(t.view.state & STATE_SYSTEM_FOCUSABLE)) return S_FALSE;
    HWND target = t.window;
    if (const HostedControl* site = HostedControl::OfWindow(t.window)) {
      const std::vector<HWND> stops = site->TabStops();
      if (!stops.empty()) target = stops.front();
    }
    SetFocus(target);
    return S_OK;
  }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    Target t;
    if (HRESULT hr = Find(child, t); FAILED(hr)) return hr;
    RECT r{};
    if (t.part) {
      r = t.part->bounds;
      MapWindowPoints(t.window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else if (!GetWindowRect(t.window, &r)) {
      return CO_E_OBJNOTCONNECTED;
    }
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessibleView view;
    if (!ReadAccessibleView(kind_, window_, view, kReadChildren)) return CO_E_OBJNOTCONNECTED;
    const long count = static_cast<long>(view.parts.size() + view.children.size());
    const long from = ChildId(start);
    long to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: to = from == CHILDID_SELF && count ? 1 : 0; break;
      case NAVDIR_LASTCHILD: to = from == CHILDID_SELF ? count : 0; break;
      case NAVDIR_NEXT: to = from > 0 && from < count ? from + 1 : 0; break;
      case NAVDIR_PREVIOUS: to = from > 1 && from <= count ? from - 1 : 0; break;
      default: return DISP_E_MEMBERNOTFOUND;  // spatial moves among siblings: the parent knows them
    }
    if (to == 0) return S_FALSE;
    return ChildVariant(view, to, out);
  }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    AccessibleView view;
    if (!ReadAccessibleView(kind_, window_, view)) return CO_E_OBJNOTCONNECTED;
    RECT own{};
    GetWindowRect(window_, &own);
    const POINT screen{x, y};
    if (!PtInRect(&own, screen)) return S_FALSE;
    POINT client = screen;
    ScreenToClient(window_, &client);
    for (size_t i = 0; i < view.parts.size(); ++i)
      if (!(view.parts[i].state & STATE_SYSTEM_INVISIBLE) && PtInRect(&view.parts[i].bounds, client))
        return ChildVariant(view, static_cast<long>(i + 1), out);
    // The topmost control under the point: children are listed in tab order, windows stack in z-order.
    for (HWND w = ::GetWindow(window_, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      RECT r{};
      if (!IsWindowVisible(w) || !GetWindowRect(w, &r) || !PtInRect(&r, screen)) continue;
      for (size_t i = 0; i < view.children.size(); ++i)
        if (view.children[i] == w) return ChildVariant(view, static_cast<long>(view.parts.size() + i + 1), out);
    }
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    Target t;
    if (HRESULT hr = Find(child, t); FAILED(hr)) return hr;
    const std::wstring& action = t.part ? t.part->defaultAction : t.view.defaultAction;
    if (action.empty()) return DISP_E_MEMBERNOTFOUND;
    // Posted: the click's handlers may show a message box, and the caller (another process, often)
    // must not wait for it.
    const WPARAM part = t.part ? static_cast<WPARAM>(t.part - t.view.parts.data() + 1) : 0;
    return PostMessageW(t.window, DefaultActionMessage(), part, 0) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  ~AccessibleObject() { --g_live; }

  // What a child id names: this object, one of its parts, or a control standing on it.
  struct Target {
    AccessibleView view;
    const AccessibleView::Part* part = nullptr;
    HWND window = nullptr;
  };

  static long ChildId(const VARIANT& v) {
    if (v.vt == VT_I4) return v.lVal;
    if (v.vt == VT_EMPTY) return CHILDID_SELF;
    VARIANT n;
    VariantInit(&n);
    return SUCCEEDED(VariantChangeType(&n, const_cast<VARIANT*>(&v), 0, VT_I4)) ? n.lVal : -1;
  }

  // Reads what the question needs (read: AccessibleRead bits) of the element the child id names.
  HRESULT Find(const VARIANT& child, Target& t, unsigned read = kReadDescription) const {
    if (!ReadAccessibleView(kind_, window_, t.view, read & kReadState)) return CO_E_OBJNOTCONNECTED;
    t.window = window_;
    const long id = ChildId(child);
    if (id == CHILDID_SELF) return S_OK;
    const long parts = static_cast<long>(t.view.parts.size());
    if (id > 0 && id <= parts) {
      t.part = &t.view.parts[static_cast<size_t>(id - 1)];
      return S_OK;
    }
    // A control standing on this one: answered as its own object would.
    const std::vector<HWND> children = AccessibleChildWindows(window_);
    if (id <= parts || id > parts + static_cast<long>(children.size())) return E_INVALIDARG;
    t.window = children[static_cast<size_t>(id - parts - 1)];
    AccessibleView own;
    if (!ReadAccessibleView(AccessibleKind::Control, t.window, own, read)) return E_INVALIDARG;
    t.view = std::move(own);
    return S_OK;
  }

  template <class Read>
  HRESULT Answer(const VARIANT& child, BSTR* out, Read read) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    Target t;
    if (HRESULT hr = Find(child, t); FAILED(hr)) return hr;
    return Text(read(t.view, t.part), out);
  }

  static HRESULT ChildVariant(const AccessibleView& view, long id, VARIANT* out) {
    const long parts = static_cast<long>(view.parts.size());
    if (id <= parts) {
      out->vt = VT_I4;
      out->lVal = id;
      return S_OK;
    }
    out->vt = VT_DISPATCH;
    return Make(AccessibleKind::Control, view.children[static_cast<size_t>(id - parts - 1)], &out->pdispVal);
  }

  static HRESULT Make(AccessibleKind kind, HWND window, IDispatch** out);

  const AccessibleKind kind_;
  const HWND window_;
  std::atomic<ULONG> refs_{1};
  bool connected_ = false;  // only the window's thread hands the object over
};

// One object for each window that was asked for one, held until the window goes: the system's
// marshalling of an object handed out by LresultFromObject may keep it alive until it is
// disconnected, and a client asking again gets the same object.
using Objects = WindowTable<AccessibleObject*>;

AccessibleObject* ObjectFor(AccessibleKind kind, HWND window) {
  if (AccessibleObject* const* found = Objects::Find(window)) return *found;
  auto* object = new (std::nothrow) AccessibleObject(kind, window);
  if (object) Objects::Set(window, object);
  return object;
}

HRESULT AccessibleObject::Make(AccessibleKind kind, HWND window, IDispatch** out) {
  AccessibleObject* object = ObjectFor(kind, window);
  if (!object) return E_OUTOFMEMORY;
  object->AddRef();
  *out = static_cast<IAccessible*>(object);
  return S_OK;
}

bool IsClientQuery(LPARAM lp) { return static_cast<LONG>(static_cast<DWORD>(lp)) == OBJID_CLIENT; }

}  // namespace

LRESULT AnswerAccessibleQuery(AccessibleKind kind, HWND target, WPARAM wp, LPARAM lp) {
  if (!IsClientQuery(lp)) return 0;
  if (kind == AccessibleKind::Control && !HostedControl::OfWindow(target)) return 0;
  AccessibleObject* object = ObjectFor(kind, target);
  if (!object) return 0;
  object->HoldConnection();
  const LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
  return result > 0 ? result : 0;
}

LRESULT AnswerFieldEditQuery(HWND edit, WPARAM wp, LPARAM lp) {
  if (!IsClientQuery(lp)) return 0;
  HWND owner = GetParent(edit);
  const HostedControl* site = HostedControl::OfWindow(owner);
  if (!site || !site->Loaded()) return 0;
  AccessibleView view;
  DescribeHosted(*site, view, false);
  if (view.role != ROLE_SYSTEM_TEXT) return 0;
  return AnswerAccessibleQuery(AccessibleKind::Control, owner, wp, lp);
}

void ForgetAccessibleObject(HWND window) {
  AccessibleObject* const* found = Objects::Find(window);
  if (!found) return;
  AccessibleObject* object = *found;
  Objects::Erase(window);
  // Clients elsewhere get "disconnected" from now on, and the connection held since the first
  // hand-over goes with them; clients in the thread hold the object itself, which answers
  // CO_E_OBJNOTCONNECTED once its window is gone.
  CoDisconnectObject(static_cast<IAccessible*>(object), 0);
  object->Release();
}

UINT DefaultActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"TesselAccessibleDefaultAction");
  return message;
}

long LiveAccessibleObjects() { return g_live.load(); }

}  // namespace tessel
