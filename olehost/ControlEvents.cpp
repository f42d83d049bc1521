#include "olehost/ControlEvents.h"

#include <olectl.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "inputs/KvFundo.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "server/contract/PropertyBag.h"

namespace tessel::ole {

namespace {

// One by-reference argument: the variant that refers to it, and, for types automation holds
// differently, a copy that is written back after the call.
template <class T>
struct Slot;
template <>
struct Slot<int16_t&> {
  int16_t& value;
  void Fill(VARIANTARG& v) { v.vt = VT_I2 | VT_BYREF; v.piVal = &value; }
  void Back() {}
};
template <>
struct Slot<int32_t&> {
  int32_t& value;
  LONG copy = 0;
  void Fill(VARIANTARG& v) { copy = value; v.vt = VT_I4 | VT_BYREF; v.plVal = &copy; }
  void Back() { value = copy; }
};
template <>
struct Slot<float&> {
  float& value;
  void Fill(VARIANTARG& v) { v.vt = VT_R4 | VT_BYREF; v.pfltVal = &value; }
  void Back() {}
};
template <>
struct Slot<bool&> {
  bool& value;
  VARIANT_BOOL copy = VARIANT_FALSE;
  void Fill(VARIANTARG& v) { copy = value ? VARIANT_TRUE : VARIANT_FALSE; v.vt = VT_BOOL | VT_BYREF; v.pboolVal = &copy; }
  void Back() { value = copy != VARIANT_FALSE; }
};
template <>
struct Slot<std::wstring&> {
  std::wstring& value;
  BSTR copy = nullptr;
  Slot(std::wstring& v) : value(v) {}
  Slot(const Slot&) = delete;
  ~Slot() { SysFreeString(copy); }
  void Fill(VARIANTARG& v) {
    copy = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = &copy;
  }
  void Back() { value.assign(copy ? copy : L"", SysStringLen(copy)); }
};

template <class... Args>
void Raise(EventSink& sink, DISPID id, Args&... values) {
  std::tuple<Slot<Args&>...> slots{values...};
  std::array<VARIANTARG, sizeof...(Args) + 1> args{};
  std::apply([&](auto&... s) {
    size_t i = sizeof...(Args);
    ((s.Fill(args[--i])), ...);  // DISPPARAMS hold the last argument first
  }, slots);
  sink.Fire(id, std::span<VARIANTARG>(args.data(), sizeof...(Args)));
  std::apply([](auto&... s) { (s.Back(), ...); }, slots);
}

template <class... Args>
void Bind(Event<void(Args...)>& event, EventSink& sink, DISPID id) {
  event = [&sink, id](Args... values) { Raise(sink, id, values...); };
}
template <class... Args>
void Bind(std::function<void(Args...)>& event, EventSink& sink, DISPID id) {
  event = [&sink, id](Args... values) { Raise(sink, id, values...); };
}

// Dispatch identifiers of the events the type library numbers itself, in its order.
constexpr DISPID kFirst = 1;

void BindButton(ButtonStyle& c, EventSink& s) {
  auto& e = c.events;
  Bind(e.MouseDown, s, DISPID_MOUSEDOWN);
  Bind(e.MouseUp, s, DISPID_MOUSEUP);
  Bind(e.MouseMove, s, DISPID_MOUSEMOVE);
  Bind(e.KeyDown, s, DISPID_KEYDOWN);
  Bind(e.KeyPress, s, DISPID_KEYPRESS);
  Bind(e.KeyUp, s, DISPID_KEYUP);
  Bind(e.MouseOnButton, s, kFirst);
  Bind(e.Click, s, DISPID_CLICK);
  Bind(e.DoubleClick, s, kFirst + 1);
}

void BindTextBox(KvTextBox& c, EventSink& s) {
  auto& e = c.events;
  Bind(e.KeyDown, s, DISPID_KEYDOWN);
  Bind(e.KeyPress, s, DISPID_KEYPRESS);
  Bind(e.KeyUp, s, DISPID_KEYUP);
  Bind(e.MouseDown, s, DISPID_MOUSEDOWN);
  Bind(e.MouseMove, s, DISPID_MOUSEMOVE);
  Bind(e.MouseUp, s, DISPID_MOUSEUP);
  Bind(e.Change, s, kFirst);
}

void BindText(KvText& c, EventSink& s) {
  Bind(c.events.Change, s, kFirst);
  Bind(c.events.KeyDown, s, DISPID_KEYDOWN);
  Bind(c.events.KeyPress, s, DISPID_KEYPRESS);
}

void BindFundo(KvFundo& c, EventSink& s) {
  Bind(c.events.Click, s, DISPID_CLICK);
  Bind(c.events.OpeningURL, s, kFirst);
}

void BindFrame(TzFrames& c, EventSink& s) { Bind(c.events.MouseMove, s, DISPID_MOUSEMOVE); }

}  // namespace

void BindEvents(UserControl& control, EventSink& sink) {
  const std::wstring_view type = control.TypeName();
  if (SameKey(type, L"ButtonStyle")) BindButton(static_cast<ButtonStyle&>(control), sink);
  else if (SameKey(type, L"KvTextBox")) BindTextBox(static_cast<KvTextBox&>(control), sink);
  else if (SameKey(type, L"KvText")) BindText(static_cast<KvText&>(control), sink);
  else if (SameKey(type, L"KvFundo")) BindFundo(static_cast<KvFundo&>(control), sink);
  else if (SameKey(type, L"tzFrames")) BindFrame(static_cast<TzFrames&>(control), sink);
}

}  // namespace tessel::ole
