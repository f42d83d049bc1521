// The link panel in a window of its own: hover the footer link to see it turn hot, press it, and
// click it. The gallery's host shows the address the panel hands to the shell instead of
// starting a browser. A second window shows two panels with their links held hot and pressed.
#include <windows.h>

#include <memory>
#include <string>

#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Gdi.h"
#include "inputs/KvFundo.h"

namespace tessel::gallery {
namespace {

class LinkPanelHost final : public HostServices {
 public:
  HWND status = nullptr;
  int MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override {
    return PlatformHostServices().MessageBox(owner, text, title, flags);
  }
  POINT CursorPos() override { return PlatformHostServices().CursorPos(); }
  HWND WindowFromPoint(POINT screen) override { return PlatformHostServices().WindowFromPoint(screen); }
  INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int show) override {
    Show(L"ShellExecute \"" + std::wstring(verb.begin(), verb.end()) + L"\" " + std::wstring(file.begin(), file.end()) +
         L" (show " + std::to_wstring(show) + L")");
    return 42;
  }
  void SendKeys(const std::wstring& keys, bool wait) override { PlatformHostServices().SendKeys(keys, wait); }
  uint64_t TickCount() override { return PlatformHostServices().TickCount(); }

  void Show(const std::wstring& text) {
    if (status) SetWindowTextW(status, text.c_str());
  }
};

// The host of the held looks: the pointer rests on the link of the hot panel, whatever the mouse does.
class HeldPointerHost final : public HostServices {
 public:
  KvFundo* hot = nullptr;
  int MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override {
    return PlatformHostServices().MessageBox(owner, text, title, flags);
  }
  POINT CursorPos() override {
    if (!hot) return PlatformHostServices().CursorPos();
    const RECT link = hot->Link().BoundsPixels();
    POINT at{link.left + 2, link.top + 2};
    ClientToScreen(hot->Background().hWnd(), &at);
    return at;
  }
  HWND WindowFromPoint(POINT screen) override { return PlatformHostServices().WindowFromPoint(screen); }
  INT_PTR ShellExecute(HWND, const std::string&, const std::string&, const std::string&, const std::string&,
                       int) override {
    return 42;  // nothing is opened from the held looks
  }
  void SendKeys(const std::wstring& keys, bool wait) override { PlatformHostServices().SendKeys(keys, wait); }
  uint64_t TickCount() override { return PlatformHostServices().TickCount(); }
};

// A 64 x 64 logo drawn at run time: a blue disc with a white ring.
PictureRef MakeLogo() {
  WindowDC screen(nullptr);
  unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), 64, 64));
  unique_hdc dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return nullptr;
  {
    SelectGuard select(dc.get(), bitmap.get());
    RECT all{0, 0, 64, 64};
    unique_hbrush back(CreateSolidBrush(RGB(0xF1, 0xF1, 0xF1)));
    FillRect(dc.get(), &all, back.get());
    unique_hbrush disc(CreateSolidBrush(RGB(0x20, 0x60, 0xC0)));
    unique_hpen ring(CreatePen(PS_SOLID, 4, RGB(255, 255, 255)));
    SelectGuard b(dc.get(), disc.get());
    SelectGuard p(dc.get(), ring.get());
    Ellipse(dc.get(), 6, 6, 58, 58);
  }
  return Picture::FromBitmap(bitmap.release());
}

// Two panels side by side, the first link under the pointer (red and underlined), the second held
// down (blue), through the mouse messages the panel's background gets from the system.
void AddHeldLinkPanels(SectionArea& area, const RECT& gallery) {
  static HeldPointerHost host;
  static ControlTypes types;
  if (!types.Contains(L"KvFundo")) RegisterLibraryControls(types);
  std::unique_ptr<Form> form;
  try {
    form = Form::Create(L"KvFundo: link hovered, link pressed", 7440, 1800, true, &types);
    form->SetHostServices(&host);
    const wchar_t* const titles[] = {L"Pedidos", L"Relat\u00F3rios"};
    const UINT messages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN};
    for (int i = 0; i < 2; ++i) {
      auto& panel = static_cast<KvFundo&>(
          form->Add(L"KvFundo", L"KvFundo" + std::to_wstring(i + 1), i * 3720, 0, 3720, 1800));
      panel.SetCaptionTitulo(titles[i]);
      panel.SetPicture(MakeLogo());
      const RECT link = panel.Link().BoundsPixels();
      if (i == 0) host.hot = &panel;
      SendMessageW(panel.Background().hWnd(), messages[i], i == 1 ? MK_LBUTTON : 0, MAKELPARAM(link.left + 2, link.top + 2));
    }
    // The held press keeps no capture, so the pointer still reaches the gallery's other windows.
    ReleaseCapture();
  } catch (const std::exception& e) {
    host.hot = nullptr;
    area.AddText(L"The held panels could not be opened: " + WideFromUtf8(e.what()), 0, 60, 620, 18);
    area.SetHeight(80);
    return;
  }
  SetWindowPos(form->hWnd(), nullptr, gallery.left + Px(1200), gallery.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Form* raw = form.release();
  area.OnClose([raw] {
    host.hot = nullptr;
    delete raw;
  });
}

}  // namespace

void AddLinkPanelSection(SectionArea& area) {
  static LinkPanelHost host;
  static ControlTypes types;
  RegisterLibraryControls(types);

  area.AddText(L"KvFundo opens beside the gallery. The footer link turns red and underlined under the "
               L"pointer, stays so over the whole panel, turns blue while pressed; a click goes to the shell:",
               0, 0, 620, 32);
  host.status = area.AddText(L"(no click yet)", 0, 38, 620, 18);
  area.SetHeight(60);

  std::unique_ptr<Form> form;
  try {
    form = Form::Create(L"KvFundo", 7200, 4200, true, &types);
    form->SetHostServices(&host);
    auto& panel = static_cast<KvFundo&>(form->Add(L"KvFundo", L"KvFundo1", 0, 0, 7200, 4200));
    panel.SetCaptionTitulo(L"Cadastro de Clientes");
    panel.SetPicture(MakeLogo());
    panel.SetToolTipText2(L"Abre o site do TesselOCX");
    panel.events.OpeningURL = [](std::wstring& url) {
      // A handler may change the address; this one tags where the visit came from.
      if (url.find(L'?') == std::wstring::npos) url += L"?from=gallery";
    };
  } catch (const std::exception& e) {
    host.Show(L"The panel could not be opened: " + WideFromUtf8(e.what()));
    return;
  }
  // Beside the gallery window, top aligned.
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  SetWindowPos(form->hWnd(), nullptr, gallery.left + Px(700), gallery.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Form* raw = form.release();
  area.OnClose([raw] { delete raw; });
  AddHeldLinkPanels(area, gallery);
}

}  // namespace tessel::gallery
