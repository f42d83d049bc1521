// SOSystem: its snapshot against the platform's own answers, and the rules it reports them by.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "classes/SystemFacts.h"
#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;

namespace {

TEST(SystemFacts, MatchTheSystemsOwnAnswers) {
  Auto facts(CreateServerObject(tessel::server::kClsidSOSystem));
  ASSERT_TRUE(facts);

  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  EXPECT_EQ(facts.GetLong(L"TotalMemory"), tessel::SaturatedByteCount(memory.ullTotalPhys));
  if (memory.ullAvailPhys < 0x7FFFFFFFull) {
    // Free memory moves; the snapshot is close to a reading taken just now.
    EXPECT_NEAR(static_cast<double>(facts.GetLong(L"AvailableMemory")), static_cast<double>(memory.ullAvailPhys),
                256.0 * 1024 * 1024);
  } else {
    EXPECT_EQ(facts.GetLong(L"AvailableMemory"), 0x7FFFFFFF);
  }
  EXPECT_GT(facts.GetLong(L"TotalMemory"), 0);

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExA(&version));
#pragma GCC diagnostic pop
  EXPECT_EQ(facts.GetText(L"OSVersion"),
            std::to_wstring(version.dwMajorVersion) + L"." + std::to_wstring(version.dwMinorVersion));
  VARIANT build = facts.Get(L"OSBuild");
  ASSERT_EQ(V_VT(&build), VT_R4);
  EXPECT_EQ(V_R4(&build), static_cast<float>(version.dwBuildNumber & 0xFFFF));
  EXPECT_EQ(facts.GetText(L"OSPlatform"), version.dwPlatformId == VER_PLATFORM_WIN32_NT ? L"Windows NT/2000" : L"?");

  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  EXPECT_EQ(facts.GetLong(L"Processor"), static_cast<long>(info.dwProcessorType));

  VARIANT total = facts.Get(L"TotalMemory");
  EXPECT_EQ(V_VT(&total), VT_I4);
  VARIANT text = facts.Get(L"OSVersion");
  EXPECT_EQ(V_VT(&text), VT_BSTR);
  VariantClear(&text);
}

TEST(SystemFacts, AreASnapshotOfTheMomentOfCreation) {
  Auto facts(CreateServerObject(tessel::server::kClsidSOSystem));
  const long first = facts.GetLong(L"AvailableMemory");
  // Take and touch a good amount of memory; the object keeps its reading.
  const size_t bytes = 96u * 1024 * 1024;
  void* block = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  for (size_t i = 0; i < bytes; i += 4096) static_cast<char*>(block)[i] = 1;
  EXPECT_EQ(facts.GetLong(L"AvailableMemory"), first);
  EXPECT_EQ(facts.GetLong(L"AvailableMemory"), first);
  VirtualFree(block, 0, MEM_RELEASE);
}

TEST(SystemFacts, ReportingRules) {
  EXPECT_EQ(tessel::SaturatedByteCount(0), 0);
  EXPECT_EQ(tessel::SaturatedByteCount(0x7FFFFFFF), 0x7FFFFFFF);
  EXPECT_EQ(tessel::SaturatedByteCount(0x80000000ull), 0x7FFFFFFF);
  EXPECT_EQ(tessel::SaturatedByteCount(16ull << 30), 0x7FFFFFFF);
  EXPECT_EQ(tessel::SaturatedByteCount(123456789), 123456789);

  EXPECT_STREQ(tessel::PlatformFamilyName(0), L"Windows 95");
  EXPECT_STREQ(tessel::PlatformFamilyName(1), L"Windows 98");
  EXPECT_STREQ(tessel::PlatformFamilyName(2), L"Windows NT/2000");
  EXPECT_STREQ(tessel::PlatformFamilyName(3), L"Windows NT/2000");

  EXPECT_EQ(tessel::VersionText(5, 1), L"5.1");
  EXPECT_EQ(tessel::VersionText(10, 0), L"10.0");
  // The 95 family keeps the version in the high word of the build number.
  EXPECT_EQ(tessel::BuildNumberValue(0x040A08AE), 2222.0f);
  EXPECT_EQ(tessel::BuildNumberValue(7601), 7601.0f);
  EXPECT_EQ(tessel::BuildNumberValue(0xFFFFFFFF), 65535.0f);
}

}  // namespace
