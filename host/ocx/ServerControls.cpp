// Linked into the in-process server: every user control of the library is in TesselOCX.ocx and
// known to the containers inside it by type name, with its class identity.
#include "host/ControlTypesLibrary.h"

namespace tessel {
namespace {

const bool kRegistered = [] {
  RegisterLibraryControls(ControlTypes::Default());
  return true;
}();

}  // namespace
}  // namespace tessel
