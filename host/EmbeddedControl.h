#pragma once
// A user control standing inside another user control, as one of its constituents: its own window
// is a child of the surface it stands on, it meets the contract's handler order like a control on
// a form, and its Left, Top, Width and Height are its extender properties (twips of that surface).
#include <windows.h>

#include <string>

#include "host/Constituent.h"
#include "host/ControlSite.h"
#include "host/ControlTypes.h"
#include "host/ConstituentSurface.h"

namespace tessel {

class EmbeddedControl final : public Constituent, public ControlContainer {
 public:
  // Places the control at extender (name, position and size) on parent and loads it: Initialize,
  // InitProperties (bag null) or ReadProperties, Resize. Throws ControlError when it fails to start.
  EmbeddedControl(Surface& parent, std::wstring typeName, const ControlFactory& factory,
                  ExtenderProperties extender, AmbientProperties ambient, HostServices& host,
                  PropertyBag* bag = nullptr)
      : Constituent(parent, extender.name), host_(host),
        site_(*this, std::move(typeName), extender, std::move(ambient)) {
    TakeExtender();
    site_.Load(parent.hWnd(), factory, bag);
    TakeExtender();
  }
  ~EmbeddedControl() override { site_.Unload(); }

  UserControl* Control() const { return site_.Control(); }
  HostedControl& Site() { return site_; }
  HWND hWnd() const { return site_.hWnd(); }

  bool Windowed() const override { return true; }
  HWND Window() const override { return site_.hWnd(); }
  bool HitTest(POINT) const override { return false; }

  // ControlContainer
  OleColor ContainerBackColor(const HostedControl&) const override { return Parent().BackColor(); }
  HostServices& ContainerHost() override { return host_; }

 protected:
  void Relocated() override {
    if (syncing_) return;
    site_.Move(Left(), Top(), Width(), Height());
    TakeExtender();
  }
  void VisibilityChanged() override { site_.SetVisible(Visible()); }

 private:
  // The control may size itself while it lays out (a rule keeps its height); the constituent
  // reports what the control ended up with.
  void TakeExtender() {
    const ExtenderProperties& e = site_.Extender();
    syncing_ = true;
    try {
      Constituent::Move(e.left, e.top, e.width, e.height);
    } catch (const InvalidPropertyValue& error) {
      // A negative extent the control ended with: the constituent keeps its last bounds.
      host_.ReportSkippedStep(Name(), L"take the control's extent", WideFromUtf8(error.what()));
    }
    syncing_ = false;
  }

  HostServices& host_;
  HostedControl site_;
  bool syncing_ = false;
};

}  // namespace tessel
