#pragma once
// The server beside the test program: loaded into it, and registered by regsvr32 run to its end.
#include "tests/support/Prelude.h"
#include <iterator>

#include "server/contract/SystemHandles.h"

namespace tessel::test {

inline std::wstring ServerPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"TesselOCX.ocx";
}

// The server loaded once into the test program, and its exports called there.
inline HMODULE ServerModule() {
  static HMODULE module = LoadLibraryW(ServerPath().c_str());
  return module;
}
inline HRESULT ServerGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(GetProcAddress(ServerModule(), "DllGetClassObject"));
  return get ? get(clsid, iid, out) : E_POINTER;
}
inline HRESULT ServerCanUnloadNow() {
  auto canUnload = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddress(ServerModule(), "DllCanUnloadNow"));
  return canUnload ? canUnload() : E_POINTER;
}

// Runs a program of the prefix with its output written to a file; returns the exit code and the output.
inline DWORD RunProgram(std::wstring command, std::string& output) {
  wchar_t temp[MAX_PATH] = {}, file[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GetTempFileNameW(temp, L"tsl", 0, file);
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = out;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(out);
  DWORD code = 0xFFFF;
  if (started) {
    const unique_hfile process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &code);
  }
  {
    std::ifstream in(file, std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(in), {});
  }
  DeleteFileW(file);
  return code;
}

// regsvr32 run silently on the server with the given switches; its exit code.
inline DWORD RegSvr32(const std::wstring& switches) {
  std::string ignored;
  return RunProgram(L"regsvr32.exe /s " + switches + L" \"" + ServerPath() + L"\"", ignored);
}

}  // namespace tessel::test
