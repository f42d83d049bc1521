#pragma once
// Registers every user control of the library. Only programs that link every control folder
// include this (the gallery, the form tool, the server); each folder adds its own line.
#include "host/ControlTypes.h"

namespace tessel {

void RegisterDecorControls(ControlTypes& types);  // decor/: Bevel, KvLinha
void RegisterTextInputControls(ControlTypes& types);  // inputs/: KvTextBox, KvText
void RegisterLinkPanelControls(ControlTypes& types);  // inputs/: KvFundo
void RegisterButtonControls(ControlTypes& types);  // button/: ButtonStyle
void RegisterFrameControls(ControlTypes& types);      // frames/: tzFrames

inline void RegisterLibraryControls(ControlTypes& types) {
  RegisterDecorControls(types);
  RegisterTextInputControls(types);
  RegisterLinkPanelControls(types);
  RegisterButtonControls(types);
  RegisterFrameControls(types);
}

// One registry of every library control for the process, made on first use.
inline const ControlTypes& LibraryTypes() {
  static const ControlTypes types = [] {
    ControlTypes t;
    RegisterLibraryControls(t);
    return t;
  }();
  return types;
}

}  // namespace tessel
