#pragma once
// Facts about the machine and the operating system, read once when taken.
#include <windows.h>
#include <cstdint>
#include <string>

namespace tessel {

struct SystemFacts {
  int32_t totalMemory = 0;       // bytes of physical memory
  int32_t availableMemory = 0;   // bytes of free physical memory when taken
  std::wstring osVersion;        // "major.minor", empty when the version is unknown
  float osBuild = 0.0f;          // low 16 bits of the build number
  std::wstring osPlatform;       // family name, empty when the version is unknown
  int32_t processor = 0;         // processor type code
};

// Memory sizes are counted in a signed 32-bit number of bytes. A size that does not fit
// (any machine with 2 GiB or more) reports 2147483647, the largest count there is, rather
// than a wrapped or negative number.
constexpr int32_t SaturatedByteCount(uint64_t bytes) {
  return bytes > 0x7FFFFFFFull ? 0x7FFFFFFF : static_cast<int32_t>(bytes);
}

// "Windows 95" for platform id 0, "Windows 98" for 1, "Windows NT/2000" for any other.
const wchar_t* PlatformFamilyName(DWORD platformId);

// "major.minor" in decimal.
std::wstring VersionText(DWORD major, DWORD minor);

// Only the low 16 bits of the build number count: the 95 family keeps the version in the high ones.
constexpr float BuildNumberValue(DWORD build) { return static_cast<float>(build & 0xFFFF); }

SystemFacts TakeSystemFacts();

}  // namespace tessel
