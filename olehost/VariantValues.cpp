#include "olehost/VariantValues.h"

#include <olectl.h>

#include <wrl/client.h>

#include "server/contract/ComOwners.h"

namespace tessel::ole {

using Microsoft::WRL::ComPtr;

namespace {

// The value as type vt, following references and the usual automation conversions.
void Coerce(const VARIANT& in, VARTYPE vt, unique_variant& out) {
  const HRESULT hr = VariantChangeType(out.get(), const_cast<VARIANT*>(&in), 0, vt);
  if (hr == DISP_E_OVERFLOW) throw ValueOverflow();
  if (FAILED(hr)) throw TypeMismatch();
}

IUnknown* ObjectOf(const VARIANT& in) {
  const VARIANT* v = &in;
  if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal) v = v->pvarVal;
  switch (v->vt) {
    case VT_EMPTY:
    case VT_NULL:
      return nullptr;
    case VT_DISPATCH:
      return v->pdispVal;
    case VT_UNKNOWN:
      return v->punkVal;
    case VT_DISPATCH | VT_BYREF:
      return v->ppdispVal ? *v->ppdispVal : nullptr;
    case VT_UNKNOWN | VT_BYREF:
      return v->ppunkVal ? *v->ppunkVal : nullptr;
    default:
      throw TypeMismatch();
  }
}

}  // namespace

void ToVariant(bool value, VARIANT* out) {
  out->vt = VT_BOOL;
  out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
void ToVariant(int16_t value, VARIANT* out) {
  out->vt = VT_I2;
  out->iVal = value;
}
void ToVariant(int32_t value, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = value;
}
void ToVariant(uint32_t value, VARIANT* out) { ToVariant(static_cast<int32_t>(value), out); }
void ToVariant(const std::wstring& value, VARIANT* out) {
  out->vt = VT_BSTR;
  out->bstrVal = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  if (!out->bstrVal) throw std::bad_alloc();
}
void ToVariant(const FontRef& value, VARIANT* out) {
  out->vt = VT_DISPATCH;
  out->pdispVal = nullptr;
  if (value) value->Get()->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&out->pdispVal));
}
void ToVariant(const PictureRef& value, VARIANT* out) {
  out->vt = VT_DISPATCH;
  out->pdispVal = nullptr;
  if (value && value->Get()) value->Get()->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&out->pdispVal));
}
void ToVariant(const BagValue& value, VARIANT* out) {
  std::visit([out](const auto& v) {
    using T = std::decay_t<decltype(v)>;
    if constexpr (std::is_same_v<T, float>) {
      out->vt = VT_R4;
      out->fltVal = v;
    } else {
      ToVariant(v, out);
    }
  }, value);
}

template <>
bool FromVariant<bool>(const VARIANT& in) {
  unique_variant v;
  Coerce(in, VT_BOOL, v);
  return v->boolVal != VARIANT_FALSE;
}
template <>
int16_t FromVariant<int16_t>(const VARIANT& in) {
  unique_variant v;
  Coerce(in, VT_I2, v);
  return v->iVal;
}
template <>
int32_t FromVariant<int32_t>(const VARIANT& in) {
  unique_variant v;
  Coerce(in, VT_I4, v);
  return v->lVal;
}
template <>
uint32_t FromVariant<uint32_t>(const VARIANT& in) {
  // Colours above 0x7FFFFFFF (system colours) come as negative longs or as unsigned values.
  unique_variant v;
  if (SUCCEEDED(VariantChangeType(v.get(), const_cast<VARIANT*>(&in), 0, VT_UI4))) return v->ulVal;
  return static_cast<uint32_t>(FromVariant<int32_t>(in));
}
template <>
std::wstring FromVariant<std::wstring>(const VARIANT& in) {
  unique_variant v;
  Coerce(in, VT_BSTR, v);
  return std::wstring(v->bstrVal ? v->bstrVal : L"", SysStringLen(v->bstrVal));
}
template <>
FontRef FromVariant<FontRef>(const VARIANT& in) {
  IUnknown* object = ObjectOf(in);
  if (!object) return nullptr;
  ComPtr<IFont> font;
  if (FAILED(object->QueryInterface(IID_PPV_ARGS(&font)))) throw TypeMismatch();
  return Font::Wrap(font.Get());
}
template <>
PictureRef FromVariant<PictureRef>(const VARIANT& in) {
  IUnknown* object = ObjectOf(in);
  if (!object) return nullptr;
  ComPtr<IPicture> picture;
  if (FAILED(object->QueryInterface(IID_PPV_ARGS(&picture)))) throw TypeMismatch();
  // The picture's own bytes make the control's picture, so it saves and loads as any other.
  ComPtr<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) throw std::bad_alloc();
  LONG size = 0;
  if (FAILED(picture->SaveAsFile(stream.Get(), TRUE, &size)) || size <= 0) throw TypeMismatch();
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  LARGE_INTEGER start{};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (FAILED(stream->Read(bytes.data(), static_cast<ULONG>(size), &read)) || read != static_cast<ULONG>(size))
    throw TypeMismatch();
  return Picture::FromBytes(bytes);
}

BagValue BagValueFromVariant(const VARIANT& in, size_t bagIndex) {
  switch (bagIndex) {
    case 0: return FromVariant<int16_t>(in);
    case 1: return FromVariant<int32_t>(in);
    case 2: return FromVariant<bool>(in);
    case 3: return FromVariant<std::wstring>(in);
    case 4: {
      unique_variant v;
      Coerce(in, VT_R4, v);
      return v->fltVal;
    }
    case 5: return FromVariant<FontRef>(in);
    default: return FromVariant<PictureRef>(in);
  }
}

}  // namespace tessel::ole
