#include "olehost/ControlEvents.h"

#include <olectl.h>

#include <array>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

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
  static constexpr VARTYPE kType = VT_I2 | VT_BYREF;
  int16_t& value;
  void Fill(VARIANTARG& v) { v.vt = VT_I2 | VT_BYREF; v.piVal = &value; }
  void Back() {}
};
template <>
struct Slot<int32_t&> {
  static constexpr VARTYPE kType = VT_I4 | VT_BYREF;
  int32_t& value;
  LONG copy = 0;
  void Fill(VARIANTARG& v) { copy = value; v.vt = VT_I4 | VT_BYREF; v.plVal = &copy; }
  void Back() { value = copy; }
};
template <>
struct Slot<float&> {
  static constexpr VARTYPE kType = VT_R4 | VT_BYREF;
  float& value;
  void Fill(VARIANTARG& v) { v.vt = VT_R4 | VT_BYREF; v.pfltVal = &value; }
  void Back() {}
};
template <>
struct Slot<bool&> {
  static constexpr VARTYPE kType = VT_BOOL | VT_BYREF;
  bool& value;
  VARIANT_BOOL copy = VARIANT_FALSE;
  void Fill(VARIANTARG& v) { copy = value ? VARIANT_TRUE : VARIANT_FALSE; v.vt = VT_BOOL | VT_BYREF; v.pboolVal = &copy; }
  void Back() { value = copy != VARIANT_FALSE; }
};
template <>
struct Slot<std::wstring&> {
  static constexpr VARTYPE kType = VT_BSTR | VT_BYREF;
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

// The data object of a drag goes out by reference with a reference of its own, so a sink that
// replaces it by the rules of [in,out] releases that one; the control goes on with its own object,
// which a sink fills (IDataObject::SetData) rather than replaces.
template <>
struct Slot<IDataObject*&> {
  static constexpr VARTYPE kType = VT_UNKNOWN | VT_BYREF;
  IDataObject*& value;
  IUnknown* copy = nullptr;
  Slot(IDataObject*& v) : value(v) {}
  Slot(const Slot&) = delete;
  ~Slot() {
    if (copy) copy->Release();
  }
  void Fill(VARIANTARG& v) {
    copy = value;
    if (copy) copy->AddRef();
    v.vt = kType;
    v.ppunkVal = &copy;
  }
  void Back() {}
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

template <class E>
struct Signature;
template <class... Args>
struct Signature<Event<void(Args...)>> {
  static void Bind(Event<void(Args...)>& event, EventSink& sink, DISPID id) {
    event = [&sink, id](Args... values) { Raise(sink, id, values...); };
  }
  static std::vector<VARTYPE> Types() { return {Slot<Args>::kType...}; }
};
template <class... Args>
struct Signature<std::function<void(Args...)>> {
  static void Bind(std::function<void(Args...)>& event, EventSink& sink, DISPID id) {
    event = [&sink, id](Args... values) { Raise(sink, id, values...); };
  }
  static std::vector<VARTYPE> Types() { return {Slot<Args>::kType...}; }
};

template <class M>
struct MemberOf;
template <class E, class Events>
struct MemberOf<E Events::*> {
  using type = E;
};

// One C++ event of a control, bound by its name in the events dispinterface.
struct EventRow {
  const wchar_t* name;
  void (*bind)(UserControl& control, EventSink& sink, DISPID id);
  std::vector<VARTYPE> (*types)();
  size_t size;
};
template <class C, auto Member>
EventRow On(const wchar_t* name) {
  using E = typename MemberOf<decltype(Member)>::type;
  return {name,
          [](UserControl& control, EventSink& sink, DISPID id) {
            Signature<E>::Bind(static_cast<C&>(control).events.*Member, sink, id);
          },
          &Signature<E>::Types, sizeof(E)};
}
#define TESSEL_ON(C, name) On<C, &C::Events::name>(L"" #name)

using B = ButtonStyle;
using X = KvTextBox;
using T = KvText;
using K = KvFundo;
using F = TzFrames;
struct TypeEvents {
  std::wstring_view type;
  std::vector<EventRow> rows;
};
// Every member of each control's Events, in its order (EventsOf's sizes let a test check that).
const std::vector<TypeEvents>& AllEvents() {
  static const std::vector<TypeEvents> all{
      {L"ButtonStyle",
       {TESSEL_ON(B, MouseDown), TESSEL_ON(B, MouseUp), TESSEL_ON(B, MouseMove), TESSEL_ON(B, KeyDown),
        TESSEL_ON(B, KeyPress), TESSEL_ON(B, KeyUp), TESSEL_ON(B, MouseOnButton), TESSEL_ON(B, Click),
        TESSEL_ON(B, DoubleClick), TESSEL_ON(B, OLECompleteDrag), TESSEL_ON(B, OLEDragDrop), TESSEL_ON(B, OLEDragOver),
        TESSEL_ON(B, OLEGiveFeedback), TESSEL_ON(B, OLESetData), TESSEL_ON(B, OLEStartDrag)}},
      {L"KvTextBox",
       {TESSEL_ON(X, KeyDown), TESSEL_ON(X, KeyPress), TESSEL_ON(X, KeyUp), TESSEL_ON(X, MouseDown),
        TESSEL_ON(X, MouseMove), TESSEL_ON(X, MouseUp), TESSEL_ON(X, Change)}},
      {L"KvText", {TESSEL_ON(T, Change), TESSEL_ON(T, KeyDown), TESSEL_ON(T, KeyPress)}},
      {L"KvFundo", {TESSEL_ON(K, Click), TESSEL_ON(K, OpeningURL)}},
      {L"tzFrames", {TESSEL_ON(F, MouseMove)}},
  };
  return all;
}

const std::vector<EventRow>* RowsOf(std::wstring_view type) {
  for (const TypeEvents& t : AllEvents())
    if (SameKey(t.type, type)) return &t.rows;
  return nullptr;
}

}  // namespace

void BindEvents(UserControl& control, EventSink& sink, ITypeInfo* events) {
  const auto* rows = RowsOf(control.TypeName());
  if (!rows || !events) return;
  for (const EventRow& row : *rows) {
    // The dispatch identifier is the one the type library gives the name.
    LPOLESTR names[] = {const_cast<LPOLESTR>(row.name)};
    DISPID id = DISPID_UNKNOWN;
    if (SUCCEEDED(events->GetIDsOfNames(names, 1, &id))) row.bind(control, sink, id);
  }
}

std::vector<EventSignature> EventsOf(std::wstring_view typeName) {
  std::vector<EventSignature> out;
  if (const auto* rows = RowsOf(typeName))
    for (const EventRow& row : *rows) out.push_back({row.name, row.types(), row.size});
  return out;
}

}  // namespace tessel::ole
