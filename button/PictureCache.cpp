// The picture cache: a copy of the bitmap at the size it is drawn at, whose near-key pixels hold
// the key colour exactly, and for custom shapes the transparent runs cut out of the face regions.
// It is built whenever the picture, its drawn size or the shape changes, so the copy and the key
// scan are made to cost little more than reading the bitmap's bits once.
#include <algorithm>
#include <cstdlib>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define TESSEL_KEY_SCAN_SSE2 1
#endif

#include "button/ButtonPicture.h"

namespace tessel {
namespace {

bool NearKey(uint32_t pixel, uint32_t key) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((pixel >> shift) & 0xFF);
    const int b = static_cast<int>((key >> shift) & 0xFF);
    if (std::abs(a - b) > kKeyTolerance) return false;
  }
  return true;
}

// Sets every pixel of the row within the tolerance of the key to the key itself; four pixels at a
// time where the processor allows (the distance per channel is a saturated byte difference).
void CleanRow(uint32_t* row, int width, uint32_t key) {
  int x = 0;
#ifdef TESSEL_KEY_SCAN_SSE2
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  const __m128i tolerance = _mm_set1_epi32(kKeyTolerance * 0x010101);
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i zero = _mm_setzero_si128();
  for (; x + 4 <= width; x += 4) {
    __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
    const __m128i distance = _mm_or_si128(_mm_subs_epu8(p, k), _mm_subs_epu8(k, p));
    const __m128i over = _mm_and_si128(_mm_subs_epu8(distance, tolerance), colour);
    const __m128i close = _mm_cmpeq_epi32(over, zero);
    if (_mm_movemask_epi8(close) == 0) continue;
    p = _mm_or_si128(_mm_and_si128(close, k), _mm_andnot_si128(close, p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), p);
  }
#endif
  for (; x < width; ++x)
    if (NearKey(row[x], key)) row[x] = key;
}

unique_hrgn RectRegion(int l, int t, int r, int b) { return unique_hrgn(CreateRectRgn(l, t, r, b)); }

// The union of the transparent runs of the cleaned copy (pixels equal to the key), one rectangle
// per run; a run reaching the last column is closed there.
unique_hrgn RunsRegion(const uint32_t* bits, int width, int height, uint32_t key) {
  std::vector<RECT> runs;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = bits + static_cast<size_t>(y) * width;
    int start = -1;
    for (int x = 0; x < width; ++x) {
      const bool transparent = (row[x] & 0xFFFFFF) == key;
      if (transparent && start < 0) {
        start = x;
      } else if (!transparent && start >= 0) {
        runs.push_back(RECT{start, y, x, y + 1});
        start = -1;
      }
    }
    if (start >= 0) runs.push_back(RECT{start, y, width, y + 1});
  }
  if (runs.empty()) return unique_hrgn();
  std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(runs.size());
  rd->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  RECT bounds{runs[0]};
  for (const RECT& r : runs) UnionRect(&bounds, &bounds, &r);
  rd->rdh.rcBound = bounds;
  std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(rd->Buffer));
  return unique_hrgn(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd));
}

// The bits of a bitmap as top-down 32-bpp rows, in one call (no screen DC is needed for 32 bpp).
bool ReadBits(HDC dc, HBITMAP source, int width, int height, uint32_t* bits) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  return GetDIBits(dc, source, 0, static_cast<UINT>(height), bits, &bi, DIB_RGB_COLORS) == height;
}

bool WriteBits(HDC dc, HBITMAP target, int width, int height, const uint32_t* bits) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  return SetDIBits(dc, target, 0, static_cast<UINT>(height), bits, &bi, DIB_RGB_COLORS) == height;
}

// The copy's bitmap: the previous cache again when it has the size asked for, else a new bitmap
// like the screen's. A new DIB section costs several times a copy of its bits under some
// platforms (its memory is mapped afresh), so the cache is a device bitmap filled from the rows.
unique_hbitmap CacheBitmap(unique_hbitmap previous, int width, int height) {
  BITMAP header{};
  if (previous && GetObjectW(previous.get(), sizeof(header), &header) && header.bmWidth == width &&
      header.bmHeight == height && header.bmBitsPixel == 32)
    return previous;
  previous.reset();
  WindowDC screen(nullptr);
  if (GetDeviceCaps(screen.get(), BITSPIXEL) == 32) return unique_hbitmap(CreateCompatibleBitmap(screen.get(), width, height));
  void* unused = nullptr;
  return CreateDib32(nullptr, width, height, &unused);  // a screen of fewer colours would lose the key
}

// The rows the cache is built in: kept between builds, so a build touches no new memory.
std::vector<uint32_t>& Rows(size_t count) {
  static std::vector<uint32_t> rows;
  if (rows.size() < count) rows.resize(count);
  return rows;
}

}  // namespace

void BuildPictureCache(ButtonPaint& paint, int32_t width, int32_t height, HRGN cutRegion) {
  ButtonState& s = paint.state;
  if (!s.picture) return;
  unique_hbitmap previous = std::move(s.pictureCache);
  s.pictureCacheWidth = s.pictureCacheHeight = 0;
  if (s.pictureIsIcon == 1 || width <= 0 || height <= 0) return;

  unique_hbitmap cache = CacheBitmap(std::move(previous), width, height);
  if (!cache) return;
  uint32_t* bits = Rows(static_cast<size_t>(width) * height).data();
  HBITMAP source = static_cast<HBITMAP>(s.picture->Handle());
  unique_hdc dc(CreateCompatibleDC(nullptr));
  if (width == s.pictureWidth && height == s.pictureHeight) {
    if (!ReadBits(dc.get(), source, width, height, bits)) return;
  } else {
    unique_hdc src(CreateCompatibleDC(nullptr));
    {
      SelectGuard selectSrc(src.get(), source);
      SelectGuard selectDst(dc.get(), cache.get());
      SetStretchBltMode(dc.get(), COLORONCOLOR);
      StretchBlt(dc.get(), 0, 0, width, height, src.get(), 0, 0, s.pictureWidth, s.pictureHeight, SRCCOPY);
    }
    if (!ReadBits(dc.get(), cache.get(), width, height, bits)) return;
  }
  const uint32_t key = bits[0] & 0xFFFFFF;
  for (int y = 0; y < height; ++y) CleanRow(bits + static_cast<size_t>(y) * width, width, key);
  if (!WriteBits(dc.get(), cache.get(), width, height, bits)) return;

  if (cutRegion) {
    s.regionB = RectRegion(0, 0, paint.W(), paint.H());
    s.regionA = RectRegion(0, 0, paint.W(), paint.H());
    if (unique_hrgn cut = RunsRegion(bits, width, height, key)) {
      CombineRgn(cutRegion, cutRegion, cut.get(), RGN_DIFF);
      CombineRgn(s.regionB.get(), s.regionB.get(), cut.get(), RGN_DIFF);
      // Each run grown by one pixel on every side: the union of the runs moved by one pixel in
      // every direction.
      unique_hrgn grown = RectRegion(0, 0, 0, 0);
      unique_hrgn moved = RectRegion(0, 0, 0, 0);
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          CombineRgn(moved.get(), cut.get(), nullptr, RGN_COPY);
          OffsetRgn(moved.get(), dx, dy);
          CombineRgn(grown.get(), grown.get(), moved.get(), RGN_OR);
        }
      }
      CombineRgn(s.regionA.get(), s.regionA.get(), grown.get(), RGN_DIFF);
    }
  }
  s.pictureCache = std::move(cache);
  s.pictureCacheWidth = width;
  s.pictureCacheHeight = height;
}

}  // namespace tessel
