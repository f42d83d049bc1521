// The decorations: a line separates, a bevel is a drawn box.
#include "decor/Bevel.h"
#include "decor/KvLinha.h"

namespace tessel {

void Bevel::Describe(AccessibleDescription& d) const { d.role = AccessibleRole::Graphic; }

void KvLinha::Describe(AccessibleDescription& d) const { d.role = AccessibleRole::Separator; }

}  // namespace tessel
