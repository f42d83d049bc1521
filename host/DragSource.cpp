#include "host/DragSource.h"

#include <shlobj.h>

#include <cstring>
#include <stdexcept>

#include "host/DragHandler.h"
#include "server/contract/UserControl.h"

namespace tessel {
namespace {

// A copy of a global-memory value, or null when it cannot be made.
HGLOBAL CopyGlobal(HGLOBAL from) {
  const SIZE_T size = GlobalSize(from);
  unique_hglobal to(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!to) return nullptr;
  const void* src = GlobalLock(from);
  void* dst = GlobalLock(to.get());
  if (src && dst) std::memcpy(dst, src, size);
  if (src) GlobalUnlock(from);
  if (dst) GlobalUnlock(to.get());
  return src && dst ? to.release() : nullptr;
}


// The drop source: the drag goes on while a mouse button is held, drops when the last is
// released and is cancelled by Esc; the source control sees every change of the target's effect.
class DropSource final : public IDropSource {
 public:
  explicit DropSource(UserControl& source) : source_(source) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the stack of RunDrag, which outlasts the drag loop.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
    auto shown = static_cast<int32_t>(effect);
    bool defaultCursors = true;
    if (!RunDragHandler(source_, L"OLEGiveFeedback", [&] { source_.OLEGiveFeedback(shown, defaultCursors); }))
      defaultCursors = true;
    return defaultCursors ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
  }

 private:
  UserControl& source_;
};

}  // namespace

Microsoft::WRL::ComPtr<DragData> DragData::Create(UserControl* source) {
  Microsoft::WRL::ComPtr<DragData> data;
  data.Attach(new DragData(source));
  return data;
}

HRESULT DragData::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDataObject) {
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG DragData::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG DragData::Release() {
  const LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

DragData::Entry* DragData::Find(CLIPFORMAT format) {
  for (Entry& e : entries_)
    if (e.format == format) return &e;
  return nullptr;
}

HRESULT DragData::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  Entry* entry = Find(format->cfFormat);
  if (!entry) return DV_E_FORMATETC;
  if (!entry->value && source_) {
    // Offered without data: the source supplies it now.
    IDataObject* self = this;
    auto dataFormat = static_cast<int16_t>(format->cfFormat);
    RunDragHandler(*source_, L"OLESetData", [&] { source_->OLESetData(self, dataFormat); });
    entry = Find(format->cfFormat);
  }
  if (!entry || !entry->value) return DV_E_FORMATETC;
  HGLOBAL copy = CopyGlobal(entry->value.get());
  if (!copy) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT DragData::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT DragData::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
  return Find(format->cfFormat) ? S_OK : DV_E_FORMATETC;
}

HRESULT DragData::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return DATA_S_SAMEFORMATETC;
}

HRESULT DragData::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
  if (!format || !medium) return E_INVALIDARG;
  if (medium->tymed != TYMED_NULL && medium->tymed != TYMED_HGLOBAL) return DV_E_TYMED;
  unique_hglobal value;
  if (medium->tymed == TYMED_HGLOBAL) {
    value.reset(CopyGlobal(medium->hGlobal));
    if (!value) return E_OUTOFMEMORY;
  }
  if (release) ReleaseStgMedium(medium);
  if (Entry* entry = Find(format->cfFormat)) {
    entry->value = std::move(value);
  } else {
    entries_.push_back(Entry{format->cfFormat, std::move(value)});
  }
  return S_OK;
}

HRESULT DragData::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  std::vector<FORMATETC> formats;
  for (const Entry& e : entries_) formats.push_back(FORMATETC{e.format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
  return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(), out);
}

HRESULT DragData::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragData::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT DragData::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

void RunDrag(UserControl& source, HostServices& host) {
  Microsoft::WRL::ComPtr<DragData> data = DragData::Create(&source);
  IDataObject* offered = data.Get();
  auto allowed = static_cast<int32_t>(DROPEFFECT_COPY | DROPEFFECT_MOVE);
  source.OLEStartDrag(offered, allowed);
  int32_t done = DROPEFFECT_NONE;
  if (allowed != DROPEFFECT_NONE) {
    DropSource dropSource(source);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = host.DoDragDrop(data.Get(), &dropSource, static_cast<DWORD>(allowed), &effect);
    if (hr == DRAGDROP_S_DROP) done = static_cast<int32_t>(effect);
  }
  // A target may keep the data object: from now on it answers only with what it holds.
  data->Detach();
  source.OLECompleteDrag(done);
}

}  // namespace tessel
