#include "server/module/ClassTable.h"

#include "server/module/Guids.h"

namespace tessel::server {

namespace {

const ClassEntry kPublicClasses[] = {
    {&kClsidBalloonToolTip, L"CBalloonToolTip", &CreateBalloonToolTip},
    {&kClsidSOSystem, L"SOSystem", &CreateSOSystem},
};

// The user controls add their rows here; none is registered or handed out by DllGetClassObject.
const ClassEntry kPrivateControls[] = {
    {nullptr, nullptr, nullptr},
};

}  // namespace

std::span<const ClassEntry> PublicClasses() { return kPublicClasses; }

std::span<const ClassEntry> PrivateControls() {
  std::span<const ClassEntry> all(kPrivateControls);
  // The placeholder row keeps the array non-empty while no control is listed.
  return all.first(all.size() - (all.back().clsid ? 0 : 1));
}

const ClassEntry* FindClass(std::span<const ClassEntry> table, REFCLSID clsid) {
  for (const ClassEntry& entry : table)
    if (entry.clsid && IsEqualCLSID(*entry.clsid, clsid)) return &entry;
  return nullptr;
}

}  // namespace tessel::server
