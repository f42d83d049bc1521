// The text fields in a window of their own: type into them (letters take the field's case), watch
// the outline change colour with the focus, press Enter to move on, and press "Gravar" to check
// the required fields. A required field left empty is marked red until something is typed in it.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>

#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "server/contract/Twips.h"
#include "inputs/KvText.h"
#include "inputs/KvTextBox.h"
#include "inputs/ValidarTextBox.h"

namespace tessel::gallery {
namespace {

constexpr UINT_PTR kSubclassId = 0x5E7;
constexpr int kSaveButtonId = 1001;
constexpr OleColor kFocus = 0xD07800, kRest = 0xC0C0C0, kMissing = 0x0000FF, kMissingBack = 0xE8E8FF;

// The look of a field, and the look of a required field found empty: red outline on pink.
void Mark(KvTextBox& field, bool missing, OleColor back) {
  field.SetColorOffFoco(missing ? kMissing : kRest);
  field.SetBorderColor(missing ? kMissing : kRest);
  field.SetBackStyle(missing ? kMissingBack : back);
  field.SetBackColor(missing ? kMissingBack : back);
}

struct TextInputForm {
  std::unique_ptr<Form> form;
  HWND saveButton = nullptr;
  HWND status = nullptr;
  KvTextBox* cidade = nullptr;
  KvTextBox* uf = nullptr;
  KvText* nome = nullptr;

  // Marks every required field that is empty, and says so; true when none is.
  bool MarkMissing() {
    bool complete = true;
    for (KvTextBox* field : {cidade, uf}) {
      const bool missing = field->ValidarCampo() && field->Text().empty();
      if (missing) Mark(*field, true, 0);
      complete = complete && !missing;
    }
    if (!complete) SetWindowTextW(status, L"Campo obrigat\u00f3rio vazio.");
    return complete;
  }

  void Save() {
    MarkMissing();
    // Each required field in turn; the first one that refuses stops the check and gets the focus.
    for (KvTextBox* field : {cidade, uf}) {
      if (!ValidarTextBox(*field)) {
        field->Texto().SetFocus();
        return;
      }
    }
    const std::wstring saved = L"Gravado: " + nome->Text() + L", " + cidade->Text() + L" / " + uf->Text();
    SetWindowTextW(status, saved.c_str());
  }

  // The button is a plain child of the form's window; its click arrives there as WM_COMMAND.
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_COMMAND && LOWORD(wp) == kSaveButtonId && HIWORD(wp) == BN_CLICKED) {
      reinterpret_cast<TextInputForm*>(self)->Save();
      return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &FormProc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
};

}  // namespace

void AddTextInputSection(SectionArea& area) {
  static ControlTypes types;
  if (!types.Contains(L"KvTextBox")) RegisterLibraryControls(types);

  area.AddText(L"KvText and KvTextBox open beside the gallery. Typed letters take the field's case, the "
               L"outline turns blue with the focus, Enter moves to the next field, \"Gravar\" checks the "
               L"required fields (Cidade, UF) and marks an empty one red:",
               0, 0, 620, 48);
  area.SetHeight(52);

  auto page = std::make_unique<TextInputForm>();
  try {
    page->form = Form::Create(L"KvText / KvTextBox", 7200, 3300, true, &types);
    Form& form = *page->form;

    page->nome = &static_cast<KvText&>(form.Add(L"KvText", L"txtNome", 240, 240, 6600, 400));
    page->nome->SetCaption(L"Nome:");
    page->nome->SetText(L"Maria da Silva");

    page->cidade = &static_cast<KvTextBox&>(form.Add(L"KvTextBox", L"txtCidade", 960, 840, 4200, 400));
    page->cidade->SetCapitalizar(true);
    page->cidade->SetColorOnFoco(kFocus);
    Mark(*page->cidade, false, 0xFFFFFF);
    page->cidade->SetValidarCampo(true);
    page->cidade->SetValidarMSG(L"Informe a cidade.");
    page->cidade->SetText(L"LISBOA");

    page->uf = &static_cast<KvTextBox&>(form.Add(L"KvTextBox", L"txtUF", 960, 1440, 1200, 400));
    page->uf->SetCapitalizar(true);
    page->uf->SetColorOnFoco(kFocus);
    Mark(*page->uf, false, 0xE0FFFF);
    page->uf->SetMaxLength(2);
    page->uf->SetValidarCampo(true);
    page->uf->SetValidarMSG(L"Informe a UF.");
    page->uf->SetText(L"");

    auto& email = static_cast<KvTextBox&>(form.Add(L"KvTextBox", L"txtEmail", 2880, 1440, 3960, 400));
    email.SetColorOnFoco(kFocus);
    Mark(email, false, 0xFFFFFF);
    email.SetText(L"maria@exemplo.pt");

    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto label = [&](const wchar_t* text, int twipsX, int twipsY, int twipsW) {
      HWND w = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_RIGHT, PixelsFromTwipsX(twipsX),
                               PixelsFromTwipsY(twipsY), PixelsFromTwipsX(twipsW), PixelsFromTwipsY(300), form.hWnd(),
                               nullptr, instance, nullptr);
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
      return w;
    };
    label(L"Cidade:", 0, 900, 900);
    label(L"UF:", 0, 1500, 900);
    label(L"E-mail:", 2160, 1500, 700);
    page->saveButton = CreateWindowExW(0, L"BUTTON", L"Gravar", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                       PixelsFromTwipsX(5640), PixelsFromTwipsY(2280), PixelsFromTwipsX(1200),
                                       PixelsFromTwipsY(420), form.hWnd(),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSaveButtonId)), instance, nullptr);
    SendMessageW(page->saveButton, WM_SETFONT, reinterpret_cast<WPARAM>(gui), FALSE);
    page->status = label(L"", 240, 2340, 5200);
    SetWindowLongPtrW(page->status, GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_LEFT);
    SetWindowSubclass(form.hWnd(), &TextInputForm::FormProc, kSubclassId, reinterpret_cast<DWORD_PTR>(page.get()));

    // Typing into a field marked red takes the mark away again.
    for (auto [field, back] : {std::pair{page->cidade, OleColor{0xFFFFFF}}, std::pair{page->uf, OleColor{0xE0FFFF}}})
      field->events.Change = [field, back] {
        if (!field->Text().empty()) Mark(*field, false, back);
      };
    // The form opens as after a first "Gravar": the empty UF marked red, the city field focused
    // (its outline in the focus colour).
    page->MarkMissing();
    page->cidade->Texto().SetFocus();
    KvTextBox* focused = page->cidade;
    FocusInScreenshot([focused] {
      SetForegroundWindow(GetAncestor(focused->hWnd(), GA_ROOT));
      focused->Texto().SetFocus();
    });
  } catch (const std::exception&) {
    area.AddText(L"The text fields could not be opened.", 0, 32, 620, 18);
    return;
  }
  // Beside the gallery window, below the link panel's window.
  RECT gallery{};
  GetWindowRect(area.Window(), &gallery);
  SetWindowPos(page->form->hWnd(), nullptr, gallery.left + Px(700), gallery.top + Px(340), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TextInputForm* raw = page.release();
  area.OnClose([raw] { delete raw; });
}

}  // namespace tessel::gallery
