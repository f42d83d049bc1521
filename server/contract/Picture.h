#pragma once
// The container's standard picture object: an OLE picture (IPicture) for bitmaps, icons, cursors,
// and JPEG or PNG images decoded by the platform's imaging components. Held by reference.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <wrl/client.h>

namespace tessel {

enum class PictureKind { Bitmap, Icon, Cursor, Metafile };

class Picture;
using PictureRef = std::shared_ptr<Picture>;

class Picture {
 public:
  // Load from a file or from its bytes; the format is recognised from the content: BMP, ICO, CUR,
  // WMF/EMF, and JPEG, PNG or GIF (decoded into a 32-bpp bitmap).
  // Throws std::runtime_error with a message that says what was wrong with the bytes.
  static PictureRef FromFile(const std::wstring& path);
  static PictureRef FromBytes(const std::vector<uint8_t>& bytes);
  // Takes ownership of a bitmap or icon handle.
  static PictureRef FromBitmap(HBITMAP bitmap);
  static PictureRef FromIcon(HICON icon);

  PictureKind Kind() const;
  SIZE SizePixels() const;
  SIZE SizeHimetric() const;
  // Borrowed handle (HBITMAP, HICON or HCURSOR), owned by the picture.
  HANDLE Handle() const;
  IPicture* Get() const { return picture_.Get(); }
  // The bytes that recreate this picture through FromBytes (the original file where there was one).
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  // Draws the picture into dest (pixels); stretched to dest, or at its own size clipped to dest.
  void Render(HDC dc, const RECT& dest, bool stretch) const;

  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

 private:
  Picture(Microsoft::WRL::ComPtr<IPicture> picture, std::vector<uint8_t> bytes, PictureKind kind, HANDLE handle)
      : picture_(std::move(picture)), bytes_(std::move(bytes)), kind_(kind), handle_(handle) {}
  static PictureRef Adopt(Microsoft::WRL::ComPtr<IPicture> picture, PictureKind kind, HANDLE handle);
  Microsoft::WRL::ComPtr<IPicture> picture_;
  std::vector<uint8_t> bytes_;
  PictureKind kind_;
  // The whole handle the picture was made with: the picture object hands out only 32 bits of it.
  HANDLE handle_;
};

}  // namespace tessel
