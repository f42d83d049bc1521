#pragma once
// One placed user control: its own window, the control object and what the container keeps for it
// (extender and ambient properties). The form and an embedded control both hold their controls in
// one of these, so every control meets the same handler order wherever it stands.
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "host/AccessibleEvents.h"
#include "host/ControlTypes.h"
#include "server/contract/UserControl.h"

namespace tessel {

class UserControlWindow;
class HostedControl;

// A control that failed to load or save: its name, the bag key it was at (empty when unknown)
// and what went wrong.
class ControlError : public std::runtime_error {
 public:
  ControlError(std::wstring control, std::wstring key, const std::string& what)
      : std::runtime_error(what), control_(std::move(control)), key_(std::move(key)) {}
  const std::wstring& control() const { return control_; }
  const std::wstring& key() const { return key_; }

 private:
  std::wstring control_;
  std::wstring key_;
};

// What a hosted control needs of whatever it stands on.
class ControlContainer {
 public:
  virtual ~ControlContainer() = default;
  // The back colour of the window control stands on; throws when there is none yet.
  virtual OleColor ContainerBackColor(const HostedControl& control) const = 0;
  virtual HostServices& ContainerHost() = 0;
  virtual void ControlPropertyChanged(HostedControl& control, std::wstring_view key) {}
  // The controls placed inside control (it is their container), in the order placed.
  virtual std::vector<UserControl*> ControlsInside(const HostedControl& control) const { return {}; }
  // Whether the window control stands on keeps a scale mode of its own (see ControlSite).
  virtual bool ContainerHasScaleMode(const HostedControl& control) const { return true; }
  // Whether the controls standing on it hold their constituents' windows back (a form never shown).
  virtual bool ContainerHoldsWindowsBack() const { return false; }
  // The drop target that hands drags to the controls standing on it (null: none).
  virtual IDropTarget* ContainerDropTarget() const { return nullptr; }
  // Whether it tells the controls' windows of the system's changes of look (WM_SYSCOLORCHANGE,
  // WM_SETTINGCHANGE, WM_THEMECHANGED), which the system sends top-level windows only. A control
  // whose container may not looks at the system's look before each paint instead.
  virtual bool ContainerPassesSystemChanges() const { return true; }
};

class HostedControl final : public ControlSite {
 public:
  HostedControl(ControlContainer& container, std::wstring typeName, ExtenderProperties extender,
                AmbientProperties ambient);
  ~HostedControl() override;  // unloads what is still loaded
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  // Makes the window on parent and the control, then runs Initialize; InitProperties when bag is
  // null, ReadProperties(*bag) otherwise; Resize; and shows the window, which paints. When a
  // handler throws, whatever was made is unloaded again and a ControlError names the control and
  // the key that was being read.
  void Load(HWND parent, const ControlFactory& factory, PropertyBag* bag);
  // Terminate, then the control object with its constituents, then its window.
  void Unload();
  // Terminate only, once, and the window stops taking the control's messages: a closing form
  // terminates every control, destroys its own window with every child in one pass, and then
  // unloads what is left.
  void Terminate();
  bool Loaded() const { return control_ != nullptr; }
  // WriteProperties into bag; an error becomes a ControlError with the control's name.
  void Save(PropertyBag& bag);

  UserControl* Control() const { return control_.get(); }
  const std::wstring& TypeName() const { return typeName_; }
  const std::wstring& Name() const { return extender_.name; }
  HWND hWnd() const;

  // Replaces the ambient properties and tells the control which one changed.
  void ChangeAmbient(const AmbientProperties& ambient, std::wstring_view changedName);
  void SetTabIndex(int index) { extender_.tabIndex = index; }
  void SetTabStop(bool on) { extender_.tabStop = on; }
  // The name assistive technology reads for a control whose description gives none.
  void SetAccessibleName(std::wstring name);
  // The windows that take the focus by Tab inside this control, in order: the control's own
  // window when it takes the focus itself, otherwise its enabled and visible WS_TABSTOP
  // descendants.
  std::vector<HWND> TabStops() const;

  // ControlSite
  Surface& OwnSurface() override;
  void PropertyChanged(std::wstring_view key) override;
  const AmbientProperties& Ambient() const override { return ambient_; }
  const ExtenderProperties& Extender() const override { return extender_; }
  void Move(int left, int top, int width, int height) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  HWND ParentWindow() const override { return parent_; }
  OleColor ParentBackColor() const override { return container_.ContainerBackColor(*this); }
  HostServices& Host() override { return container_.ContainerHost(); }
  std::vector<UserControl*> ContainedControls() const override { return container_.ControlsInside(*this); }

  // The hosted control whose own window this is (null for any other window): a container's tab
  // stops leave out those of the controls placed inside it, and drags go to the control under them.
  static HostedControl* OfWindow(HWND hwnd);
  bool ParentHasScaleMode() const override { return container_.ContainerHasScaleMode(*this); }
  void OLEDrag(UserControl& source) override;
  // Raises the win events for whatever assistive technology reads of the control that changed.
  void AccessibleChanged() override { AccessibleChanged(true); }
  // The same; after a message that cannot move the focus (a mouse move, typing: focusMayMove false)
  // the focused state is the one last told.
  void AccessibleChanged(bool focusMayMove);
  // The drop target that hands drags over the control's window to the control: the form's (null
  // without OLE on the thread).
  IDropTarget* DropTarget() const;
  // Whether the control's constituents hold their windows back (while the first handlers run, or
  // on a form never shown), and making those held back now.
  bool WindowsHeldBack() const { return loading_ || container_.ContainerHoldsWindowsBack(); }
  bool SystemChangesPassedOn() const { return container_.ContainerPassesSystemChanges(); }
  void MakeHeldWindows();
  // The window's place in the parent's pixels, at the resolution in use.
  RECT PixelRect() const;

 private:
  void Present();  // to the front of the controls placed before, and shown when visible
  void ReportSkipped(std::wstring_view handler, const std::exception& e) noexcept;

  ControlContainer& container_;
  std::wstring typeName_;
  ExtenderProperties extender_;
  AmbientProperties ambient_;
  HWND parent_ = nullptr;
  std::unique_ptr<UserControlWindow> window_;
  std::unique_ptr<UserControl> control_;
  bool terminated_ = false;
  bool loading_ = false;  // the first handlers are running
  bool presentHeld_ = false;  // placed on a form not shown yet: to the front and shown with it
  std::unique_ptr<AccessibleSnapshot> accessibleSeen_;  // what the last win events told
};

}  // namespace tessel
