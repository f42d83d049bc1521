#include "server/contract/Picture.h"

#include <shlwapi.h>
#include <wincodec.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include <wrl/client.h>

#include "server/contract/Gdi.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Twips.h"
#include "server/contract/WholeFile.h"

namespace tessel {

namespace {

using Microsoft::WRL::ComPtr;

// The imaging components need COM on this thread; callers that have not set it up get it for the
// duration of one load, balanced before the load returns.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

std::string Hex(HRESULT hr) {
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
  return code;
}

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("picture: " + what); }

enum class Format { Bmp, Ico, Cur, Wmf, Emf, Jpeg, Png, Gif, Tiff, Unknown };

const char* FormatName(Format f) {
  switch (f) {
    case Format::Bmp: return "BMP";
    case Format::Ico: return "icon";
    case Format::Cur: return "cursor";
    case Format::Wmf: return "metafile";
    case Format::Emf: return "enhanced metafile";
    case Format::Jpeg: return "JPEG";
    case Format::Png: return "PNG";
    case Format::Gif: return "GIF";
    case Format::Tiff: return "TIFF";
    default: return "unknown";
  }
}

bool StartsWith(const std::vector<uint8_t>& b, std::initializer_list<uint8_t> magic, size_t at = 0) {
  if (b.size() < at + magic.size()) return false;
  size_t i = at;
  for (uint8_t m : magic)
    if (b[i++] != m) return false;
  return true;
}

Format Recognise(const std::vector<uint8_t>& b) {
  if (StartsWith(b, {'B', 'M'})) return Format::Bmp;
  if (StartsWith(b, {0, 0, 1, 0})) return Format::Ico;
  if (StartsWith(b, {0, 0, 2, 0})) return Format::Cur;
  if (StartsWith(b, {0xD7, 0xCD, 0xC6, 0x9A})) return Format::Wmf;
  if (StartsWith(b, {1, 0, 0, 0}) && StartsWith(b, {' ', 'E', 'M', 'F'}, 40)) return Format::Emf;
  if (StartsWith(b, {0xFF, 0xD8, 0xFF})) return Format::Jpeg;
  if (StartsWith(b, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return Format::Png;
  if (StartsWith(b, {'G', 'I', 'F', '8'})) return Format::Gif;
  if (StartsWith(b, {'I', 'I', 42, 0}) || StartsWith(b, {'M', 'M', 0, 42})) return Format::Tiff;
  return Format::Unknown;
}

// A stream on memory of its own. (The shell's memory streams are not used: under Wine each one
// handed to the OLE picture code keeps its whole buffer on the heap after both are released.)
ComPtr<IStream> EmptyStream() {
  ComPtr<IStream> s;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, s.GetAddressOf())) || !s.Get()) Fail("out of memory");
  return s;
}

ComPtr<IStream> MemoryStream(const std::vector<uint8_t>& bytes) {
  ComPtr<IStream> s = EmptyStream();
  ULONG written = 0;
  const LARGE_INTEGER start{};
  if (FAILED(s->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size() ||
      FAILED(s->Seek(start, STREAM_SEEK_SET, nullptr)))
    Fail("out of memory while reading " + std::to_string(bytes.size()) + " bytes");
  return s;
}

// Bitmaps, JPEG, PNG, GIF and TIFF: the imaging components decode the first frame into a
// top-down 32-bpp DIB (premultiplied alpha, as GDI's AlphaBlend wants it).
HBITMAP DecodeWithImaging(const std::vector<uint8_t>& bytes, Format format) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.GetAddressOf()));
  if (FAILED(hr)) Fail("the imaging components are not available (" + Hex(hr) + ")");
  ComPtr<IWICStream> stream;
  hr = factory->CreateStream(stream.GetAddressOf());
  if (SUCCEEDED(hr))
    hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  if (FAILED(hr)) Fail("cannot read the bytes (" + Hex(hr) + ")");
  const std::string kind = FormatName(format);
  ComPtr<IWICBitmapDecoder> decoder;
  hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.GetAddressOf());
  if (FAILED(hr)) Fail("the " + kind + " data is corrupt or truncated (" + Hex(hr) + ")");
  ComPtr<IWICBitmapFrameDecode> frame;
  hr = decoder->GetFrame(0, frame.GetAddressOf());
  if (FAILED(hr)) Fail("the " + kind + " data holds no readable image (" + Hex(hr) + ")");
  ComPtr<IWICFormatConverter> converter;
  hr = factory->CreateFormatConverter(converter.GetAddressOf());
  if (SUCCEEDED(hr))
    hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                               WICBitmapPaletteTypeCustom);
  if (FAILED(hr)) Fail("the " + kind + " image cannot be converted (" + Hex(hr) + ")");
  UINT width = 0, height = 0;
  hr = converter->GetSize(&width, &height);
  if (FAILED(hr) || width == 0 || height == 0) Fail("the " + kind + " image has no size");
  if (width > 32768 || height > 32768 || uint64_t(width) * height > (uint64_t(1) << 28))
    Fail("the " + kind + " image is too large (" + std::to_string(width) + " x " + std::to_string(height) + ")");

  void* bits = nullptr;
  unique_hbitmap dib = CreateDib32(nullptr, static_cast<int>(width), static_cast<int>(height), &bits);
  if (!dib.get() || !bits) Fail("cannot create a " + std::to_string(width) + " x " + std::to_string(height) + " bitmap");
  const UINT stride = width * 4;
  hr = converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
  if (FAILED(hr)) Fail("the " + kind + " data is corrupt or truncated (" + Hex(hr) + ")");
  GdiFlush();
  return dib.release();
}

// A picture object that owns the handle in pd from here on.
ComPtr<IPicture> PictureOwning(const PICTDESC& pd) {
  ComPtr<IPicture> picture;
  HRESULT hr = OleCreatePictureIndirect(const_cast<PICTDESC*>(&pd), IID_IPicture, TRUE,
                                        reinterpret_cast<void**>(picture.GetAddressOf()));
  if (FAILED(hr)) Fail("OleCreatePictureIndirect failed (" + Hex(hr) + ")");
  return picture;
}

ComPtr<IPicture> PictureFromBitmap(unique_hbitmap bitmap) {
  PICTDESC pd{};
  pd.cbSizeofstruct = sizeof pd;
  pd.picType = PICTYPE_BITMAP;
  pd.bmp.hbitmap = bitmap.get();
  ComPtr<IPicture> picture = PictureOwning(pd);
  bitmap.release();  // the picture owns it now
  return picture;
}

// The container's loader for icons, cursors and metafiles.
ComPtr<IPicture> LoadWithOle(const std::vector<uint8_t>& bytes, Format format) {
  ComPtr<IStream> stream = MemoryStream(bytes);
  ComPtr<IPicture> picture;
  HRESULT hr = OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.GetAddressOf()));
  if (FAILED(hr) || !picture) Fail(std::string("the ") + FormatName(format) + " data is corrupt or truncated (" + Hex(hr) + ")");
  return picture;
}

std::vector<uint8_t> StreamBytes(IStream* stream) {
  STATSTG st{};
  HRESULT hr = stream->Stat(&st, STATFLAG_NONAME);
  if (FAILED(hr)) Fail("the picture cannot be stored (" + Hex(hr) + ")");
  std::vector<uint8_t> bytes(static_cast<size_t>(st.cbSize.QuadPart));
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  bytes.resize(read);
  return bytes;
}

// A bitmap handle as a PNG file: lossless, and read back by the same decoder as any other image.
// The system hands out the bitmap's pixels as 32-bpp rows whatever its depth (monochrome and
// palette bitmaps too, which the imaging components do not take as handles).
std::vector<uint8_t> PngFromBitmap(HBITMAP bitmap) {
  BITMAP header{};
  if (!GetObjectW(bitmap, sizeof header, &header) || header.bmWidth <= 0 || header.bmHeight == 0)
    Fail("the bitmap cannot be stored: it has no size");
  const UINT w = static_cast<UINT>(header.bmWidth), h = static_cast<UINT>(header.bmHeight < 0 ? -header.bmHeight : header.bmHeight);
  if (uint64_t(w) * h > (uint64_t(1) << 28)) Fail("the bitmap cannot be stored: it is too large");
  std::vector<uint8_t> rows(size_t{w} * h * 4);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(w), -static_cast<LONG>(h), 1, 32, BI_RGB};
  {
    unique_hdc dc(CreateCompatibleDC(nullptr));
    if (!dc || GetDIBits(dc.get(), bitmap, 0, h, rows.data(), &bi, DIB_RGB_COLORS) != static_cast<int>(h))
      Fail("the bitmap's pixels cannot be read");
  }
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.GetAddressOf()));
  ComPtr<IWICBitmap> source;
  if (SUCCEEDED(hr))
    hr = factory->CreateBitmapFromMemory(w, h, GUID_WICPixelFormat32bppBGR, w * 4, static_cast<UINT>(rows.size()),
                                         rows.data(), source.GetAddressOf());
  ComPtr<IStream> stream = EmptyStream();
  ComPtr<IWICBitmapEncoder> encoder;
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  ComPtr<IWICBitmapFrameEncode> frame;
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.GetAddressOf(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
  if (SUCCEEDED(hr)) hr = frame->SetSize(w, h);
  if (SUCCEEDED(hr)) hr = frame->WriteSource(source.Get(), nullptr);
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  if (FAILED(hr)) Fail("the bitmap cannot be stored (" + Hex(hr) + ")");
  return StreamBytes(stream.Get());
}

// The picture as a file (ICO for icons).
std::vector<uint8_t> SavedBytes(IPicture* picture) {
  {
    ComPtr<IStream> stream = EmptyStream();
    LONG written = 0;
    if (SUCCEEDED(picture->SaveAsFile(stream.Get(), TRUE, &written))) {
      std::vector<uint8_t> bytes = StreamBytes(stream.Get());
      if (!bytes.empty()) return bytes;
    }
  }
  // Some systems write nothing through SaveAsFile; the persistent form is the same file behind an
  // 8-byte header ("lt", two zero bytes, the length that follows).
  ComPtr<IPersistStream> persist;
  HRESULT hr = picture->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(persist.GetAddressOf()));
  ComPtr<IStream> stream = EmptyStream();
  if (SUCCEEDED(hr)) hr = persist->Save(stream.Get(), TRUE);
  if (FAILED(hr)) Fail("the picture cannot be stored (" + Hex(hr) + ")");
  std::vector<uint8_t> bytes = StreamBytes(stream.Get());
  if (bytes.size() > 8 && bytes[0] == 'l' && bytes[1] == 't' && bytes[2] == 0 && bytes[3] == 0) {
    uint32_t length = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (uint32_t(bytes[7]) << 24);
    if (length == bytes.size() - 8) bytes.erase(bytes.begin(), bytes.begin() + 8);
  }
  if (bytes.empty()) Fail("the picture cannot be stored: it gave no bytes");
  return bytes;
}

}  // namespace

PictureRef Picture::FromBytes(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) Fail("there are no bytes to load");
  const Format format = Recognise(bytes);
  switch (format) {
    case Format::Ico:
    case Format::Cur:
      return PictureRef(new Picture(LoadWithOle(bytes, format), bytes,
                                    format == Format::Cur ? PictureKind::Cursor : PictureKind::Icon, nullptr));
    case Format::Wmf:
    case Format::Emf:
      return PictureRef(new Picture(LoadWithOle(bytes, format), bytes, PictureKind::Metafile, nullptr));
    case Format::Bmp:
    case Format::Jpeg:
    case Format::Png:
    case Format::Gif:
    case Format::Tiff: {
      const HBITMAP bitmap = DecodeWithImaging(bytes, format);
      return PictureRef(new Picture(PictureFromBitmap(unique_hbitmap(bitmap)), bytes, PictureKind::Bitmap, bitmap));
    }
    default: {
      char head[40];
      wsprintfA(head, "%02X %02X %02X %02X", bytes[0], bytes.size() > 1 ? bytes[1] : 0,
                bytes.size() > 2 ? bytes[2] : 0, bytes.size() > 3 ? bytes[3] : 0);
      Fail(std::string("the bytes are not a picture of a known format (BMP, ICO, CUR, WMF, EMF, JPEG, PNG, GIF, "
                       "TIFF); they begin with ") + head);
    }
  }
}

PictureRef Picture::FromFile(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  try {
    const std::string text = ReadWholeFile(path, int64_t(1) << 30);
    bytes.assign(text.begin(), text.end());
  } catch (const FileReadError& e) {
    Fail(Utf8FromWide(path) + ": " + e.what());
  }
  try {
    return FromBytes(bytes);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(std::string(e.what()) + " in " + Utf8FromWide(path));
  }
}

PictureRef Picture::Adopt(Microsoft::WRL::ComPtr<IPicture> picture, PictureKind kind, HANDLE handle) {
  PictureRef ref(new Picture(std::move(picture), {}, kind, handle));  // owns the picture even if storing it fails
  if (kind == PictureKind::Bitmap)
    ref->bytes_ = PngFromBitmap(static_cast<HBITMAP>(ref->Handle()));
  else
    ref->bytes_ = SavedBytes(ref->picture_.Get());
  return ref;
}

PictureRef Picture::FromBitmap(HBITMAP bitmap) {
  if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP) Fail("FromBitmap needs a bitmap handle");
  return Adopt(PictureFromBitmap(unique_hbitmap(bitmap)), PictureKind::Bitmap, bitmap);  // deleted if that fails
}

PictureRef Picture::FromIcon(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) Fail("FromIcon needs an icon handle");
  unique_hbitmap(info.hbmColor).reset();  // GetIconInfo hands out copies of the icon's bitmaps
  unique_hbitmap(info.hbmMask).reset();
  unique_hicon owned(icon);  // destroyed here if the picture cannot be made
  PICTDESC pd{};
  pd.cbSizeofstruct = sizeof pd;
  pd.picType = PICTYPE_ICON;
  pd.icon.hicon = icon;
  ComPtr<IPicture> picture = PictureOwning(pd);
  owned.release();
  // Stored as an icon file, so it comes back as an icon whatever the handle was.
  return Adopt(std::move(picture), PictureKind::Icon, icon);
}

Picture::~Picture() = default;

PictureKind Picture::Kind() const { return kind_; }

HANDLE Picture::Handle() const {
  if (handle_) return handle_;
  // A loaded picture's handle as the system widens a 32-bit handle on a 64-bit machine.
  OLE_HANDLE h = 0;
  if (FAILED(picture_->get_Handle(&h))) return nullptr;
  return LongToHandle(static_cast<LONG>(h));
}

SIZE Picture::SizeHimetric() const {
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture_->get_Width(&w);
  picture_->get_Height(&h);
  return SIZE{w, h};
}

SIZE Picture::SizePixels() const {
  HANDLE h = Handle();
  if (kind_ == PictureKind::Bitmap) {
    BITMAP bm{};
    if (GetObjectW(h, sizeof bm, &bm)) return SIZE{bm.bmWidth, bm.bmHeight};
  } else if (kind_ == PictureKind::Icon || kind_ == PictureKind::Cursor) {
    ICONINFO info{};
    if (GetIconInfo(static_cast<HICON>(h), &info)) {
      const unique_hbitmap color(info.hbmColor), mask(info.hbmMask);
      BITMAP bm{};
      SIZE s{0, 0};
      if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        s = SIZE{bm.bmWidth, bm.bmHeight};
      } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
        s = SIZE{bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon's mask holds AND and XOR halves
      }
      return s;
    }
  }
  // Metafiles have no pixels of their own: their himetric extent at the screen's resolution.
  SIZE him = SizeHimetric();
  return SIZE{MulDiv(him.cx, ScreenDpiX(), 2540), MulDiv(him.cy, ScreenDpiY(), 2540)};
}

void Picture::Render(HDC dc, const RECT& dest, bool stretch) const {
  SIZE him = SizeHimetric();
  if (stretch) {
    picture_->Render(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0, him.cy, him.cx,
                     -him.cy, nullptr);
    return;
  }
  SIZE px = SizePixels();
  SaveDCGuard saved(dc);
  IntersectClipRect(dc, dest.left, dest.top, dest.right, dest.bottom);
  picture_->Render(dc, dest.left, dest.top, px.cx, px.cy, 0, him.cy, him.cx, -him.cy, nullptr);
}

}  // namespace tessel
