#pragma once
// The contract between a user control of the library and the container that hosts it.
//
// The container creates the control's own window first (a Surface), then the control object with
// its constituents, then calls, in this order: Initialize; InitProperties (first placement) or
// ReadProperties (loading); Resize; Paint. WriteProperties runs whenever the form is saved and
// Terminate runs last. A control overrides only the handlers it has work in.
#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "server/contract/Accessibility.h"
#include "server/contract/Font.h"
#include "server/contract/HostServices.h"
#include "server/contract/OleColor.h"
#include "server/contract/Picture.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/Surface.h"

namespace tessel {

class UserControl;

// Ambient properties of the container, as the control sees them.
struct AmbientProperties {
  OleColor backColor = kSysButtonFace;
  OleColor foreColor = kSysButtonText;
  FontRef font;
  std::wstring displayName;
  bool userMode = true;           // False while a developer edits the form
  // The control is drawn as the button Enter clicks: the focused control when it takes Enter
  // itself, otherwise the form's default button.
  bool displayAsDefault = false;
};

// Properties the container keeps for each placed control (positions in twips of the container).
struct ExtenderProperties {
  std::wstring name;
  int left = 0, top = 0, width = 0, height = 0;
  bool enabled = true;
  bool visible = true;
  int tabIndex = 0;
  bool tabStop = true;
  // The control this one stands in (a frame), by name; empty for the container itself.
  std::wstring container;
  // What assistive technology calls a control whose description gives no name of its own.
  std::wstring accessibleName;
};

// What a control needs of its container. The form implements one site per placed control.
class ControlSite {
 public:
  virtual ~ControlSite() = default;
  virtual Surface& OwnSurface() = 0;             // the control's own window
  virtual void PropertyChanged(std::wstring_view key) = 0;
  virtual const AmbientProperties& Ambient() const = 0;
  virtual const ExtenderProperties& Extender() const = 0;
  // Moves or sizes the control (twips); the container then calls Resize when the size changed.
  virtual void Move(int left, int top, int width, int height) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual HWND ParentWindow() const = 0;         // the window the control stands on
  virtual OleColor ParentBackColor() const = 0;  // throws when the parent is not available yet
  virtual HostServices& Host() = 0;
  // The controls placed inside this one when it is a container (a frame), in the order placed.
  virtual std::vector<UserControl*> ContainedControls() const { return {}; }
  // Whether the window the control stands on keeps a scale mode of its own (a form does). A frame
  // holding controls has none: its controls are measured in twips and take no font from it.
  virtual bool ParentHasScaleMode() const { return true; }
  // Runs an OLE drag with the control as its source (see UserControl::OLEDrag).
  virtual void OLEDrag(UserControl& source) {}
  // Something the control's description says may have changed (see UserControl::Describe).
  virtual void AccessibleChanged() {}
};

class UserControl {
 public:
  explicit UserControl(ControlSite& site) : site_(site) {}
  virtual ~UserControl() = default;
  UserControl(const UserControl&) = delete;
  UserControl& operator=(const UserControl&) = delete;

  // Handlers, called by the container.
  virtual void Initialize() {}
  virtual void InitProperties() {}
  virtual void ReadProperties(PropertyBag& bag) {}
  virtual void WriteProperties(PropertyBag& bag) {}
  virtual void Resize() {}
  virtual void Paint(HDC dc) {}
  virtual void AmbientChanged(std::wstring_view name) {}
  // The system's colours, visual theme or display settings changed (high contrast going on or
  // off among them): the control resolves its colours again and remakes what it made from them.
  // It draws nothing here: its window is repainted once right after.
  virtual void SystemLookChanged() {}
  virtual void Terminate() {}
  // Keyboard interface a container needs for access keys: the characters this control answers to.
  // The default button also gets AccessKeyPress(13) for Enter and the cancel button (27) for Esc.
  virtual std::wstring AccessKeys() const { return {}; }
  virtual void AccessKeyPress(wchar_t key) {}

  // Input and focus notifications the container routes to the control's own window (not to its
  // constituents, which raise their own). Button 1 left, 2 right, 4 middle; shift 1 shift, 2 ctrl,
  // 4 alt; x and y in twips of the control. Key arguments are by reference: a KeyAscii set to 0
  // is not passed on.
  virtual void MouseDown(int16_t button, int16_t shift, float x, float y) {}
  virtual void MouseMove(int16_t button, int16_t shift, float x, float y) {}
  virtual void MouseUp(int16_t button, int16_t shift, float x, float y) {}
  virtual void Click() {}
  virtual void DblClick() {}
  virtual void KeyDown(int16_t& keyCode, int16_t& shift) {}
  virtual void KeyPress(int16_t& keyAscii) {}
  virtual void KeyUp(int16_t& keyCode, int16_t& shift) {}
  virtual void GotFocus() {}     // the control's own window got the focus
  virtual void LostFocus() {}
  virtual void EnterFocus() {}   // the focus came to the control or one of its constituents
  virtual void ExitFocus() {}    // the focus left the control and all of its constituents
  // The window's keyboard cues were shown or hidden (WM_QUERYUISTATE on the control's window tells
  // which): a key was pressed on a form whose cues were hidden, or the reverse.
  virtual void KeyboardCuesChanged() {}
  // Whether the control's own window takes the focus (a self-drawn button); otherwise only its
  // windowed constituents do. Asked once, after the control is constructed.
  virtual bool CanGetFocus() const { return false; }
  // Whether other controls can be placed inside this one (a frame): they become child windows
  // of its own window and move, hide and clip with it.
  virtual bool IsContainer() const { return false; }
  // Whether Enter belongs to the control while it has the focus (a push button): the container
  // then shows it as the default button and gives it AccessKeyPress(13) instead of the form's
  // default button.
  virtual bool TakesEnter() const { return false; }
  // An option button: the window whose group it belongs to (null for any other control) and
  // whether it is the group's selected member. Tab enters a group at its selected member, and
  // the arrow keys the button hands to that window move the focus among the group's members.
  virtual HWND OptionGroupWindow() const { return nullptr; }
  virtual bool OptionSelected() const { return false; }

  // OLE drag and drop over the control's own window, reported by the drop target the container
  // registers on it: OLEDragOver with state 0 when a drag enters, 2 while it moves and 1 when it
  // leaves, and OLEDragDrop when it is dropped. effect comes in as the effects the source allows
  // (DROPEFFECT_*) and goes back as what the control does with the data; a control that takes no
  // drops answers DROPEFFECT_NONE. Button and shift as for the mouse, x and y in twips.
  virtual void OLEDragOver(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y,
                           int16_t& state) {
    effect = DROPEFFECT_NONE;
  }
  virtual void OLEDragDrop(IDataObject*& data, int32_t& effect, int16_t& button, int16_t& shift, float& x, float& y) {
    effect = DROPEFFECT_NONE;
  }
  // A drag the control starts with OLEDrag: OLEStartDrag lets it fill the data object and narrow
  // the allowed effects (none cancels the drag); OLEGiveFeedback follows every change of the
  // target's effect (defaultCursors False when the control set a pointer itself); OLESetData is
  // raised when a target asks for a format that was offered without data; OLECompleteDrag ends
  // it with the effect the target performed.
  virtual void OLEStartDrag(IDataObject*& data, int32_t& allowedEffects) {}
  virtual void OLEGiveFeedback(int32_t& effect, bool& defaultCursors) {}
  virtual void OLESetData(IDataObject*& data, int16_t& dataFormat) {}
  virtual void OLECompleteDrag(int32_t& effect) {}
  // Starts an OLE drag from the control and returns once it was dropped or cancelled.
  void OLEDrag() { site_.OLEDrag(*this); }

  // The container has shown the control's window for the first time.
  virtual void Show() {}

  // What the control is, is called and shows, for assistive technology. Only what the control
  // knows itself: the container adds focus, availability and visibility, the name the form gives
  // it when the control has none, and the keyboard shortcut from AccessKeys.
  virtual void Describe(AccessibleDescription& description) const {}

  // The type name under which the control is stored in form files ("Bevel", "KvTextBox").
  virtual std::wstring_view TypeName() const = 0;

  // Size as the container sees it, in twips; writing resizes through the container.
  int Width() const { return site_.Extender().width; }
  int Height() const { return site_.Extender().height; }
  void SetWidth(int twips);
  void SetHeight(int twips);
  // The inner extent of the control's own window, in twips.
  int ScaleWidth() const;
  int ScaleHeight() const;
  bool Enabled() const { return site_.Extender().enabled; }
  // A control with an Enabled property of its own (redrawn, reported, passed on) overrides this:
  // a frame passing its Enabled on reaches that property.
  virtual void SetEnabled(bool enabled) { site_.SetEnabled(enabled); }
  OleColor BackColor() const;
  void SetBackColor(OleColor color);
  HWND hWnd() const;
  // Whether the control's window shows keyboard focus cues (WM_QUERYUISTATE): the focus came from
  // the keyboard, as in a dialog, and a focused control draws its focus indicator.
  bool ShowsFocusCues() const;
  // The pointer shown over the control's own window: 0 the window's own, 1 to 15 the standard
  // pointers, 99 MouseIcon. Other values and a MouseIcon that is neither an icon nor a cursor
  // raise InvalidPropertyValue.
  int16_t MousePointer() const { return mousePointer_; }
  // The value is checked whole, before it is narrowed to what is kept.
  void SetMousePointer(int32_t pointer);
  PictureRef MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(PictureRef icon);
  // The cursor for MousePointer; null leaves the window's own.
  HCURSOR Cursor() const;

  Surface& OwnSurface() { return site_.OwnSurface(); }
  const AmbientProperties& Ambient() const { return site_.Ambient(); }
  const ExtenderProperties& Extender() const { return site_.Extender(); }
  ControlSite& Site() { return site_; }
  HostServices& Host() { return site_.Host(); }

 protected:
  void PropertyChanged(std::wstring_view key) { site_.PropertyChanged(key); }
  // Tells the container that the description changed without a property write or an input
  // message (a caption set by the program that marks nothing changed).
  void AccessibleChanged() { site_.AccessibleChanged(); }

  // Runs one layout or paint step. A step that fails is skipped, so the next one still runs, and
  // the failure goes to the host's diagnostics with this control's name and the step's.
  template <class Fn>
  bool Step(std::wstring_view step, Fn&& fn) noexcept {
    try {
      fn();
      return true;
    } catch (const std::exception& e) {
      ReportSkippedStep(step, e.what());
    }
    return false;
  }
  void ReportSkippedStep(std::wstring_view step, const char* error) noexcept;

 private:
  ControlSite& site_;
  int16_t mousePointer_ = 0;
  PictureRef mouseIcon_;
};

}  // namespace tessel
