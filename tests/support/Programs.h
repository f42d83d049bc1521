#pragma once
// The server beside the test program: loaded into it, and registered by regsvr32.
#include "tests/support/Prelude.h"

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

// regsvr32 run silently on the server with the given switches; its exit code.
inline DWORD RegSvr32(const std::wstring& switches) {
  std::wstring command = L"regsvr32.exe /s " + switches + L" \"" + ServerPath() + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  DWORD code = 0xFFFF;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return code;
  const unique_hfile process(pi.hProcess), thread(pi.hThread);
  WaitForSingleObject(pi.hProcess, 60000);
  GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

}  // namespace tessel::test
