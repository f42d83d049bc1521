// A one-question survey: a captioned field for the name and, in a frame, a check button for the
// answer. The program clicks the button as the mouse would, saves the form, opens the file again
// and checks the answer and the name. It exits with 0 when everything held, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "button/ButtonStyle.h"
#include "frames/TzFrames.h"
#include "host/ControlTypes.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "inputs/KvText.h"

namespace tessel {
// Each control folder registers its own types; this program uses three of them.
void RegisterTextInputControls(ControlTypes& types);
void RegisterButtonControls(ControlTypes& types);
void RegisterFrameControls(ControlTypes& types);
}  // namespace tessel

using namespace tessel;

namespace {

int failures = 0;

void Expect(bool held, const char* what) {
  if (held) return;
  std::fprintf(stderr, "survey: %s\n", what);
  ++failures;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  OleInitialize(nullptr);
  ControlTypes& types = ControlTypes::Default();
  RegisterTextInputControls(types);
  RegisterButtonControls(types);
  RegisterFrameControls(types);

  wchar_t dir[MAX_PATH + 1];
  const std::wstring path = std::wstring(dir, GetTempPathW(MAX_PATH + 1, dir)) + L"survey-example.tform";
  {
    auto form = Form::Create(L"Pesquisa", 5400, 3000);
    auto& nome = static_cast<KvText&>(form->Add(L"KvText", L"txtNome", 120, 120, 4800, 375));
    nome.SetCaption(L"Nome:");
    nome.SetText(L"Bia");
    auto& frame = static_cast<TzFrames&>(form->Add(L"tzFrames", L"fraResposta", 120, 700, 4800, 1800));
    frame.SetCaption(L"Recomendaria?");
    auto& sim = static_cast<ButtonStyle&>(form->Add(L"ButtonStyle", L"chkSim", 240, 700, 1800, 450, L"fraResposta"));
    sim.SetMode(modeCheck);
    sim.SetCaption(L"Sim");

    std::vector<std::wstring> events;
    sim.events.Click = [&] { events.push_back(sim.Value() ? L"Click checked" : L"Click unchecked"); };
    form->onPropertyChanged = [&](const std::wstring& control, std::wstring_view key) {
      events.push_back(control + L"." + std::wstring(key));
    };
    Form::PumpMessages();
    SendMessageW(sim.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageW(sim.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Expect(events == std::vector<std::wstring>{L"chkSim.Value", L"Click checked"},
           "the click did not check the button and raise Click once");
    SaveForm(*form, path);
  }

  std::vector<FormFileError> errors;
  auto loaded = OpenForm(path, true, errors, nullptr, FormDisplay::Hidden);
  Expect(loaded && errors.empty(), "the saved form did not open cleanly");
  if (loaded) {
    auto* nome = dynamic_cast<KvText*>(loaded->Control(L"txtNome"));
    auto* sim = dynamic_cast<ButtonStyle*>(loaded->Control(L"chkSim"));
    Expect(nome && nome->Caption() == L"Nome:" && nome->Text() == L"Bia", "the name field came back changed");
    Expect(sim && sim->Mode() == modeCheck && sim->Value(), "the answer came back unchecked");
  }
  DeleteFileW(path.c_str());
  OleUninitialize();
  if (failures == 0) std::fprintf(stdout, "survey: OK\n");
  return failures == 0 ? 0 : 1;
}
