#pragma once
// The start of a command-line tool: its arguments after the program's name, COM for the thread,
// and an error that escapes the tool printed under the tool's name.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace tessel {

template <class Run>
int RunTool(const char* name, int failed, Run run) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int code = failed;
  try {
    code = run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
    code = failed;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  std::fflush(stdout);
  std::fflush(stderr);
  return code;
}

}  // namespace tessel
