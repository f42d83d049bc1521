#include "host/constituents/TextBox.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "host/AccessibleObject.h"
#include "host/ConstituentSurface.h"
#include "host/MouseArgs.h"
#include "host/WindowTable.h"
#include "server/contract/HostServices.h"
#include "server/contract/Palette.h"
#include "server/contract/Twips.h"
#include "server/contract/ThisModule.h"

namespace tessel {
namespace {

// The colour a solid brush paints.
COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH lb{};
  return GetObjectW(brush, sizeof lb, &lb) == sizeof lb ? lb.lbColor : CLR_INVALID;
}

// Each subclassed edit of the thread: the field behind it (none once the field has gone before its
// edit) and the procedure it had before. Both are found in the process: a window property would
// cost the system a lookup on every message.
struct Subclassed {
  TextBox* field;
  WNDPROC previous;
};
using Edits = WindowTable<Subclassed>;

LRESULT CallEdit(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const Subclassed* found = Edits::Find(hwnd);
  return found ? CallWindowProcW(found->previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

// Gives an edit its text; false when the edit did not take it (nothing lost: the caller still
// holds the text). A single-line edit may end the text at its first line break, as it shows it.
bool PutText(HWND edit, const std::wstring& text) {
  if (!SetWindowTextW(edit, text.c_str())) return false;
  const size_t shown = std::min(text.size(), text.find_first_of(L"\r\n"));
  return static_cast<size_t>(std::max(GetWindowTextLengthW(edit), 0)) >= shown;
}

std::string RefusedText(size_t length) {
  return "the text box did not take a text of " + std::to_string(length) + " characters";
}

// The field's edit goes on with its own procedure only.
void Release(HWND edit) {
  if (Subclassed* found = Edits::Find(edit)) found->field = nullptr;
}

}  // namespace

HFONT TextBox::CurrentFont() const {
  HFONT handle = font_ ? font_->Handle() : nullptr;
  return handle ? handle : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void TextBox::ApplyFont(bool redraw) {
  appliedFont_ = CurrentFont();
  SendMessageW(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(appliedFont_), redraw ? TRUE : FALSE);
}

TextBox::TextBox(Surface& parent, std::wstring name, TextBoxDesign design)
    : Constituent(parent, std::move(name)),
      text_(std::move(design.text)),
      borderStyle_(design.borderStyle),
      appearance_(design.appearance) {
  if (borderStyle_ < 0 || borderStyle_ > 1 || appearance_ < 0 || appearance_ > 1)
    throw InvalidPropertyValue("Invalid property value");
  if (parent.hWnd() && !Parent().HoldsWindowsBack()) CreateEdit();
}

bool TextBox::MakeHeldWindow() {
  if (edit_ || !Parent().hWnd()) return false;
  CreateEdit();
  return edit_.get() != nullptr;
}

TextBox::~TextBox() {
  // The edit goes with the edit's own procedure only.
  if (edit_) Release(edit_.get());
  edit_.reset();
}

DWORD TextBox::EditStyle() const {
  DWORD style = WS_CHILD | ES_AUTOHSCROLL;
  if (Visible()) style |= WS_VISIBLE;
  if (tabStop_) style |= WS_TABSTOP;
  if (!enabled_) style |= WS_DISABLED;
  if (locked_) style |= ES_READONLY;
  if (!passwordChar_.empty()) style |= ES_PASSWORD;
  if (alignment_ == 1) style |= ES_RIGHT;
  else if (alignment_ == 2) style |= ES_CENTER;
  if (borderStyle_ == 1 && appearance_ == 0) style |= WS_BORDER;
  return style;
}

DWORD TextBox::EditExStyle() const { return borderStyle_ == 1 && appearance_ == 1 ? WS_EX_CLIENTEDGE : 0; }

void TextBox::CreateEdit() {
  HWND parent = Parent().hWnd();
  if (!parent) return;
  HWND old = edit_.get();
  const bool hadFocus = old && GetFocus() == old;
  if (old) {
    text_ = Text();
    DWORD start = 0, end = 0;
    SendMessageW(old, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    selStart_ = static_cast<int>(start);
    selLength_ = static_cast<int>(end - start);
  }
  const RECT r = BoundsPixels();
  // Made without a text and given it after: a window name of a mebibyte or more can come back
  // from CreateWindowEx as a handle that names no window. Until the edit is the field's, its
  // change notification reaches no one.
  HWND edit = CreateWindowExW(EditExStyle(), L"EDIT", L"", EditStyle(), r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, nullptr, ThisModule(), nullptr);
  if (!edit || !IsWindow(edit)) {
    if (!old) throw std::runtime_error("the text box window could not be created");
    return;  // keep the old window rather than lose the field
  }
  if (!text_.empty() && !PutText(edit, text_)) {
    DestroyWindow(edit);
    if (!old) throw std::runtime_error(RefusedText(text_.size()));
    return;
  }
  if (old) {
    // Same place in the tab and z order as the window it replaces.
    SetWindowPos(edit, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  recreating_ = true;
  unique_hwnd replaced(edit_.release());
  edit_.reset(edit);
  const auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::EditProc)));
  Edits::Set(edit, Subclassed{this, previous});
  ApplyState(!old);
  if (hadFocus) ::SetFocus(edit);
  if (replaced) Release(replaced.get());
  replaced.reset();
  recreating_ = false;
}

void TextBox::ApplyState(bool fresh) {
  HWND e = edit_.get();
  ApplyFont(false);
  SendMessageW(e, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  SendMessageW(e, EM_SETPASSWORDCHAR, passwordChar_.empty() ? 0 : passwordChar_[0], 0);
  SendMessageW(e, EM_SETSEL, static_cast<WPARAM>(selStart_), static_cast<LPARAM>(selStart_ + selLength_));
  // A first edit is painted whole when it is first shown; one made again in place of another
  // shows its new state at once.
  if (!fresh) InvalidateRect(e, nullptr, TRUE);
}

std::wstring TextBox::Text() const {
  if (!edit_) return text_;
  const int length = GetWindowTextLengthW(edit_.get());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(edit_.get(), text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

void TextBox::SetText(const std::wstring& text) {
  if (!edit_) {
    // As the edit takes a new text: the caret goes to the start.
    text_ = text;
    selStart_ = selLength_ = 0;
    Raise(events.Change);
    return;
  }
  // The edit reports EN_CHANGE, which raises Change. A text the edit does not take whole is
  // refused, and the field keeps the one it had.
  if (!PutText(edit_.get(), text)) throw std::runtime_error(RefusedText(text.size()));
}

int TextBox::SelStart() const {
  if (!edit_) return selStart_;
  DWORD start = 0, end = 0;
  SendMessageW(edit_.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

int TextBox::SelLength() const {
  if (!edit_) return selLength_;
  DWORD start = 0, end = 0;
  SendMessageW(edit_.get(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TextBox::SetSelStart(int start) {
  if (start < 0) throw InvalidPropertyValue("Invalid property value");
  const int length = static_cast<int>(Text().size());
  selStart_ = std::min(start, length);
  selLength_ = 0;  // moving the start collapses the selection
  if (edit_) SendMessageW(edit_.get(), EM_SETSEL, static_cast<WPARAM>(selStart_), static_cast<LPARAM>(selStart_));
}

void TextBox::SetSelLength(int length) {
  if (length < 0) throw InvalidPropertyValue("Invalid property value");
  const int start = SelStart();
  const int total = static_cast<int>(Text().size());
  selStart_ = start;
  selLength_ = std::min(length, total - start);
  if (edit_)
    SendMessageW(edit_.get(), EM_SETSEL, static_cast<WPARAM>(selStart_), static_cast<LPARAM>(selStart_ + selLength_));
}

std::wstring TextBox::SelText() const {
  const std::wstring text = Text();
  const size_t start = std::min<size_t>(static_cast<size_t>(SelStart()), text.size());
  return text.substr(start, static_cast<size_t>(SelLength()));
}

void TextBox::SetSelText(const std::wstring& text) {
  if (!edit_) {
    const size_t start = std::min<size_t>(static_cast<size_t>(selStart_), text_.size());
    text_.replace(start, static_cast<size_t>(selLength_), text);
    selStart_ = static_cast<int>(start + text.size());
    selLength_ = 0;
    Raise(events.Change);
    return;
  }
  SendMessageW(edit_.get(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TextBox::SetMaxLength(int length) {
  if (length < 0) throw InvalidPropertyValue("Invalid property value");
  maxLength_ = length;
  if (edit_) SendMessageW(edit_.get(), EM_SETLIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TextBox::SetPasswordChar(const std::wstring& ch) {
  passwordChar_ = ch.empty() ? std::wstring() : ch.substr(0, 1);
  if (!edit_) return;
  SendMessageW(edit_.get(), EM_SETPASSWORDCHAR, passwordChar_.empty() ? 0 : passwordChar_[0], 0);
  InvalidateRect(edit_.get(), nullptr, TRUE);
}

void TextBox::SetLocked(bool locked) {
  locked_ = locked;
  if (edit_) SendMessageW(edit_.get(), EM_SETREADONLY, locked ? TRUE : FALSE, 0);
}

void TextBox::SetAlignment(int alignment) {
  if (alignment < 0 || alignment > 2) throw InvalidPropertyValue("Invalid property value");
  if (alignment == alignment_) return;
  alignment_ = alignment;
  // An edit reads its alignment bits only when it is created.
  if (edit_) CreateEdit();
}

void TextBox::SetBorderStyle(int style) {
  if (style < 0 || style > 1) throw InvalidPropertyValue("Invalid property value");
  if (style == borderStyle_) return;
  borderStyle_ = style;
  if (edit_) CreateEdit();
}

void TextBox::SetAppearance(int appearance) {
  if (appearance < 0 || appearance > 1) throw InvalidPropertyValue("Invalid property value");
  if (appearance == appearance_) return;
  appearance_ = appearance;
  if (edit_) CreateEdit();
}

void TextBox::SetBackColor(OleColor color) {
  backColor_ = color;
  backBrush_.reset();
  if (edit_) InvalidateRect(edit_.get(), nullptr, TRUE);
}

void TextBox::SetForeColor(OleColor color) {
  foreColor_ = color;
  if (edit_) InvalidateRect(edit_.get(), nullptr, TRUE);
}

void TextBox::SetFont(FontRef font) {
  font_ = std::move(font);
  // Fonts alike share one handle: the edit already draws with it.
  if (edit_ && CurrentFont() != appliedFont_) ApplyFont(true);
}

void TextBox::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (edit_) EnableWindow(edit_.get(), enabled ? TRUE : FALSE);
}

void TextBox::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  if (!edit_) return;
  LONG_PTR style = GetWindowLongPtrW(edit_.get(), GWL_STYLE);
  style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrW(edit_.get(), GWL_STYLE, style);
}

void TextBox::SetFocus() {
  if (edit_) ::SetFocus(edit_.get());
}

bool TextBox::HasFocus() const { return edit_ && GetFocus() == edit_.get(); }

void TextBox::Refresh() {
  if (!edit_) return;
  ApplyFont(false);
  InvalidateRect(edit_.get(), nullptr, TRUE);
  UpdateWindow(edit_.get());
}

void TextBox::Relocated() {
  if (!edit_) return;
  const RECT r = BoundsPixels();
  MoveWindow(edit_.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void TextBox::ResolutionChanged() {
  // The font object realises another handle at the new resolution: the edit is given it.
  if (edit_ && CurrentFont() != appliedFont_) ApplyFont(false);
}

void TextBox::VisibilityChanged() {
  if (edit_) ShowWindow(edit_.get(), Visible() ? SW_SHOWNA : SW_HIDE);
}

bool TextBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == EN_CHANGE) {
        Raise(events.Change);
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {  // read-only and disabled edits ask with WM_CTLCOLORSTATIC
      HDC dc = reinterpret_cast<HDC>(wp);
      const COLORREF back = ColorOr(PaletteOf(backColor_, ColorRole::Window), GetSysColor(COLOR_WINDOW));
      const COLORREF fore = enabled_ ? ColorOr(PaletteOf(foreColor_, ColorRole::WindowText), GetSysColor(COLOR_WINDOWTEXT))
                                     : GetSysColor(COLOR_GRAYTEXT);
      // A system colour or the high-contrast scheme may have changed since the brush was made.
      if (!backBrush_ || BrushColor(backBrush_.get()) != back) backBrush_ = SharedBrush::OfColor(back);
      SetTextColor(dc, fore);
      SetBkColor(dc, back);
      result = reinterpret_cast<LRESULT>(backBrush_.get());
      return backBrush_.get() != nullptr;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK TextBox::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const Subclassed* found = Edits::Find(hwnd);
  if (!found) return DefWindowProcW(hwnd, msg, wp, lp);
  TextBox* self = found->field;
  if (msg == WM_NCDESTROY) {
    // The last message: the entry goes, the edit's own procedure has the message.
    const WNDPROC previous = found->previous;
    Edits::Erase(hwnd);
    if (self && hwnd == self->edit_.get()) self->edit_.release();  // gone with its parent (a closing form)
    return CallWindowProcW(previous, hwnd, msg, wp, lp);
  }
  if (!self) return CallEdit(hwnd, msg, wp, lp);
  try {
    return self->OnEditMessage(hwnd, msg, wp, lp);
  } catch (...) {
    // Nothing may unwind through the system's dispatch: the field gets the message as it came.
    ReportToDebugger(self->Name(), L"edit message", CurrentErrorText());
    return CallEdit(hwnd, msg, wp, lp);
  }
}

LRESULT TextBox::OnEditMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto mouse = [&](const MouseEvent& handler, int16_t button) {
    // X and Y relative to the text box's outer edge, in twips.
    POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    MapWindowPoints(hwnd, GetParent(hwnd), &pt, 1);
    const RECT bounds = BoundsPixels();
    int16_t shift = MouseShift(wp);
    float x = static_cast<float>(TwipsFromPixelsX(pt.x - bounds.left));
    float y = static_cast<float>(TwipsFromPixelsY(pt.y - bounds.top));
    Raise(handler, button, shift, x, y);
  };

  switch (msg) {
    case WM_GETOBJECT:
      // A field's edit reads as its field: named by the field's caption, not by a neighbour.
      if (const LRESULT object = AnswerFieldEditQuery(hwnd, wp, lp)) return object;
      return CallEdit(hwnd, msg, wp, lp);
    case WM_KEYDOWN: {
      int16_t keyCode = static_cast<int16_t>(wp), shift = KeyboardShift();
      Raise(events.KeyDown, keyCode, shift);
      if (keyCode == 0) return 0;  // the handler took the key
      return CallEdit(hwnd, msg, static_cast<WPARAM>(static_cast<uint16_t>(keyCode)), lp);
    }
    case WM_KEYUP: {
      int16_t keyCode = static_cast<int16_t>(wp), shift = KeyboardShift();
      Raise(events.KeyUp, keyCode, shift);
      if (keyCode == 0) return 0;
      return CallEdit(hwnd, msg, static_cast<WPARAM>(static_cast<uint16_t>(keyCode)), lp);
    }
    case WM_CHAR: {
      int16_t keyAscii = static_cast<int16_t>(wp);
      Raise(events.KeyPress, keyAscii);
      if (keyAscii == 0) return 0;  // suppressed
      return CallEdit(hwnd, msg, static_cast<WPARAM>(static_cast<uint16_t>(keyAscii)), lp);
    }
    case WM_SETFOCUS: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      if (!recreating_) Raise(events.GotFocus);
      return r;
    }
    case WM_KILLFOCUS: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      if (!recreating_) Raise(events.LostFocus);
      return r;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      if (msg == WM_LBUTTONDOWN) clickPending_ = true;
      mouse(events.MouseDown, msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4);
      return r;
    }
    case WM_LBUTTONDBLCLK: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      clickPending_ = false;
      Raise(events.DblClick);
      return r;
    }
    case WM_MOUSEMOVE: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      mouse(events.MouseMove, HeldButtons(wp));
      return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const LRESULT r = CallEdit(hwnd, msg, wp, lp);
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT client{};
      GetClientRect(hwnd, &client);
      const bool click = msg == WM_LBUTTONUP && clickPending_ && PtInRect(&client, pt);
      if (msg == WM_LBUTTONUP) clickPending_ = false;
      mouse(events.MouseUp, msg == WM_LBUTTONUP ? 1 : msg == WM_RBUTTONUP ? 2 : 4);
      if (click) Raise(events.Click);
      return r;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
      // The font is held by reference: a change made to the font object since it was handed over
      // shows at the next paint.
      if (CurrentFont() != appliedFont_) ApplyFont(false);
      return CallEdit(hwnd, msg, wp, lp);
    default:
      return CallEdit(hwnd, msg, wp, lp);
  }
}

}  // namespace tessel
