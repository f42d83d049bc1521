#pragma once
// A control type for container tests: every handler it gets, in order, into one shared log ("Name.Handler(args)").
#include "tests/support/Prelude.h"

#include "host/ControlTypes.h"
#include "server/contract/Errors.h"
#include "server/contract/UserControl.h"

namespace tessel::test {

class Recorder : public UserControl {
 public:
  Recorder(ControlSite& site, std::vector<std::wstring>& log) : UserControl(site), log_(log) {}
  std::wstring_view TypeName() const override { return L"Recorder"; }

  void Initialize() override {
    Note(L"Initialize");
    for (int i = 0; i < 2 && twoEdits; ++i)  // windowed constituents that take the focus
      edits[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, i * 12, 60, 10, hWnd(),
                                 nullptr, nullptr, nullptr);
  }
  void InitProperties() override {
    Note(L"InitProperties");
    caption_ = L"new";
    size_ = 10;
  }
  void ReadProperties(PropertyBag& bag) override {
    Note(L"ReadProperties");
    caption_ = bag.ReadString(L"Caption", L"new");
    const int32_t size = bag.ReadInt32(L"Size", 10);
    if (size < 0) throw InvalidPropertyValue("Invalid property value");
    size_ = size;
    bag.ReadBool(L"Flag", false);
  }
  void WriteProperties(PropertyBag& bag) override {
    Note(L"WriteProperties");
    if (failWrite) throw InvalidPropertyValue("Invalid property value");
    bag.Write(L"Caption", caption_, std::wstring(L"new"));
    bag.Write(L"Size", size_, int32_t{10});
  }
  void Resize() override { Note(L"Resize(" + std::to_wstring(Width()) + L"x" + std::to_wstring(Height()) + L")"); }
  void Paint(HDC dc) override { Note(L"Paint"); }
  void AmbientChanged(std::wstring_view name) override { Note(L"AmbientChanged(" + std::wstring(name) + L")"); }
  void Terminate() override { Note(L"Terminate"); }

  std::wstring AccessKeys() const override { return accessKeys; }
  void AccessKeyPress(wchar_t key) override { Note(L"AccessKeyPress(" + std::to_wstring(static_cast<int>(key)) + L")"); }
  void MouseDown(int16_t b, int16_t s, float x, float y) override { Note(L"MouseDown" + Args(b, s, x, y)); }
  void MouseMove(int16_t b, int16_t s, float x, float y) override { Note(L"MouseMove" + Args(b, s, x, y)); }
  void MouseUp(int16_t b, int16_t s, float x, float y) override { Note(L"MouseUp" + Args(b, s, x, y)); }
  void Click() override { Note(L"Click"); }
  void DblClick() override { Note(L"DblClick"); }
  void KeyDown(int16_t& code, int16_t& shift) override { Note(L"KeyDown(" + std::to_wstring(code) + L")"); }
  void KeyPress(int16_t& ascii) override { Note(L"KeyPress(" + std::to_wstring(ascii) + L")"); }
  void KeyUp(int16_t& code, int16_t& shift) override { Note(L"KeyUp(" + std::to_wstring(code) + L")"); }
  void GotFocus() override { Note(L"GotFocus"); }
  void LostFocus() override { Note(L"LostFocus"); }
  void EnterFocus() override { Note(L"EnterFocus"); }
  void ExitFocus() override { Note(L"ExitFocus"); }
  bool CanGetFocus() const override { return focusable; }
  bool TakesEnter() const override { return takesEnter; }
  bool IsContainer() const override { return container; }
  // An option's group is the window it stands on, as a button's is.
  HWND OptionGroupWindow() const override { return option ? GetParent(hWnd()) : nullptr; }
  bool OptionSelected() const override { return selected; }

  void SetCaption(const std::wstring& caption) {
    caption_ = caption;
    PropertyChanged(L"Caption");
  }
  const std::wstring& Caption() const { return caption_; }

  // Set by the factory before any handler runs.
  bool focusable = false, takesEnter = false, failWrite = false, container = false, option = false, selected = false;
  bool twoEdits = false;
  std::wstring accessKeys;
  HWND edits[2] = {};

 private:
  void Note(const std::wstring& what) { log_.push_back(Extender().name + L"." + what); }
  static std::wstring Args(int16_t b, int16_t s, float x, float y) {
    return L"(" + std::to_wstring(b) + L"," + std::to_wstring(s) + L"," + std::to_wstring(static_cast<int>(x)) +
           L"," + std::to_wstring(static_cast<int>(y)) + L")";
  }

  std::vector<std::wstring>& log_;
  std::wstring caption_;
  int32_t size_ = 0;
};

// A registry of "Recorder" (takes no focus), "FocusRecorder" (takes it in its own window), "Holder" (a
// container), "Option" (in the option group of the window it stands on) and "TwoEdits" (focus in two edits).
inline ControlTypes RecorderTypes(std::vector<std::wstring>& log) {
  ControlTypes types;
  const struct { const wchar_t* name; bool focusable, container, option, twoEdits; } kinds[] = {
      {L"Recorder", false, false, false, false}, {L"FocusRecorder", true, false, false, false},
      {L"Holder", false, true, false, false}, {L"Option", true, false, true, false},
      {L"TwoEdits", false, false, false, true}};
  for (const auto& k : kinds)
    types.Register(k.name, [&log, k](ControlSite& site) -> std::unique_ptr<UserControl> {
      auto r = std::make_unique<Recorder>(site, log);
      std::tie(r->focusable, r->container, r->option, r->twoEdits) = std::tie(k.focusable, k.container, k.option, k.twoEdits);
      return r;
    });
  return types;
}

}  // namespace tessel::test
