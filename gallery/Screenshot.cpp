// The screen area of the gallery's windows, written as a PNG through WIC.
#include <windows.h>
#include <wincodec.h>

#include <vector>

#include <wrl/client.h>

#include "gallery/Gallery.h"
#include "server/contract/Gdi.h"

namespace tessel::gallery {

namespace {

BOOL CALLBACK AddOwnWindow(HWND window, LPARAM param) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
    RECT r{};
    GetWindowRect(window, &r);
    if (r.right > r.left && r.bottom > r.top) reinterpret_cast<std::vector<RECT>*>(param)->push_back(r);
  }
  return TRUE;
}

}  // namespace

HRESULT SaveScreenshot(const std::wstring& path) {
  std::vector<RECT> windows;
  EnumWindows(AddOwnWindow, reinterpret_cast<LPARAM>(&windows));
  if (windows.empty()) return E_FAIL;
  RECT area = windows.front();
  for (const RECT& r : windows) UnionRect(&area, &area, &r);
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&area, &area, &screen);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return E_FAIL;

  void* bits = nullptr;
  WindowDC screenDc(nullptr);
  unique_hdc memory(CreateCompatibleDC(screenDc.get()));
  unique_hbitmap bitmap = CreateDib32(screenDc.get(), width, height, &bits);  // top-down rows, as WIC reads them
  if (!memory || !bitmap) return E_OUTOFMEMORY;
  {
    SelectGuard select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screenDc.get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
  }
  GdiFlush();
  // The capture has no alpha; make every pixel opaque.
  auto* pixels = static_cast<BYTE*>(bits);
  for (int i = 0; i < width * height; ++i) pixels[i * 4 + 3] = 0xFF;

  Microsoft::WRL::ComPtr<IWICImagingFactory> factory;
  Microsoft::WRL::ComPtr<IWICStream> stream;
  Microsoft::WRL::ComPtr<IWICBitmapEncoder> encoder;
  Microsoft::WRL::ComPtr<IWICBitmapFrameEncode> frame;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.GetAddressOf()));
  if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.GetAddressOf());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.GetAddressOf(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(width, height);
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) hr = E_FAIL;
  if (SUCCEEDED(hr)) hr = frame->WritePixels(height, width * 4, width * height * 4, pixels);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  return hr;
}

}  // namespace tessel::gallery
