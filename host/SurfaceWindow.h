#pragma once
// A real child window that is a Surface: it paints its back colour, its windowless constituents
// and then its owner's own drawing through one double-buffered paint function; routes the mouse to
// the topmost windowless constituent under the cursor; answers WM_SETCURSOR with that constituent's
// cursor; and reflects the notifications of its child windows (WM_COMMAND, WM_CTLCOLOR*) to the
// windowed constituent that owns the child. A user control's own window and a picture box are
// both built on it; the user-control window extends WindowProc and PaintOwn.
//
// Constituents standing on a surface must be destroyed before the SurfaceWindow object is.
#include <windows.h>

#include "host/ConstituentSurface.h"
#include "host/KeyboardCues.h"
#include "server/contract/Gdi.h"
#include "server/contract/OleColor.h"

namespace tessel {

class SurfaceWindow : public ConstituentSurface {
 public:
  SurfaceWindow() = default;
  ~SurfaceWindow() override;  // destroys the window if it still exists
  SurfaceWindow(const SurfaceWindow&) = delete;
  SurfaceWindow& operator=(const SurfaceWindow&) = delete;

  // Creates the window as a child of parent at pixels (parent client coordinates). style always
  // gets WS_CHILD and WS_CLIPCHILDREN added. Throws std::runtime_error when the window cannot be
  // made (for example, without a display).
  void Create(HWND parent, const RECT& pixels, DWORD style = WS_VISIBLE, DWORD exStyle = 0,
              int id = 0);
  void Destroy();

  HWND hWnd() const override { return hwnd_; }
  OleColor BackColor() const override { return backColor_; }
  void SetBackColor(OleColor color) override;  // repaints

  // The one paint function behind WM_PAINT and WM_PRINTCLIENT: back colour, windowless
  // constituents in creation order, then PaintOwn. dc is in client pixels. Never throws.
  void Paint(HDC dc);

  // Drawing services (SurfaceDrawing.cpp).
  void SetPersistentImage(bool keep) override;
  HDC DrawingDC() override;
  void Cls() override;
  OleColor ForeColor() const override { return drawing_ ? drawing_->foreColor : kSysButtonText; }
  void SetForeColor(OleColor color) override;
  OleColor FillColor() const override { return drawing_ ? drawing_->fillColor : 0; }
  void SetFillColor(OleColor color) override { Drawing().fillColor = color; }
  int FillStyle() const override { return drawing_ ? drawing_->fillStyle : kFillTransparent; }
  void SetFillStyle(int style) override { Drawing().fillStyle = style; }
  FontRef Font() const override { return drawing_ ? drawing_->font : nullptr; }
  void SetFont(const FontRef& font) override { Drawing().font = font; }
  int TextWidth(std::wstring_view text) override;
  int TextHeight(std::wstring_view text) override;
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) override;
  void PaintPicture(const Picture& picture, int x, int y, int w, int h) override;

  // Window class shared by every surface window (CS_DBLCLKS, no background brush).
  static const wchar_t* ClassName();
  // The surface behind a window of this thread; null for any other window and once it has gone.
  static SurfaceWindow* FromHandle(HWND hwnd);

 protected:
  void PaintBackground(HDC dc, const RECT& area) override;
  // The owner's own drawing, on top of the constituents.
  virtual void PaintOwn(HDC dc) {}
  // Extended by derived windows; anything they do not handle goes to SurfaceWindow::WindowProc,
  // which does the surface's work and then calls DefWindowProc.
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The window's keyboard cues, and the call made when the form's cues change them.
  const KeyboardCues& Cues() const { return cues_; }
  virtual void CuesChanged() {}
  // A window whose owner draws its persistent image again whenever asked keeps an image of only
  // what the screen can show of it (ShownImageSize); ImageLost asks for that drawing when a paint
  // finds the window moved where its image shows too little, the image having been let go.
  virtual bool RedrawsItsImage() const { return false; }
  virtual void ImageLost() {}
  // Called once the window exists (after WM_CREATE) and just before it is destroyed.
  virtual void Created() {}
  virtual void Destroying() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void PaintBuffered(HDC dc, const RECT& client);
  bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The persistent image and the drawing state of the window, made the first time the owner draws
  // or sets one of them: most windows never do, and they are spared its room.
  struct DrawingState {
    bool keepImage = false;
    unique_hdc imageDc;
    unique_hbitmap image;
    HGDIOBJ imageOldBitmap = nullptr;
    HGDIOBJ imageOldFont = nullptr;
    SIZE imageSize{0, 0};
    SIZE imageClient{0, 0};  // the client size the image was made for
    OleColor foreColor = kSysButtonText;
    OleColor fillColor = 0;
    int fillStyle = kFillTransparent;
    FontRef font;
  };
  DrawingState& Drawing();

  SIZE TextExtent(std::wstring_view text);
  bool ImageCovers(const RECT& area) const;  // a kept image that covers the area
  void RemakeOutgrownImage(const RECT& client);
  void ReleaseImage();
  void SelectDrawingFont(HDC dc);

  HWND hwnd_ = nullptr;
  KeyboardCues cues_;
  OleColor backColor_ = kSysButtonFace;
  std::unique_ptr<DrawingState> drawing_;
};

}  // namespace tessel
