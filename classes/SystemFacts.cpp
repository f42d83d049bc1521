#include "classes/SystemFacts.h"

namespace tessel {

const wchar_t* PlatformFamilyName(DWORD platformId) {
  switch (platformId) {
    case 0: return L"Windows 95";
    case 1: return L"Windows 98";
    default: return L"Windows NT/2000";
  }
}

std::wstring VersionText(DWORD major, DWORD minor) {
  return std::to_wstring(major) + L"." + std::to_wstring(minor);
}

SystemFacts TakeSystemFacts() {
  SystemFacts facts;

  // The extended status reports sizes in 64 bits in every process, so large memories saturate
  // instead of being cut off differently by 32- and 64-bit builds.
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  if (GlobalMemoryStatusEx(&memory)) {
    facts.totalMemory = SaturatedByteCount(memory.ullTotalPhys);
    facts.availableMemory = SaturatedByteCount(memory.ullAvailPhys);
  }

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  const BOOL haveVersion = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (haveVersion) {
    facts.osVersion = VersionText(version.dwMajorVersion, version.dwMinorVersion);
    facts.osBuild = BuildNumberValue(version.dwBuildNumber);
    facts.osPlatform = PlatformFamilyName(version.dwPlatformId);
  }

  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  facts.processor = static_cast<int32_t>(info.dwProcessorType);
  return facts;
}

}  // namespace tessel
