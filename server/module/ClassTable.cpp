#include "server/module/ClassTable.h"

#include "server/module/Guids.h"

namespace tessel::server {

namespace {

const ClassEntry kPublicClasses[] = {
    {&kClsidBalloonToolTip, L"CBalloonToolTip", &CreateBalloonToolTip},
    {&kClsidSOSystem, L"SOSystem", &CreateSOSystem},
};

}  // namespace

std::span<const ClassEntry> PublicClasses() { return kPublicClasses; }

const ClassEntry* FindClass(std::span<const ClassEntry> table, REFCLSID clsid) {
  for (const ClassEntry& entry : table)
    if (entry.clsid && IsEqualCLSID(*entry.clsid, clsid)) return &entry;
  return nullptr;
}

}  // namespace tessel::server
