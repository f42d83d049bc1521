#pragma once
// The module (program or server file) that holds this code: the instance under which its window
// classes are registered and its windows created.
#include <windows.h>

namespace tessel {

HINSTANCE ThisModule();

}  // namespace tessel
