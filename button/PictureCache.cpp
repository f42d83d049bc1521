// The picture cache: the bitmap's pixels at the size it is drawn at with a mask of its near-key
// pixels, and for custom shapes the transparent runs cut out of the face regions. It is built
// whenever the picture, its drawn size or the shape changes, so the key scan is made to cost less
// than reading the bitmap's bits once: a picture drawn at its own size is scanned in its own
// 32-bpp rows, another size in a scaled copy read in one call, and no bitmap is made for the
// result.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
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

// The byte with its bits in reverse order: the mask keeps its first pixel in the high bit.
constexpr std::array<uint8_t, 256> kReversed = [] {
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i)
    for (int bit = 0; bit < 8; ++bit)
      if (i & (1 << bit)) table[i] |= static_cast<uint8_t>(0x80 >> bit);
  return table;
}();

#ifdef TESSEL_KEY_SCAN_SSE2
// -1 for each of the four pixels within the tolerance of the key, 0 for the others (the distance
// per channel is a saturated byte difference).
__m128i NearKey4(const uint32_t* pixels, __m128i key, __m128i tolerance) {
  const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
  const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
  const __m128i distance = _mm_or_si128(_mm_subs_epu8(p, key), _mm_subs_epu8(key, p));
  const __m128i over = _mm_and_si128(_mm_subs_epu8(distance, tolerance), colour);
  return _mm_cmpeq_epi32(over, _mm_setzero_si128());
}
#endif

// Sets the mask bit of every pixel of the row within the tolerance of the key: sixteen pixels (two
// mask bytes) at a time where the processor allows, then four, then one.
void MaskRow(const uint32_t* row, uint8_t* mask, int width, uint32_t key) {
  std::fill_n(mask, PictureRows::MaskStride(width), uint8_t{0});
  int x = 0;
#ifdef TESSEL_KEY_SCAN_SSE2
  // The four pixels' flags, first pixel in bit 0, as the high-bit-first nibble of the mask.
  static constexpr uint8_t kNibble[16] = {0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE,
                                          0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF};
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  const __m128i tolerance = _mm_set1_epi32(kKeyTolerance * 0x010101);
  for (; x + 16 <= width; x += 16) {
    // Sixteen flags packed to bytes in pixel order: bit i of the move mask is pixel i.
    const __m128i low = _mm_packs_epi32(NearKey4(row + x, k, tolerance), NearKey4(row + x + 4, k, tolerance));
    const __m128i high = _mm_packs_epi32(NearKey4(row + x + 8, k, tolerance), NearKey4(row + x + 12, k, tolerance));
    const int flags = _mm_movemask_epi8(_mm_packs_epi16(low, high));
    mask[x / 8] = kReversed[flags & 0xFF];
    mask[x / 8 + 1] = kReversed[flags >> 8];
  }
  for (; x + 4 <= width; x += 4) {
    const int flags = _mm_movemask_ps(_mm_castsi128_ps(NearKey4(row + x, k, tolerance)));
    if (flags) mask[x / 8] |= static_cast<uint8_t>(kNibble[flags] << (x % 8 ? 0 : 4));
  }
#endif
  for (; x < width; ++x)
    if (NearKey(row[x], key)) mask[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

unique_hrgn RectRegion(int l, int t, int r, int b) { return unique_hrgn(CreateRectRgn(l, t, r, b)); }

// The union of the transparent runs of the cleaned copy, one rectangle per run; a run reaching the
// last column is closed there.
unique_hrgn RunsRegion(const PictureRows& rows) {
  std::vector<RECT> runs;
  for (int y = 0; y < rows.height; ++y) {
    int start = -1;
    for (int x = 0; x < rows.width; ++x) {
      const bool transparent = rows.Transparent(x, y);
      if (transparent && start < 0) {
        start = x;
      } else if (!transparent && start >= 0) {
        runs.push_back(RECT{start, y, x, y + 1});
        start = -1;
      }
    }
    if (start >= 0) runs.push_back(RECT{start, y, rows.width, y + 1});
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

// Whether a DIB section's rows start with the bottom row. Its header does not tell (the height it
// reports is positive either way), nor does it matter for a picture whose rows read the same from
// either end; otherwise the picture's rows as GetBitmapBits gives them, from the top and without a
// device context, are read up to the first that differs from its mirror and compared with memory.
bool StartsAtTheBottom(HBITMAP bitmap, const uint32_t* bits, int width, int height) {
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height / 2; ++y) {
    const uint32_t* first = bits + static_cast<size_t>(y) * width;
    if (std::memcmp(first, bits + static_cast<size_t>(height - 1 - y) * width, rowBytes) == 0) continue;
    std::vector<uint32_t> top(static_cast<size_t>(width) * (y + 1));
    const LONG bytes = static_cast<LONG>(rowBytes * (y + 1));
    return GetBitmapBits(bitmap, bytes, top.data()) == bytes &&
           std::memcmp(top.data() + static_cast<size_t>(y) * width, first, rowBytes) != 0;
  }
  return false;
}

// The picture's own 32-bpp rows, when it is a DIB section of them (as every loaded bitmap is). They
// are read where they are: a picture whose bitmap is drawn on after it was assigned shows the new
// colours through the mask of the old ones, until it is assigned again.
bool OwnRows(PictureRows& rows, const PictureRef& picture) {
  DIBSECTION dib{};
  HBITMAP bitmap = static_cast<HBITMAP>(picture->Handle());
  if (GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits || dib.dsBm.bmBitsPixel != 32 ||
      dib.dsBmih.biCompression != BI_RGB || dib.dsBm.bmWidth != rows.width || dib.dsBm.bmHeight != rows.height)
    return false;
  GdiFlush();
  rows.colour = static_cast<const uint32_t*>(dib.dsBm.bmBits);
  rows.bottomUp = StartsAtTheBottom(bitmap, rows.colour, rows.width, rows.height);
  rows.picture = picture;
  return true;
}

// The picture scaled to the rows' size in a 32-bpp bitmap (kept for a rebuild at that size), its
// bits read into rows of their own in one call. A bitmap like the screen's would lose the key on a
// screen of fewer colours, and cost the system a screen DC and display look-ups to make.
bool ScaledRows(PictureRows& rows, HBITMAP source, int sourceWidth, int sourceHeight) {
  const int width = rows.width, height = rows.height;
  BITMAP header{};
  if (!rows.scaled || !GetObjectW(rows.scaled.get(), sizeof(header), &header) || header.bmWidth != width ||
      header.bmHeight != height) {
    rows.scaled.reset();
    rows.ownRows.reset(new (std::nothrow) uint32_t[static_cast<size_t>(width) * height]);
    void* unused = nullptr;
    rows.scaled = CreateDib32(nullptr, width, height, &unused);
    if (!rows.scaled || !rows.ownRows) return false;
  }
  unique_hdc src(CreateCompatibleDC(nullptr)), dst(CreateCompatibleDC(nullptr));
  {
    SelectGuard selectSrc(src.get(), source);
    SelectGuard selectDst(dst.get(), rows.scaled.get());
    SetStretchBltMode(dst.get(), COLORONCOLOR);
    StretchBlt(dst.get(), 0, 0, width, height, src.get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
  }
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
  if (GetDIBits(dst.get(), rows.scaled.get(), 0, static_cast<UINT>(height), rows.ownRows.get(), &bi, DIB_RGB_COLORS) !=
      height)
    return false;
  rows.colour = rows.ownRows.get();
  rows.bottomUp = false;
  rows.picture = nullptr;
  return true;
}

}  // namespace

void BuildPictureCache(ButtonPaint& paint, int32_t width, int32_t height, HRGN cutRegion) {
  ButtonState& s = paint.state;
  if (!s.picture) return;
  PictureRows rows = std::move(s.pictureCache);
  s.pictureCacheWidth = s.pictureCacheHeight = 0;
  if (s.pictureIsIcon == 1 || width <= 0 || height <= 0) return;

  // A rebuild at the same size fills the mask (and the scaled rows) it already has.
  if (rows.width != width || rows.height != height || !rows.mask) {
    rows = PictureRows();
    rows.mask.reset(new (std::nothrow) uint8_t[PictureRows::MaskStride(width) * height]);
    if (!rows.mask) return;
    rows.width = width;
    rows.height = height;
  }
  const bool ownSize = width == s.pictureWidth && height == s.pictureHeight;
  if (ownSize && OwnRows(rows, s.picture)) {
    rows.scaled.reset();
    rows.ownRows.reset();
  } else if (!ScaledRows(rows, static_cast<HBITMAP>(s.picture->Handle()), s.pictureWidth, s.pictureHeight)) {
    return;
  }
  const uint32_t key = rows.Row(0)[0] & 0xFFFFFF;
  const size_t stride = PictureRows::MaskStride(width);
  for (int y = 0; y < height; ++y) MaskRow(rows.Row(y), rows.mask.get() + y * stride, width, key);

  if (cutRegion) {
    s.regionB = RectRegion(0, 0, paint.W(), paint.H());
    s.regionA = RectRegion(0, 0, paint.W(), paint.H());
    if (unique_hrgn cut = RunsRegion(rows)) {
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
  s.pictureCache = std::move(rows);
  s.pictureCacheWidth = width;
  s.pictureCacheHeight = height;
}

}  // namespace tessel
