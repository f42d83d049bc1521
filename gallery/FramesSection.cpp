// The group frames on a form of their own: every style across, six looks down (themes, solid
// and gradient headers, icons left and right, long captions cut with "...", disabled frames with
// grey icons), each frame holding real controls that move, hide and disable with it.
#include <memory>

#include "gallery/FrameSamples.h"
#include "gallery/Gallery.h"
#include "host/ControlTypesLibrary.h"
#include "host/Form.h"

namespace tessel::gallery {

void AddFramesSection(SectionArea& area) {
  static ControlTypes types;
  if (!types.Contains(L"tzFrames")) RegisterLibraryControls(types);
  area.AddText(L"tzFrames opens in a form of its own: the nine styles across; the blue, silver, khaki, gold, custom and "
               L"olive themes down (the last two disabled), each frame holding controls.",
               0, 0, 620, 32);
  area.SetHeight(34);
  std::unique_ptr<Form> form;
  try {
    form = OpenFrameSamples(L"tzFrames", &types);
  } catch (const std::exception& e) {
    area.AddText(L"The frames could not be opened: " + WideFromUtf8(e.what()), 0, 18, 620, 18);
    return;
  }
  RECT gallery{}, own{};
  GetWindowRect(area.Window(), &gallery);
  GetWindowRect(form->hWnd(), &own);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(form->hWnd(), nullptr, 0, screenHeight - (own.bottom - own.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Form* raw = form.release();
  area.OnClose([raw] { delete raw; });
}

}  // namespace tessel::gallery
