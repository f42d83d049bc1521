#pragma once
// An OLE drag with a hosted control as its source: the data object the control fills, the drop
// source that reports the target's feedback to it, and the run of the drag through the host's
// drag loop, with the control's OLEStartDrag, OLEGiveFeedback, OLESetData and OLECompleteDrag.
#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <vector>

#include "server/contract/SystemHandles.h"

namespace tessel {

class HostServices;
class UserControl;

// The data of a drag: global-memory values by clipboard format. A format set with a TYMED_NULL
// medium is offered without data; a target that asks for it has the source's OLESetData raised
// first, which can set the value.
class DragData final : public IDataObject {
 public:
  static Microsoft::WRL::ComPtr<DragData> Create(UserControl* source);
  void Detach() { source_ = nullptr; }  // the drag is over: OLESetData is not raised any more

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDataObject
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

 private:
  struct Entry {
    CLIPFORMAT format;
    unique_hglobal value;  // null while offered without data
  };
  explicit DragData(UserControl* source) : source_(source) {}
  ~DragData() = default;
  Entry* Find(CLIPFORMAT format);

  LONG refs_ = 1;
  UserControl* source_;
  std::vector<Entry> entries_;
};

// Runs a drag from source: OLEStartDrag (allowed effects copy and move unless it narrows them;
// none cancels), the host's drag loop, and OLECompleteDrag with the effect the target performed
// (none when the drag was cancelled).
void RunDrag(UserControl& source, HostServices& host);

}  // namespace tessel
