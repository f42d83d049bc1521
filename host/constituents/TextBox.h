#pragma once
// A single-line text box: a real EDIT control, child window of its surface. Key, mouse, focus and
// change notifications are raised as events; KeyPress hands KeyAscii by reference, so a handler
// that zeroes it suppresses the character and one that changes it changes what the edit receives.
#include <windows.h>

#include <cstdint>
#include <string>

#include "host/Constituent.h"
#include "host/Events.h"
#include "server/contract/Gdi.h"
#include "server/contract/Font.h"
#include "server/contract/OleColor.h"
#include "server/contract/SharedBrush.h"

namespace tessel {

// What a text box is made with. An edit reads its border bits only when it is created, so a field
// designed without a border is given its window once, already without one.
struct TextBoxDesign {
  int borderStyle = 1;  // 0 none, 1 fixed single
  int appearance = 1;   // 0 flat, 1 3D
  std::wstring text;
};

class TextBox : public Constituent {
 public:
  // Created as designed (by default: text "" and a fixed single 3D border); the edit window is
  // made at once when the surface has a window, unless the surface holds windows back.
  TextBox(Surface& parent, std::wstring name, TextBoxDesign design = {});
  ~TextBox() override;

  bool Windowed() const override { return true; }
  HWND Window() const override { return edit_.get(); }
  bool MakeHeldWindow() override;

  std::wstring Text() const;
  void SetText(const std::wstring& text);
  int SelStart() const;
  void SetSelStart(int start);        // negative refused with InvalidPropertyValue
  int SelLength() const;
  void SetSelLength(int length);      // negative refused
  std::wstring SelText() const;
  void SetSelText(const std::wstring& text);  // replaces the selection
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int length);      // 0: no limit; negative refused
  const std::wstring& PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(const std::wstring& ch);  // first character used; "" shows the text
  bool Locked() const { return locked_; }
  void SetLocked(bool locked);        // read-only
  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);   // 0 left, 1 right, 2 centre; others refused
  int BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(int style);     // 0 none, 1 fixed single; others refused
  int Appearance() const { return appearance_; }
  void SetAppearance(int appearance); // 0 flat (plain line border), 1 3D (sunken edge)
  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor color);
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor color);
  // By reference: later changes to the font object show at the next paint. Null: the GUI font.
  FontRef Font() const { return font_; }
  void SetFont(FontRef font);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  void SetFocus();
  bool HasFocus() const;
  void Refresh() override;

  struct Events {
    KeyEvent KeyDown;
    KeyPressEvent KeyPress;
    KeyEvent KeyUp;
    MouseEvent MouseDown;
    MouseEvent MouseMove;
    MouseEvent MouseUp;
    NotifyEvent Change;
    NotifyEvent GotFocus;
    NotifyEvent LostFocus;
    NotifyEvent Click;
    NotifyEvent DblClick;
  } events;

  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  void Relocated() override;
  void ResolutionChanged() override;
  void VisibilityChanged() override;

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnEditMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  DWORD EditStyle() const;
  DWORD EditExStyle() const;
  void CreateEdit();  // (re)creates the edit, keeping text, selection, focus and state
  // fresh: the edit was just made and has not been shown yet.
  void ApplyState(bool fresh);
  HFONT CurrentFont() const;
  void ApplyFont(bool redraw);

  unique_hwnd edit_;
  SharedBrush backBrush_;       // shared with every field of the same back colour
  std::wstring text_;          // kept while there is no window
  int selStart_ = 0, selLength_ = 0;
  int maxLength_ = 0;
  std::wstring passwordChar_;
  bool locked_ = false;
  int alignment_ = 0;
  int borderStyle_ = 1;
  int appearance_ = 1;
  OleColor backColor_ = kSysWindow;
  OleColor foreColor_ = kSysWindowText;
  FontRef font_;
  HFONT appliedFont_ = nullptr;  // borrowed from font_: the handle the edit was last given
  bool enabled_ = true;
  bool tabStop_ = true;
  bool recreating_ = false;    // focus moves while the edit is replaced raise nothing
  bool clickPending_ = false;
};

}  // namespace tessel
