// Prints what the embedded application manifest gave this process: the common controls it loaded
// and the DPI awareness of its thread and process (declared for Windows 10, asked at run time).
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>
#include <commctrl.h>
#include <shellscalingapi.h>
#include <shlwapi.h>

#include <cstdio>

int main() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&init);
  DLLVERSIONINFO version{sizeof version};
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
  if (!getVersion || FAILED(getVersion(&version))) {
    std::printf("comctl32: no version\n");
    return 1;
  }
  std::printf("comctl32 %lu.%lu\n", version.dwMajorVersion, version.dwMinorVersion);
  // The version 6 assembly is loaded from the side-by-side store, the version 5 one from system32.
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(comctl, path, MAX_PATH);
  std::printf("comctl32 from the side-by-side store: %s\n", StrStrIW(path, L"\\winsxs\\") ? "yes" : "no");
  const DPI_AWARENESS_CONTEXT thread = GetThreadDpiAwarenessContext();
  const DPI_AWARENESS awareness = GetAwarenessFromDpiAwarenessContext(thread);
  const char* names[] = {"unaware", "system", "per-monitor"};  // DPI_AWARENESS_UNAWARE (0) on
  std::printf("thread awareness: %s\n", awareness >= 0 && awareness <= 2 ? names[awareness] : "invalid");
  std::printf("thread context is per-monitor v2: %s\n",
              AreDpiAwarenessContextsEqual(thread, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) ? "yes" : "no");
  PROCESS_DPI_AWARENESS process{};
  using GetProcessAwareness = HRESULT(WINAPI*)(HANDLE, PROCESS_DPI_AWARENESS*);
  HMODULE shcore = LoadLibraryW(L"shcore.dll");
  auto get = reinterpret_cast<GetProcessAwareness>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetProcessDpiAwareness")));
  if (get && SUCCEEDED(get(nullptr, &process)))
    std::printf("process awareness: %d\n", static_cast<int>(process));
  if (shcore) FreeLibrary(shcore);
  std::printf("dpi: %u\n", GetDpiForSystem());
  return 0;
}
