// The control drawn into any DC the container gives: its window and children printed into an
// image of its own size, then copied or stretched to the container's rectangle.
#include <windows.h>

#include "host/WindowPrint.h"
#include "olehost/OleControl.h"
#include "server/contract/Gdi.h"

namespace tessel::ole {

HRESULT OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_OPAQUE && aspect != DVASPECT_TRANSPARENT)
    return DV_E_DVASPECT;
  if (!dc || !bounds) return E_INVALIDARG;
  HRESULT hr = EnsureLoaded(nullptr);
  if (FAILED(hr)) return hr;
  SettleExtent();
  const HWND window = hosted_->hWnd();
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return S_OK;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  unique_hbitmap image(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  unique_hdc memory(CreateCompatibleDC(nullptr));
  if (!image || !memory) return E_OUTOFMEMORY;
  SelectGuard select(memory.get(), image.get());
  PrintWindowTree(window, memory.get(), POINT{0, 0}, true);
  GdiFlush();
  const int w = bounds->right - bounds->left, h = bounds->bottom - bounds->top;
  BOOL done;
  if (w == width && h == height) {
    done = BitBlt(dc, bounds->left, bounds->top, w, h, memory.get(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    done = StretchBlt(dc, bounds->left, bounds->top, w, h, memory.get(), 0, 0, width, height, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  return done ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

HRESULT OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_ = sink;
  return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects) *aspects = viewAspects_;
  if (flags) *flags = viewFlags_;
  if (sink) {
    *sink = viewSink_.Get();
    if (*sink) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, size);
}

HRESULT OleControl::GetRect(DWORD aspect, LPRECTL rect) {
  if (!rect) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  SIZEL size{};
  const HRESULT hr = GetExtent(aspect, &size);
  if (SUCCEEDED(hr)) *rect = RECTL{0, 0, size.cx, size.cy};
  return hr;
}

HRESULT OleControl::GetViewStatus(DWORD* status) {
  if (!status) return E_POINTER;
  // Every pixel of the rectangle is painted.
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}

HRESULT OleControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG, DWORD* hit) {
  if (!bounds || !hit) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *hit = PtInRect(bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

HRESULT OleControl::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG, DWORD* hit) {
  if (!bounds || !location || !hit) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  RECT common;
  *hit = IntersectRect(&common, bounds, location) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

}  // namespace tessel::ole
