#pragma once
// A form: a real top-level window that places user controls, feeds them their handlers in the
// contract's order, routes input and focus, moves the focus with Tab and Shift+Tab, answers access
// keys and the default (Enter) and cancel (Esc) buttons, and saves its controls into property bags.
//
// Keyboard navigation works whoever pumps the messages: while a form lives, a message hook of its
// thread hands every keystroke for the form to PreTranslateMessage.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/ControlSite.h"
#include "host/ControlTypes.h"
#include "host/DropTarget.h"
#include "host/FormDisplay.h"
#include "host/KeyboardCues.h"
#include "server/contract/Gdi.h"
#include "server/contract/UserControl.h"

namespace tessel {

// One control as saved: its type, what the form keeps for it and what the control wrote.
struct SavedControl {
  std::wstring type;
  ExtenderProperties extender;
  PropertyBag bag;
};

// A control that could not be loaded; the form goes on without it.
struct LoadFailure {
  std::wstring control;
  std::wstring type;
  std::wstring key;      // the bag key being read, when known
  std::string message;
};

class Form final : public ControlContainer {
 public:
  // A form whose client area is widthTwips x heightTwips, shown unless display says otherwise.
  // types defaults to ControlTypes::Default(). Throws std::runtime_error when the window cannot
  // be made.
  static std::unique_ptr<Form> Create(const std::wstring& title, int widthTwips, int heightTwips,
                                      bool userMode = true, const ControlTypes* types = nullptr,
                                      FormDisplay display = FormDisplay::Shown);
  ~Form() override;  // terminates and destroys the controls (last placed first), then the window
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND hWnd() const { return hwnd_; }
  bool IsOpen() const { return hwnd_ != nullptr; }
  void Close();  // unloads every control and destroys the window; onClosed follows

  // While a placement is held, controls placed or removed draw nothing; when the outermost hold
  // ends, the form and every control paint once (at the next message pump).
  class PlacementHold {
   public:
    explicit PlacementHold(Form& form);
    ~PlacementHold();
    PlacementHold(const PlacementHold&) = delete;
    PlacementHold& operator=(const PlacementHold&) = delete;

   private:
    Form& form_;
  };

  // Places a new control (InitProperties). Throws std::invalid_argument for an unknown type or a
  // name already used, ControlError when the control fails to start.
  // container names a control already placed that holds others (a frame): the new control is then
  // a child window of it, at left and top of its client area; invalid_argument for any other.
  UserControl& Add(std::wstring_view typeName, const std::wstring& name, int left, int top, int width,
                   int height, std::wstring_view container = {});
  // Places a stored control (ReadProperties) at the end of the tab order; the caller applies the
  // stored order once every control is placed. A control that fails is not placed: the failure is
  // recorded with its name and the key being read, and nullptr is returned.
  UserControl* AddLoaded(std::wstring_view typeName, const std::wstring& name, const ExtenderProperties& extender,
                         PropertyBag& bag);
  // Removes the control, and first every control placed inside it.
  void Remove(std::wstring_view name);
  const std::vector<LoadFailure>& LoadFailures() const { return failures_; }
  void ClearLoadFailures() { failures_.clear(); }
  // Every control's WriteProperties, in the order they were placed. A failing control throws
  // ControlError and nothing is returned.
  std::vector<SavedControl> Save();

  UserControl* Control(std::wstring_view name) const;
  HostedControl* Site(std::wstring_view name) const;
  std::vector<std::wstring> ControlNames() const;  // in the order placed

  // Tab order: names by TabIndex. SetTabIndex moves a control to index and renumbers the others.
  std::vector<std::wstring> TabOrder() const;
  void SetTabIndex(std::wstring_view name, int index);
  void SetTabStop(std::wstring_view name, bool tabStop);
  // Moves the focus to the next (or previous) tab stop, as Tab and Shift+Tab do. A control is a
  // tab stop when it and every frame around it are visible and enabled and its TabStop is set;
  // of an option group only the selected member is (the first one while none is selected).
  void MoveFocus(bool forward);

  // The control that gets AccessKeyPress(13) on Enter and the one that gets (27) on Esc; an empty
  // name clears. While the focus is on a control that takes Enter itself (a push button), Enter
  // and the ambient DisplayAsDefault belong to that one; otherwise to the default button. Each
  // change of the control shown as default reaches both through AmbientChanged.
  void SetDefaultButton(std::wstring_view name);
  void SetCancelButton(std::wstring_view name);

  // Ambient properties; each write tells every control through AmbientChanged.
  const AmbientProperties& Ambient() const { return ambient_; }
  OleColor BackColor() const { return ambient_.backColor; }
  void SetBackColor(OleColor color);  // also the form's own back colour
  void SetForeColor(OleColor color);
  void SetFont(const FontRef& font);
  void SetUserMode(bool userMode);
  bool UserMode() const { return ambient_.userMode; }

  void SetHostServices(HostServices* services) { host_ = services; }
  HostServices& Host() { return host_ ? *host_ : PlatformHostServices(); }

  // Set by a control's PropertyChanged; cleared by Save and ClearDirty.
  bool Dirty() const { return dirty_; }
  void ClearDirty() { dirty_ = false; }
  std::function<void(const std::wstring& control, std::wstring_view key)> onPropertyChanged;
  std::function<void()> onClosed;

  int ScaleWidth() const;   // client extent in twips
  int ScaleHeight() const;

  // Draws the client area with every visible child window at its place, through the windows' own
  // print paths (nothing is read from the screen).
  void RenderTo(HDC dc) const;
  // The client area as a top-down 32-bpp DIB section.
  unique_hbitmap Snapshot() const;

  // Navigation keys, access keys, default and cancel; true when the message was used up.
  bool PreTranslateMessage(MSG& msg);
  // Pumps messages until the form is closed; returns 0, or the code of a WM_QUIT that ended it.
  int RunMessageLoop();
  // Handles every message that is waiting now, then returns.
  static void PumpMessages();

  // ControlContainer
  // The form's back colour, or the frame's for a control placed inside one.
  OleColor ContainerBackColor(const HostedControl& control) const override;
  HostServices& ContainerHost() override { return Host(); }
  void ControlPropertyChanged(HostedControl& control, std::wstring_view key) override;
  std::vector<UserControl*> ControlsInside(const HostedControl& control) const override;
  // The form keeps its own scale; a control that holds others (a frame) keeps none.
  bool ContainerHasScaleMode(const HostedControl& control) const override;
  IDropTarget* ContainerDropTarget() const override { return dropTarget_.Get(); }
  bool ContainerHoldsWindowsBack() const override { return windowsHeld_; }

 private:
  Form(const ControlTypes& types, bool userMode);
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  void UnloadAll();
  HWND ParentFor(const ExtenderProperties& extender) const;
  HostedControl& Place(std::wstring_view typeName, const ExtenderProperties& extender, PropertyBag* bag);
  std::vector<HostedControl*> SitesByTab() const;
  // The tab stops in order; keep stays in the list even when its group would leave it out.
  std::vector<HWND> TabStops(HWND keep = nullptr) const;
  // The control and every frame around it are visible and enabled: it can take the focus, its
  // access key and Enter or Esc.
  bool Reachable(const HostedControl& site) const;
  bool IsTabStop(const HostedControl& site) const;
  void MoveFocusFrom(HWND from, bool forward);
  // Arrow keys an option button handed to its group's window: the focus moves to the next (or
  // previous) member that can take it. False when the focus is not on a member of that group.
  bool MoveInOptionGroup(HWND group, bool forward);
  // The window the focus goes to when the form gets it: where it was last, while that can still
  // take it, else the first tab stop.
  HWND FocusToRestore() const;
  // A shown form whose own window holds the focus hands it to its first tab stop.
  void TakeFirstFocus();
  // The control that holds the focus now, asked of the system; while the focus is outside the
  // form (another program is active), the one that held it last.
  HostedControl* FocusedSite() const;
  // The focus came to w (the window's own WM_SETFOCUS): the controls hear that it left one and
  // reached another, and the default look follows.
  void FocusArrived(HWND w);
  void FollowFocus(HostedControl* site);
  // Keyboard cues are hidden while the form is first shown (unless the system shows them always)
  // and shown from the first key that moves the focus (focus indicators) or Alt (both kinds) on.
  void ShowKeyboardCues(WORD cues = UISF_HIDEFOCUS);
  HostedControl* SiteOfWindow(HWND w) const;
  // The window of the innermost control under a point of the screen, as the system finds the
  // window under the cursor: hidden and disabled windows are passed through.
  HWND ControlWindowAt(POINT screen) const;
  void RevokeDropTarget();
  // A hidden form's controls make the windows they held back, as the form is first shown.
  void MakeHeldWindows();
  void FocusSite(HostedControl& site);
  HostedControl* EnterSite() const;  // the control Enter goes to now
  void ShowDefault();                // moves DisplayAsDefault to EnterSite()
  void Renumber();
  // The system's colours, theme or settings changed: every control hears it (the system tells
  // top-level windows only) and the form repaints (FormSystemLook.cpp).
  void ForwardSystemChange(UINT msg, WPARAM wp, LPARAM lp);
  // Moved to a screen of another resolution: the form takes the suggested rectangle and every
  // control stands again at its twips in pixels of the new resolution (FormSystemLook.cpp).
  void DpiChanged(WPARAM dpi, const RECT& suggested);
  void Broadcast(std::wstring_view name);
  // The ambient properties the form gives a control standing on parent.
  AmbientProperties AmbientOn(HWND parent) const;
  friend struct FormHooks;

  const ControlTypes& types_;
  HWND hwnd_ = nullptr;
  AmbientProperties ambient_;
  HostServices* host_ = nullptr;
  std::vector<std::unique_ptr<HostedControl>> sites_;  // in the order placed
  std::vector<HostedControl*> tabOrder_;
  std::vector<LoadFailure> failures_;
  Microsoft::WRL::ComPtr<DropTarget> dropTarget_;  // one for every control on the form
  HostedControl* defaultSite_ = nullptr;
  HostedControl* cancelSite_ = nullptr;
  HostedControl* activeSite_ = nullptr;  // the control that has the focus inside the form
  HostedControl* shownDefault_ = nullptr;  // the control that sees DisplayAsDefault True
  HWND lastFocus_ = nullptr;
  bool dirty_ = false;
  bool closing_ = false;
  bool oleInitialized_ = false;
  int placementHolds_ = 0;
  bool redrawHeld_ = false;  // drawing of the shown form is switched off by the holds
  // Made hidden and never shown yet: the controls' fields need no windows of their own.
  bool windowsHeld_ = false;
  bool firstFocusPosted_ = false;  // the first tab stop takes the focus at the next message pump
  KeyboardCues cues_;
  bool cuesInitialized_ = false;
};

}  // namespace tessel
