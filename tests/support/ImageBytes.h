#pragma once
// Image files made at test time through the platform's encoders, so no binary sample is committed.
#include "tests/support/Prelude.h"
#include <shlwapi.h>
#include <wincodec.h>

#include "server/contract/Gdi.h"
#include "server/contract/Picture.h"

namespace tessel::test {

enum class ImageFormat { Bmp, Png, Jpeg, Gif };

// Encodes a top-down image of width x height pixels, each 0xAARRGGBB; the encoder converts it to what
// its format can hold.
inline std::vector<uint8_t> EncodeImage(ImageFormat format, int width, int height, const std::vector<uint32_t>& argb) {
  using Microsoft::WRL::ComPtr;
  const auto check = [](HRESULT hr, const char* what) {
    if (FAILED(hr)) throw std::runtime_error(std::string("test image: ") + what);
  };
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<uint8_t> out;
  {
    ComPtr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)), "factory");
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(nullptr, 0));
    const GUID* containers[] = {&GUID_ContainerFormatBmp, &GUID_ContainerFormatPng, &GUID_ContainerFormatJpeg,
                                &GUID_ContainerFormatGif};  // in the order of ImageFormat
    ComPtr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(*containers[static_cast<int>(format)], nullptr, &encoder), "encoder");
    check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "initialise");
    ComPtr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(&frame, nullptr), "frame");
    check(frame->Initialize(nullptr), "frame initialise");
    check(frame->SetSize(width, height), "size");
    ComPtr<IWICBitmap> source;
    check(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4, width * height * 4,
                                          reinterpret_cast<BYTE*>(const_cast<uint32_t*>(argb.data())), &source),
          "source");
    check(frame->WriteSource(source.Get(), nullptr), "write");
    check(frame->Commit(), "commit frame");
    check(encoder->Commit(), "commit");
    ULARGE_INTEGER size{};
    IStream_Size(stream.Get(), &size);
    out.resize(static_cast<size_t>(size.QuadPart));
    IStream_Reset(stream.Get());
    IStream_Read(stream.Get(), out.data(), static_cast<ULONG>(out.size()));
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return out;
}

// An icon (or cursor, with its hot spot) file of one size x size image in one opaque colour.
inline std::vector<uint8_t> IconFile(int size, COLORREF colour, bool cursor = false, POINT hotSpot = {0, 0}) {
  unique_hbitmap image(CreateCompatibleBitmap(WindowDC(nullptr).get(), size, size));
  unique_hbitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  {
    unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectGuard selected(dc.get(), image.get());
    RECT r{0, 0, size, size};
    FillRect(dc.get(), &r, unique_hbrush(CreateSolidBrush(colour)).get());
    SelectObject(dc.get(), mask.get());
    PatBlt(dc.get(), 0, 0, size, size, BLACKNESS);  // a black mask: every pixel opaque
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
  std::vector<uint8_t> bytes = Picture::FromIcon(CreateIconIndirect(&info))->Bytes();
  if (cursor && bytes.size() > 22) {
    // The same file as a cursor: type 2, and the directory entry's planes and bit count are the hot spot.
    bytes[2] = 2;
    bytes[10] = static_cast<uint8_t>(hotSpot.x);
    bytes[11] = 0;
    bytes[12] = static_cast<uint8_t>(hotSpot.y);
    bytes[13] = 0;
  }
  return bytes;
}

}  // namespace tessel::test
