#include "tests/support/ImageBytes.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <stdexcept>

#include "server/contract/Picture.h"

namespace tessel::test {

namespace {

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw std::runtime_error(std::string("test image: ") + what);
}

template <class T>
struct Releaser {
  T* p = nullptr;
  ~Releaser() {
    if (p) p->Release();
  }
};

}  // namespace

std::vector<uint8_t> EncodeImage(ImageFormat format, int width, int height, const std::vector<uint32_t>& argb) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<uint8_t> out;
  {
    Releaser<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(&factory.p)), "factory");
    Releaser<IStream> stream;
    stream.p = SHCreateMemStream(nullptr, 0);
    const GUID* container = format == ImageFormat::Bmp    ? &GUID_ContainerFormatBmp
                            : format == ImageFormat::Png  ? &GUID_ContainerFormatPng
                            : format == ImageFormat::Jpeg ? &GUID_ContainerFormatJpeg
                                                          : &GUID_ContainerFormatGif;
    Releaser<IWICBitmapEncoder> encoder;
    Check(factory.p->CreateEncoder(*container, nullptr, &encoder.p), "encoder");
    Check(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache), "initialise");
    Releaser<IWICBitmapFrameEncode> frame;
    Check(encoder.p->CreateNewFrame(&frame.p, nullptr), "frame");
    Check(frame.p->Initialize(nullptr), "frame initialise");
    Check(frame.p->SetSize(width, height), "size");
    // The source is 32-bpp BGRA; the encoder converts it to what its format can hold.
    Releaser<IWICBitmap> source;
    Check(factory.p->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                            width * height * 4,
                                            reinterpret_cast<BYTE*>(const_cast<uint32_t*>(argb.data())), &source.p),
          "source");
    Check(frame.p->WriteSource(source.p, nullptr), "write");
    Check(frame.p->Commit(), "commit frame");
    Check(encoder.p->Commit(), "commit");
    STATSTG st{};
    stream.p->Stat(&st, STATFLAG_NONAME);
    out.resize(static_cast<size_t>(st.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    stream.p->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    stream.p->Read(out.data(), static_cast<ULONG>(out.size()), &read);
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return out;
}

std::vector<uint8_t> IconFile(int size, COLORREF colour, bool cursor, POINT hotSpot) {
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, image);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT r{0, 0, size, size};
  FillRect(dc, &r, brush);
  SelectObject(dc, mask);
  PatBlt(dc, 0, 0, size, size, BLACKNESS);  // a black mask: every pixel opaque
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{TRUE, 0, 0, mask, image};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  std::vector<uint8_t> bytes = Picture::FromIcon(icon)->Bytes();
  if (cursor && bytes.size() > 22) {
    // The same file as a cursor: type 2, and the directory entry's planes and bit count fields
    // become the hot spot.
    bytes[2] = 2;
    bytes[10] = static_cast<uint8_t>(hotSpot.x);
    bytes[11] = 0;
    bytes[12] = static_cast<uint8_t>(hotSpot.y);
    bytes[13] = 0;
  }
  return bytes;
}

}  // namespace tessel::test
