#pragma once
// A windowless caption drawn by its surface: text in its font and colour, over its back colour or
// transparent, optionally sized to its text. It answers the mouse, shows a tooltip and a cursor.
#include <windows.h>

#include <cstdint>
#include <string>

#include "host/Constituent.h"
#include "host/Events.h"
#include "server/contract/Gdi.h"
#include "server/contract/Font.h"
#include "server/contract/OleColor.h"
#include "server/contract/Picture.h"

namespace tessel {

class Label : public Constituent {
 public:
  Label(Surface& parent, std::wstring name);
  ~Label() override;

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);   // resizes when AutoSize
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool autoSize);                // sizes itself to its text at once
  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);               // 0 left, 1 right, 2 centre; others refused
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor color);
  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor color);
  int BackStyle() const { return backStyle_; }
  void SetBackStyle(int style);                   // 0 transparent, 1 opaque; others refused
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  // By reference: after changing the font object call Refresh (which also re-measures).
  // Null: the GUI font.
  FontRef Font() const { return font_; }
  void SetFont(FontRef font);
  const std::wstring& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::wstring& text);  // "" removes the tooltip
  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int pointer);              // 0 default, 1 arrow ... 15, 99 custom (MouseIcon)
  PictureRef MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(PictureRef icon);

  // The extent of the caption in twips with the current font (what AutoSize gives).
  SIZE TextExtentTwips() const;

  struct Events {
    NotifyEvent Click;
    NotifyEvent DblClick;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    MouseEvent MouseUp;
  } events;

  void Draw(HDC dc) override;
  HCURSOR Cursor() const override;
  void Refresh() override;
  void OnMouseDown(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseMove(int16_t button, int16_t shift, float x, float y) override;
  void OnMouseUp(int16_t button, int16_t shift, float x, float y) override;
  void OnClick() override;
  void OnDblClick() override;

 protected:
  void Relocated() override;
  void ResolutionChanged() override;
  void VisibilityChanged() override;

 private:
  void FitToText();
  void UpdateToolTip();

  std::wstring caption_;
  bool autoSize_ = false;
  int alignment_ = 0;
  OleColor foreColor_ = kSysButtonText;
  OleColor backColor_ = kSysButtonFace;
  int backStyle_ = 1;
  bool wordWrap_ = false;
  FontRef font_;
  std::wstring toolTip_;
  int mousePointer_ = 0;
  PictureRef mouseIcon_;
  unique_hwnd toolTipWindow_;
};

}  // namespace tessel
