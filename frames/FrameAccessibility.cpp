// A frame reads as a grouping named by its caption; the controls inside it are its children.
#include "frames/TzFrames.h"

namespace tessel {

void TzFrames::Describe(AccessibleDescription& d) const {
  d.role = AccessibleRole::Grouping;
  d.name = WithoutAccessMarks(p_.caption);
}

}  // namespace tessel
