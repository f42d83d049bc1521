// The control's properties saved and loaded by its container: in a stream as the text a form file
// holds for one control, and in a property bag under the keys and values of the form files.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "host/FormFile.h"
#include "olehost/ControlProperties.h"
#include "olehost/OleControl.h"
#include "server/contract/ComOwners.h"

namespace tessel::ole {

namespace {

using Microsoft::WRL::ComPtr;

// More than any control's text can be (pictures included): a longer length is a damaged stream.
constexpr DWORD kLargestText = 64u << 20;

constexpr wchar_t kExtentX[] = L"_ExtentX";
constexpr wchar_t kExtentY[] = L"_ExtentY";

int TwipsFromHimetric(LONG himetric) { return MulDiv(himetric, 1440, 2540); }
LONG HimetricFromTwips(int twips) { return MulDiv(twips, 2540, 1440); }

}  // namespace

HRESULT OleControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = class_.clsid;
  return S_OK;
}

HRESULT OleControl::InitNew() {
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  // The control is made when first needed: a container activating it gives its window's parent
  // then, and a window made there is not moved into it.
  initialized_ = true;
  dirty_ = false;
  return S_OK;
}

HRESULT OleControl::LoadFrom(PropertyBag& bag, std::optional<SIZEL> extent) {
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  if (extent) extent_ = *extent;
  HRESULT hr = EnsureLoaded(&bag);
  if (SUCCEEDED(hr)) dirty_ = false;
  return hr;
}

HRESULT OleControl::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  DWORD length = 0;
  ULONG read = 0;
  HRESULT hr = stream->Read(&length, sizeof(length), &read);
  if (FAILED(hr)) return hr;
  if (read != sizeof(length) || length > kLargestText) return Fail(STG_E_READFAULT, L"the stream holds no control");
  std::string text(length, '\0');
  hr = stream->Read(text.data(), length, &read);
  if (FAILED(hr)) return hr;
  if (read != length) return Fail(STG_E_READFAULT, L"the stream ends inside the control's text");
  ParsedForm parsed = ParseFormText(text, L"stream");
  if (!parsed.errors.empty()) return Fail(E_FAIL, WideFromUtf8(parsed.errors.front().ToString()));
  if (parsed.form.controls.size() != 1 || !SameKey(parsed.form.controls.front().type, class_.typeName))
    return Fail(E_FAIL, L"the stream holds no " + std::wstring(class_.typeName));
  ControlDescription& control = parsed.form.controls.front();
  name_ = control.name;
  const SIZEL extent{HimetricFromTwips(control.extender.width), HimetricFromTwips(control.extender.height)};
  return LoadFrom(control.bag, extent);
}

HRESULT OleControl::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream) return E_POINTER;
  HRESULT hr = EnsureLoaded(nullptr);
  if (FAILED(hr)) return hr;
  std::string text;
  try {
    FormDescription form;
    ControlDescription control;
    control.type = std::wstring(class_.typeName);
    control.name = name_;
    control.extender = hosted_->Extender();
    const SIZEL extent = OwnExtent();
    control.extender.width = TwipsFromHimetric(extent.cx);
    control.extender.height = TwipsFromHimetric(extent.cy);
    hosted_->Save(control.bag);
    form.controls.push_back(std::move(control));
    text = WriteFormText(form);
  } catch (const std::exception& e) {
    return Fail(E_FAIL, WideFromUtf8(e.what()));
  }
  const DWORD length = static_cast<DWORD>(text.size());
  hr = stream->Write(&length, sizeof(length), nullptr);
  if (SUCCEEDED(hr)) hr = stream->Write(text.data(), length, nullptr);
  if (FAILED(hr)) return hr;
  if (clearDirty) dirty_ = false;
  return S_OK;
}

HRESULT OleControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  ComPtr<IStream> stream;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (SUCCEEDED(hr)) hr = Save(stream.Get(), FALSE);
  if (FAILED(hr)) return hr;
  STATSTG stat{};
  hr = stream->Stat(&stat, STATFLAG_NONAME);
  if (SUCCEEDED(hr)) *size = stat.cbSize;
  return hr;
}

HRESULT OleControl::Load(IPropertyBag* source, IErrorLog* log) {
  if (!source) return E_POINTER;
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  std::optional<SIZEL> extent;
  {
    unique_variant x, y;
    if (SUCCEEDED(source->Read(kExtentX, x.get(), log)) && SUCCEEDED(source->Read(kExtentY, y.get(), log))) {
      try {
        extent = SIZEL{FromVariant<int32_t>(*x.get()), FromVariant<int32_t>(*y.get())};
      } catch (const TypeMismatch&) {
        return Fail(DISP_E_TYPEMISMATCH, L"'_ExtentX': the extent is not a number");
      }
    }
  }
  PropertyBag bag;
  for (const StoredKey& key : StoredKeysOf(class_.typeName)) {
    unique_variant value;
    if (FAILED(source->Read(key.key, value.get(), log))) continue;  // absent: the control's default
    try {
      bag.Write(key.key, BagValueFromVariant(*value.get(), static_cast<size_t>(key.type)));
    } catch (const std::exception& e) {
      return Fail(DISP_E_TYPEMISMATCH, L"'" + std::wstring(key.key) + L"': " + WideFromUtf8(e.what()));
    }
  }
  return LoadFrom(bag, extent);
}

HRESULT OleControl::Save(IPropertyBag* target, BOOL clearDirty, BOOL) {
  if (!target) return E_POINTER;
  HRESULT hr = EnsureLoaded(nullptr);
  if (FAILED(hr)) return hr;
  PropertyBag bag;
  try {
    hosted_->Save(bag);
  } catch (const std::exception& e) {
    return Fail(E_FAIL, WideFromUtf8(e.what()));
  }
  unique_variant x, y;
  const SIZEL extent = OwnExtent();
  ToVariant(static_cast<int32_t>(extent.cx), x.get());
  ToVariant(static_cast<int32_t>(extent.cy), y.get());
  if (FAILED(hr = target->Write(kExtentX, x.get())) || FAILED(hr = target->Write(kExtentY, y.get()))) return hr;
  for (const auto& [key, value] : bag.Entries()) {
    unique_variant v;
    try {
      ToVariant(value, v.get());
    } catch (const std::exception& e) {
      return Fail(E_FAIL, L"'" + key + L"': " + WideFromUtf8(e.what()));
    }
    hr = target->Write(key.c_str(), v.get());
    if (FAILED(hr)) return hr;
  }
  if (clearDirty) dirty_ = false;
  return S_OK;
}

}  // namespace tessel::ole
