// The decorations on a form of their own: a sunken Bevel framing two KvLinha separators beside a
// raised one. "Raised" and "Sunken" write the first one's BevelSytle; "Save form" writes the form
// to a file and "Open saved copy" loads that file into a second form, which shows both bevels
// sunken again (the bevel stores nothing).
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>

#include "decor/Bevel.h"
#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"

namespace tessel::gallery {
namespace {

constexpr UINT_PTR kSubclassId = 0xDEC0;
constexpr int kRaisedId = 1101, kSunkenId = 1102, kSaveId = 1103, kOpenId = 1104;

ControlTypes& DecorTypes() {
  static ControlTypes types;
  if (!types.Contains(L"Bevel")) RegisterLibraryControls(types);
  return types;
}

std::wstring SavedPath() {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + L"tessel-gallery-decor.tform";
}

struct DecorPage {
  std::unique_ptr<Form> form;
  std::unique_ptr<Form> copy;  // the form opened from the saved file
  HWND status = nullptr;

  Bevel* bevel() const { return form ? static_cast<Bevel*>(form->Control(L"Bevel1")) : nullptr; }

  void Say(const std::wstring& text) const { SetWindowTextW(status, text.c_str()); }

  void Command(int id) {
    switch (id) {
      case kRaisedId:
        if (Bevel* b = bevel()) b->SetBevelSytle(2);
        break;
      case kSunkenId:
        if (Bevel* b = bevel()) b->SetBevelSytle(0);
        break;
      case kSaveId:
        try {
          SaveForm(*form, SavedPath());
          Say(L"Saved to " + SavedPath());
        } catch (const std::exception& e) {
          Say(L"Not saved: " + std::wstring(e.what(), e.what() + strlen(e.what())));
        }
        break;
      case kOpenId: {
        std::vector<FormFileError> errors;
        copy.reset();
        copy = OpenForm(SavedPath(), true, errors, &DecorTypes());
        if (!copy) {
          Say(L"Nothing saved yet: press \"Save form\" first.");
          break;
        }
        SetWindowTextW(copy->hWnd(), L"Decorations (opened from the saved file)");
        RECT r{};
        GetWindowRect(form->hWnd(), &r);
        SetWindowPos(copy->hWnd(), nullptr, r.left + Px(40), r.top + Px(40), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Say(errors.empty() ? L"Opened " + SavedPath() : L"Opened with problems: " + std::wstring(
                                                             errors.front().message.begin(), errors.front().message.end()));
        break;
      }
      default:
        break;
    }
  }

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
      reinterpret_cast<DecorPage*>(self)->Command(LOWORD(wp));
      return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FormProc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
};

}  // namespace

void AddDecorSection(SectionArea& area) {
  area.AddText(L"Bevel and KvLinha open beside the gallery: a sunken bevel framing two etched lines, and a "
               L"raised one. \"Raised\" and \"Sunken\" write the first one's BevelSytle; \"Save form\" and "
               L"\"Open saved copy\" go through a form file.",
               0, 0, 620, 48);
  area.SetHeight(52);

  auto page = std::make_unique<DecorPage>();
  try {
    page->form = Form::Create(L"Decorations (Bevel, KvLinha)", 6000, 3000, true, &DecorTypes());
    Form& form = *page->form;
    form.Add(L"Bevel", L"Bevel1", 240, 240, 3840, 1800);
    form.Add(L"KvLinha", L"Linha1", 480, 840, 3360, 30);
    form.Add(L"KvLinha", L"Linha2", 480, 1440, 3360, 30);
    static_cast<Bevel&>(form.Add(L"Bevel", L"Bevel2", 4320, 240, 1440, 1800)).SetBevelSytle(2);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto button = [&](const wchar_t* text, int id, int twipsX, int twipsWidth) {
      HWND w = CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                               PixelsFromTwipsX(twipsX), PixelsFromTwipsY(2220), PixelsFromTwipsX(twipsWidth),
                               PixelsFromTwipsY(380), form.hWnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               instance, nullptr);
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
    };
    button(L"Raised", kRaisedId, 240, 1200);
    button(L"Sunken", kSunkenId, 1560, 1200);
    button(L"Save form", kSaveId, 2880, 1200);
    button(L"Open saved copy", kOpenId, 4200, 1560);
    page->status = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_PATHELLIPSIS,
                                   PixelsFromTwipsX(240), PixelsFromTwipsY(2700), PixelsFromTwipsX(5520),
                                   PixelsFromTwipsY(260), form.hWnd(), nullptr, instance, nullptr);
    SendMessageW(page->status, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
    SetWindowSubclass(form.hWnd(), &DecorPage::FormProc, kSubclassId, reinterpret_cast<DWORD_PTR>(page.get()));
  } catch (const std::exception&) {
    area.AddText(L"The decorations could not be opened.", 0, 32, 620, 18);
    return;
  }
  // Beside the gallery window, below the other forms.
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  SetWindowPos(page->form->hWnd(), nullptr, gallery.left + Px(700), gallery.top + Px(620), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DecorPage* raw = page.release();
  area.OnClose([raw] { delete raw; });
}

}  // namespace tessel::gallery
