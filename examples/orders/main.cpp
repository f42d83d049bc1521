// An order form: a name field, and a frame holding the button that saves the form. The program
// fills the field, clicks the button as the mouse would, opens the saved file again and checks
// what came back. It exits with 0 when everything held, 1 otherwise (each failure on stderr).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "inputs/KvTextBox.h"

using namespace tessel;

namespace {

int failures = 0;

void Expect(bool held, const char* what) {
  if (held) return;
  std::fprintf(stderr, "orders: %s\n", what);
  ++failures;
}

std::wstring SavedFormPath() {
  wchar_t dir[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, dir);
  return std::wstring(dir, n) + L"orders-example.tform";
}

// A press and a release inside the control's window: the form makes a Click of them.
void ClickWithTheMouse(UserControl& control) {
  SendMessageW(control.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  SendMessageW(control.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  RegisterLibraryControls(ControlTypes::Default());
  const std::wstring path = SavedFormPath();
  DeleteFileW(path.c_str());
  {
    auto form = Form::Create(L"Pedido", 6000, 3600);  // client area in twips
    auto& nome = static_cast<KvTextBox&>(form->Add(L"KvTextBox", L"txtNome", 120, 120, 3000, 375));
    nome.SetCapitalizar(true);
    nome.SetText(L"Ana Souza");

    auto& frame = static_cast<TzFrames&>(form->Add(L"tzFrames", L"fraPedido", 120, 600, 4200, 2400));
    frame.SetStyle(frames::fsHeader);
    frame.SetThemeColor(frames::themeGold);
    frame.SetCaption(L"Pedido");
    auto& salvar = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"btnSalvar", 240, 900, 1500, 450, L"fraPedido"));
    salvar.SetCaption(L"&Salvar");

    int clicks = 0;
    salvar.events.Click = [&] {
      ++clicks;
      SaveForm(*form, path);
    };
    Form::PumpMessages();
    ClickWithTheMouse(salvar);
    Expect(clicks == 1, "the click on Salvar did not arrive once");
    form->Close();
  }

  std::vector<FormFileError> errors;
  auto loaded = OpenForm(path, true, errors, nullptr, FormDisplay::Hidden);
  for (const FormFileError& e : errors) std::fprintf(stderr, "orders: %s\n", e.ToString().c_str());
  Expect(loaded && errors.empty(), "the saved form did not open cleanly");
  if (loaded) {
    auto* nome = dynamic_cast<KvTextBox*>(loaded->Control(L"txtNome"));
    auto* frame = dynamic_cast<TzFrames*>(loaded->Control(L"fraPedido"));
    auto* salvar = dynamic_cast<ButtonStyle*>(loaded->Control(L"btnSalvar"));
    Expect(nome && nome->Text() == L"Ana Souza" && nome->Capitalizar(), "the name field came back changed");
    Expect(frame && frame->Caption() == L"Pedido" && frame->ThemeColor() == frames::themeGold,
           "the frame came back changed");
    Expect(salvar && salvar->Caption() == L"&Salvar", "the button came back changed");
    Expect(salvar && frame && GetParent(salvar->hWnd()) == frame->hWnd(), "the button is not inside the frame");
    loaded->Close();
  }
  DeleteFileW(path.c_str());
  OleUninitialize();
  if (failures == 0) std::fprintf(stdout, "orders: OK\n");
  return failures == 0 ? 0 : 1;
}
