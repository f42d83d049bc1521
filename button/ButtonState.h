#pragma once
// The model of a ButtonStyle: its stored properties, its run-time state, the shape, layout and
// colour values worked out from them, and the back buffer it paints into. The control owns one
// of these; the renderers read it (and write only the colours and pens they select) through a
// ButtonPaint, so a test can hand a renderer a state and a memory DC and read the pixels back.
#include <windows.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "server/contract/Gdi.h"
#include "server/contract/HostServices.h"
#include "server/contract/OleColor.h"
#include "server/contract/Picture.h"

namespace tessel {

// A bitmap's pixels in memory, drawn with its transparent pixels left out: 32-bpp colour rows and
// a one-bit top-down mask of the same size whose set bits (leftmost pixel in the high bit, rows
// padded to 32 bits) are the transparent pixels. The colour rows are the picture's own bits when
// it is a 32-bpp DIB drawn at its own size (the picture is held so they stay valid), else a scaled
// copy the rows own; no GDI bitmap is made for either. The rows count as built only while what
// the colour rows point into is held (the picture or the copy) beside a mask; a move hands all of
// it over and leaves the source empty, so no pointer outlives the rows it points into.
struct PictureRows {
  PictureRows() = default;
  PictureRows(PictureRows&& other) noexcept { *this = std::move(other); }
  PictureRows& operator=(PictureRows&& other) noexcept {
    width = std::exchange(other.width, 0);
    height = std::exchange(other.height, 0);
    colour = std::exchange(other.colour, nullptr);
    bottomUp = std::exchange(other.bottomUp, false);
    mask = std::move(other.mask);
    picture = std::move(other.picture);
    ownRows = std::move(other.ownRows);
    scaled = std::move(other.scaled);
    return *this;
  }
  PictureRows(const PictureRows&) = delete;
  PictureRows& operator=(const PictureRows&) = delete;

  int32_t width = 0;
  int32_t height = 0;
  const uint32_t* colour = nullptr;
  bool bottomUp = false;  // the colour rows start with the bottom row
  std::unique_ptr<uint8_t[]> mask;
  PictureRef picture;                    // whose bits colour points into
  std::unique_ptr<uint32_t[]> ownRows;   // or the scaled copy's rows
  unique_hbitmap scaled;                 // and the bitmap it is scaled in, kept for a rebuild

  static size_t MaskStride(int32_t width) { return static_cast<size_t>((width + 31) / 32) * 4; }
  bool Transparent(int x, int y) const { return mask[y * MaskStride(width) + x / 8] & (0x80 >> (x % 8)); }
  const uint32_t* Row(int y) const { return colour + static_cast<size_t>(bottomUp ? height - 1 - y : y) * width; }
  explicit operator bool() const {
    return colour && mask && width > 0 && height > 0 && (ownRows ? colour == ownRows.get() : picture != nullptr);
  }
  void reset() { *this = PictureRows(); }
};

// Visual styles (the ButtonStyle property, stored as "BackStyle").
enum ButtonStyleValue : int32_t {
  bsClassic = 0,
  bsSoft = 1,
  bsRounded = 2,
  bsPastel = 3,
  bsFlatBevel = 4,
  bsRing = 5,
  bsLight = 6,
  bsGlossy = 7,
};
constexpr int32_t kButtonStyleCount = 8;

enum ButtonModeValue : int32_t { modeCommand = 0, modeCheck = 1, modeOption = 2 };
enum CaptionAlignValue : int32_t { capAlignLeft = 0, capAlignRight = 1, capAlignCenter = 2 };
enum CaptionStyleValue : int32_t { capStyleFlat = 0, capStyleEmbossed = 1, capStyleEngraved = 2 };

// Shapes above shapeEllipseFramed take their outline from the picture.
enum ButtonShapeValue : int32_t {
  shapeRectangle = 0,
  shapeSlantLeft = 1,
  shapeSlantRight = 2,
  shapeSlantBoth = 3,
  shapeEllipse = 4,
  shapeEllipseAlt = 5,
  shapeEllipseFramed = 6,
  shapeCustom = 7,
  shapeCustomShaded = 8,
};

enum PictureAlignValue : int32_t {
  picLeftEdge = 0,
  picLeftOfCaption = 1,
  picRightEdge = 2,
  picRightOfCaption = 3,
  picTopCenter = 4,
  picBottomCenter = 5,
};

// The PictureSize property; the model keeps the size in pixels (16, 24, 32) or the codes 40
// (stretched over the face) and 48 (fitted into the face).
enum PictureSizeValue : int32_t { picSize16 = 0, picSize24 = 1, picSize32 = 2, picStretch = 3, picFit = 4 };
constexpr int16_t kPictureStretchPixels = 40;
constexpr int16_t kPictureFitPixels = 48;

enum GradientModeValue : int32_t { gradNone = 0, gradLeftRight = 1, gradRightLeft = 2, gradTopBottom = 3, gradBottomTop = 4 };
enum HoverLockValue : int32_t { lockNone = 0, lockBackColor = 1, lockForeColor = 2, lockBoth = 3 };
enum CustomClickValue : int32_t {
  clickNone = 0,
  clickUp = 1,
  clickUpRight = 2,
  clickUpLeft = 3,
  clickDownRight = 4,
  clickDownLeft = 5,
  clickRight = 6,
  clickDown = 7,
  clickLeft = 8,
};

// Bits of ButtonState::stateFlags.
constexpr uint16_t isDefault = 0x1;  // drawn as the form's default (or focused) button
constexpr uint16_t isPressed = 0x2;  // left button or space bar held down on the button
constexpr uint16_t isHot = 0x4;      // drawn as under the cursor
constexpr uint16_t isMoved = 0x400;  // the window stands moved by the custom click

struct ButtonState {
  // Stored properties (Enabled, MousePointer, MouseIcon, Font and ForeColor live in the host).
  int32_t buttonStyle = bsClassic;
  int32_t mode = modeCommand;
  std::wstring caption;
  int32_t captionAlign = capAlignCenter;
  int32_t captionStyle = capStyleFlat;
  int32_t customClick = clickNone;
  int32_t buttonShape = shapeRectangle;
  PictureRef picture;
  int32_t pictureAlign = picLeftEdge;
  bool showFocusRect = true;
  bool value = false;
  int16_t pictureSize = 16;  // 16, 24, 32, 40 (stretch) or 48 (fit); 0 reads as 16
  OleColor backColor = kSysButtonFace;
  OleColor gradientColor = 0;
  int32_t gradientMode = gradNone;
  int32_t hoverColorLocks = lockNone;
  OleColor hoverForeColor = kSysButtonText;
  OleColor hoverBackColor = kSysButtonFace;

  // Run-time state.
  uint16_t stateFlags = 0;
  int16_t lastButton = 0;          // 1 left; key clicks set 1; -1 after a double click
  bool isHoverTracking = false;    // the hover timer runs
  bool isPressedTracking = false;  // a press by the left button or the space bar is under way
  bool delayDrawing = false;       // while set the redraw dispatcher draws nothing
  HWND containerWindow = nullptr;  // holds the option group's window properties
  // A check or option button that got the focus from the keyboard shows the focus indicator too.
  bool keyboardFocus = false;
  int32_t ambientBackColor = 0;    // RGB of the container's back colour

  // Shape (built from buttonShape and buttonStyle): the straight part of the face, and the two
  // inner face regions of the elliptic and custom shapes (null for the others).
  int32_t faceLeft = 0;
  int32_t faceRight = 0;
  unique_hrgn regionA;  // two pixels inside the ellipse; the custom outline shrunk by one pixel
  unique_hrgn regionB;  // one pixel inside the ellipse; the custom outline itself
  bool windowShaped = false;  // the window holds a region the shape gave it

  // Caption layout.
  RECT captionRect{};
  // Of a caption taller than the face, the characters the layout measured (and the drawing shows);
  // npos for the whole caption.
  size_t captionLength = std::wstring::npos;
  RECT pictureRect{};

  // Picture: native size and kind, and the scaled copy whose near-key pixels are transparent.
  int32_t pictureWidth = 0;
  int32_t pictureHeight = 0;
  int32_t pictureIsIcon = 0;
  PictureRows pictureCache;
  int32_t pictureCacheWidth = 0;
  int32_t pictureCacheHeight = 0;
  // Of an icon file with several images, the one chosen for the picture box's side (0 for none).
  unique_hicon iconImage;
  int32_t iconImageSide = 0;

  // Colours derived from backColor and hoverBackColor for the style (RGB).
  int32_t faceColor = 0;
  int32_t faceShadeColor = 0;
  int32_t hoverFaceColor = 0;
  int32_t faceEdgeColor = 0;

  // Back buffer: the memory DC, the objects it held before the button's own were selected
  // (borrowed, put back at the end), and the button's own objects selected into it now.
  unique_hdc memDC;
  HGDIOBJ bufferPrevBitmap = nullptr;  // null while no buffer bitmap exists
  HGDIOBJ bufferPrevFont = nullptr;
  unique_hbitmap bufferBitmap;
  SIZE bufferSize{0, 0};  // the bitmap's pixels: all of the button, or what the screen can show of it
  unique_hfont captionFont;

  bool Has(uint16_t flag) const { return (stateFlags & flag) != 0; }
  void Set(uint16_t flag, bool on) { stateFlags = on ? (stateFlags | flag) : (stateFlags & ~flag); }
  // Pressed look: pressed and under the cursor together.
  bool PressedLook() const { return Has(isPressed) && Has(isHot); }
  bool HasPicture() const { return pictureWidth + pictureHeight >= 1; }
  bool IsCustomShape() const { return buttonShape > shapeEllipseFramed; }
};

// Rounding of the control's floating-point pixel sizes: to the nearest, halves to even.
inline int32_t RoundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

// What a renderer is given: the state, the control's window and size, the host's values the
// button keeps no copy of, and where a failing paint step is reported.
struct ButtonPaint {
  ButtonState& state;
  HWND window = nullptr;        // the control's own window; null when painting off screen only
  HDC target = nullptr;         // where the finished frame goes: the paint's DC, or the window's when null
  double width = 0;             // W: the control's scale width in pixels
  double height = 0;            // H
  bool enabled = true;          // the host's Enabled
  OleColor foreColor = kSysButtonText;  // the host's ForeColor
  bool userMode = true;         // the ambient UserMode: False while the form is designed
  HostServices* host = nullptr; // diagnostics; null drops reports

  HDC memDC() const { return state.memDC.get(); }
  int32_t W() const { return RoundEven(width); }
  int32_t H() const { return RoundEven(height); }

  // Runs one paint step; a step that throws is skipped and reported, and the paint goes on.
  template <class Fn>
  bool Step(std::wstring_view step, Fn&& fn) noexcept {
    try {
      fn();
      return true;
    } catch (const std::exception& e) {
      Report(step, e.what());
    }
    return false;
  }
  void Report(std::wstring_view step, const char* error) noexcept {
    if (!host) return;
    try {
      std::wstring text;
      for (const char* p = error; p && *p; ++p) text.push_back(static_cast<unsigned char>(*p));
      host->ReportSkippedStep(L"ButtonStyle", step, text);
    } catch (const std::exception&) {
      // Nothing is left to tell: the report itself could not be made (out of memory).
    }
  }
};

// The renderer contract: the bevel point list (16 points), the bevel colour list (indexes 1 to
// 12, index 0 unused; -1 leaves an edge undrawn; entry 12 comes back as the outline colour), the
// face state (an int16 in the low half) and the clip outcome: 0 nothing painted, 1 a plain face,
// above 1 the face was clipped to a face region. All four are fresh for every call.
using BevelPoints = std::array<POINT, 16>;
using BevelColors = std::array<int32_t, 13>;
using Renderer = void (*)(ButtonPaint& paint, BevelPoints& points, BevelColors& colors, int32_t& faceState,
                          int16_t& outcome);

}  // namespace tessel
