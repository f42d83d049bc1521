// SOSystem's facts the class script cannot compare with WMI, a snapshot, and the rules they follow.
#include "tests/support/Prelude.h"

#include "classes/SystemFacts.h"
#include "server/module/Guids.h"
#include "tests/classes/Automation.h"

using namespace tessel::test;

namespace {

TEST(SystemFacts, AreASnapshotOfTheSystemsOwnAnswersAtCreation) {
  Auto facts(CreateServerObject(tessel::server::kClsidSOSystem));
  ASSERT_TRUE(facts);
  MEMORYSTATUSEX memory{sizeof(memory)};
  ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
  const long available = facts.GetLong(L"AvailableMemory");
  if (memory.ullAvailPhys < 0x7FFFFFFFull)  // free memory moves: close to a reading taken just now
    EXPECT_NEAR(static_cast<double>(available), static_cast<double>(memory.ullAvailPhys), 256.0 * 1024 * 1024);
  else
    EXPECT_EQ(available, 0x7FFFFFFF);
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  EXPECT_EQ(facts.GetLong(L"Processor"), static_cast<long>(info.dwProcessorType));
  EXPECT_EQ(facts.GetText(L"OSPlatform"), L"Windows NT/2000");
  // Take and touch a good amount of memory; the object keeps its reading.
  const size_t bytes = 96u * 1024 * 1024;
  void* block = VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  ASSERT_NE(block, nullptr);
  for (size_t i = 0; i < bytes; i += 4096) static_cast<char*>(block)[i] = 1;
  EXPECT_EQ(facts.GetLong(L"AvailableMemory"), available);
  VirtualFree(block, 0, MEM_RELEASE);
}

TEST(SystemFacts, SizesSaturateAtTheLargestLongAndOnlyTheLowWordOfTheBuildCounts) {
  for (auto [bytes, count] : {std::pair{0ull, 0}, std::pair{123456789ull, 123456789}, std::pair{0x7FFFFFFFull, 0x7FFFFFFF},
                              std::pair{0x80000000ull, 0x7FFFFFFF}, std::pair{16ull << 30, 0x7FFFFFFF}})
    EXPECT_EQ(tessel::SaturatedByteCount(bytes), count) << bytes;
  for (auto [id, name] : {std::pair{0ul, L"Windows 95"}, std::pair{1ul, L"Windows 98"}, std::pair{2ul, L"Windows NT/2000"},
                          std::pair{3ul, L"Windows NT/2000"}})
    EXPECT_STREQ(tessel::PlatformFamilyName(id), name);
  EXPECT_EQ(tessel::BuildNumberValue(0x040A08AE), 2222.0f);  // the 95 family's version in the high word
  EXPECT_EQ(tessel::BuildNumberValue(0xFFFFFFFF), 65535.0f);
}

}  // namespace
