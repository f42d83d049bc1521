// Runs a script under cscript and reads the script process's private bytes from outside at every
// line "cycle <n>" the script prints: `scriptmem <script> [arguments...]`. Prints one line per
// checkpoint and, at the end, the growth per cycle from the first checkpoint to the last.
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Wine leaves PrivateUsage 0; its PagefileUsage is the private memory it counts.
int64_t PrivateBytesOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
    return -1;
  return static_cast<int64_t>(counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage);
}

struct Owned {
  HANDLE h = nullptr;
  Owned() = default;
  explicit Owned(HANDLE handle) : h(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() {
    if (h) CloseHandle(h);
  }
};

struct Checkpoint {
  long cycle = -1;
  int64_t bytes = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: scriptmem <script> [arguments...]\n");
    return 2;
  }
  std::wstring command = L"cscript.exe //nologo";
  for (int i = 1; i < argc; ++i) command += L" \"" + std::wstring(argv[i]) + L"\"";

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return 3;
  Owned reader(readEnd);
  Owned writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
    std::fwprintf(stderr, L"scriptmem: cannot start %ls (error %lu)\n", command.c_str(), GetLastError());
    return 3;
  }
  Owned process(child.hProcess);
  Owned thread(child.hThread);
  CloseHandle(writer.h);
  writer.h = nullptr;

  Checkpoint first, last;
  std::string line;
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(reader.h, buffer, sizeof buffer, &got, nullptr) && got) {
    for (DWORD i = 0; i < got; ++i) {
      if (buffer[i] != '\n') {
        if (buffer[i] != '\r') line += buffer[i];
        continue;
      }
      long cycle = 0;
      if (std::sscanf(line.c_str(), "cycle %ld", &cycle) == 1) {
        const Checkpoint now{cycle, PrivateBytesOf(process.h)};
        if (now.bytes <= 0) {
          std::printf("cycle %7ld  (the script had ended)\n", now.cycle);
        } else {
          std::printf("cycle %7ld  private %10lld\n", now.cycle, static_cast<long long>(now.bytes));
          if (first.cycle < 0) first = now;
          last = now;
        }
      } else {
        std::printf("%s\n", line.c_str());
      }
      std::fflush(stdout);
      line.clear();
    }
  }
  WaitForSingleObject(process.h, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.h, &code);
  if (last.cycle > first.cycle) {
    const double perCycle = static_cast<double>(last.bytes - first.bytes) / (last.cycle - first.cycle);
    std::printf("growth %lld bytes over %ld cycles: %.1f bytes a cycle\n",
                static_cast<long long>(last.bytes - first.bytes), last.cycle - first.cycle, perCycle);
  }
  return static_cast<int>(code);
}
