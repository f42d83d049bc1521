#include "tools/benchmark/Benchmark.h"

#include <ole2.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "host/FormFile.h"

namespace tessel::bench {

HANDLE CommonControls6() {
  static HANDLE context = [] {
    static const char kManifest[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"*\" "
        "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/></dependentAssembly></dependency>\n"
        "</assembly>\n";
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"tessel-benchmark-cc6.manifest";
    WriteFileAtomically(path, kManifest);
    ACTCTXW actctx{sizeof actctx};
    actctx.lpSource = path.c_str();
    HANDLE made = CreateActCtxW(&actctx);
    if (made == INVALID_HANDLE_VALUE) return HANDLE{nullptr};
    ULONG_PTR cookie = 0;
    if (ActivateActCtx(made, &cookie)) {
      INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
      InitCommonControlsEx(&icc);
      DeactivateActCtx(0, cookie);
    }
    return made;
  }();
  return context;
}


HWND NativeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, RECT at, bool commonControls6) {
  ULONG_PTR cookie = 0;
  const bool activated = commonControls6 && CommonControls6() && ActivateActCtx(CommonControls6(), &cookie);
  HWND w = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top, at.right - at.left,
                           at.bottom - at.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (activated) DeactivateActCtx(0, cookie);
  return w;
}

std::vector<Group>& Groups() {
  static std::vector<Group> groups;
  return groups;
}

double MedianMilliseconds(const std::function<void()>& work, int repetitions,
                          const std::function<void()>& prepare) {
  return MedianMilliseconds(work, {}, repetitions, prepare).ours;
}

Timing MedianMilliseconds(const std::function<void()>& ours, const std::function<void()>& theirs, int repetitions,
                          const std::function<void()>& prepareOurs, const std::function<void()>& prepareTheirs) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  auto sample = [&](const std::function<void()>& work, const std::function<void()>& prepare) {
    if (prepare) prepare();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < repetitions; ++i) work();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / repetitions;
  };
  // Warm: first-use costs (class registration, font mapping) are not the work measured.
  if (prepareOurs) prepareOurs();
  ours();
  if (theirs) {
    if (prepareTheirs) prepareTheirs();
    theirs();
  }
  // The two take turns, so a burst of load on a shared machine falls on both alike.
  constexpr int kSamples = 7;
  double a[kSamples], b[kSamples] = {};
  for (int i = 0; i < kSamples; ++i) {
    a[i] = sample(ours, prepareOurs);
    if (theirs) b[i] = sample(theirs, prepareTheirs);
  }
  std::sort(std::begin(a), std::end(a));
  std::sort(std::begin(b), std::end(b));
  return {a[kSamples / 2], b[kSamples / 2]};
}

unsigned GdiObjects() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  unsigned n = 0;  // Wine: the live entries of the handle table, by index
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index) n += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
  return n;
}

namespace {
BOOL CALLBACK CountWindow(HWND w, LPARAM n) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<unsigned*>(n);
  EnumChildWindows(w, CountWindow, n);
  return TRUE;
}
}  // namespace

unsigned Windows() {
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
  unsigned n = 0;
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&n));
  return n;
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace tessel::bench

namespace {

// One repetition of a work between two marks that the Wine server's log shows (wineserver -d1): a
// failed open of an event named "tessel-requests-begin-N" and "...-end". The requests between them
// do not depend on the load. The labels go to the output, one "N label" a line.
void Mark(const std::wstring& name) { OpenEventW(SYNCHRONIZE, FALSE, (L"tessel-requests-" + name).c_str()); }

void Marked(int n, const std::wstring& label, const std::function<void()>& work, const std::function<void()>& prepare) {
  if (prepare) prepare();
  work();  // first-use costs are not the work's
  if (prepare) prepare();
  wprintf(L"%d %ls\n", n, label.c_str());
  fflush(stdout);
  Mark(L"begin-" + std::to_wstring(n));
  work();
  Mark(L"end");
}

void MarkRequests(const tessel::bench::Group& group) {
  using namespace tessel::bench;
  int n = 0;
  Marked(n++, L"(nothing)", [] {}, {});
  for (const Comparison& row : group.make()) {
    if (row.ours) Marked(n++, L"ours | " + row.work, row.ours, row.prepare);
    if (row.theirs) Marked(n++, L"native | " + row.native, row.theirs, row.prepareNative);
  }
}

}  // namespace

// benchmark [group-name-substring] [--requests]: prints one Markdown table per group, ours beside
// native; with --requests, runs each work once between marks for the server log instead.
int wmain(int argc, wchar_t** argv) {
  using namespace tessel::bench;
  OleInitialize(nullptr);
  const wchar_t* only = argc > 1 ? argv[1] : nullptr;
  const bool requests = argc > 2 && wcscmp(argv[2], L"--requests") == 0;
  for (const Group& group : Groups()) {
    if (only && !wcsstr(group.name.c_str(), only)) continue;
    if (requests) {
      MarkRequests(group);
      continue;
    }
    wprintf(L"\n### %ls\n\n| work | ours (ms) | native | native (ms) | ratio |\n|---|---|---|---|---|\n", group.name.c_str());
    for (const Comparison& row : group.make()) {
      const Timing t = MedianMilliseconds(row.ours, row.theirs, row.repetitions, row.prepare, row.prepareNative);
      const double ours = t.ours / row.units;
      if (row.theirs) {
        const double theirs = t.theirs / row.units;
        wprintf(L"| %ls | %.3f | %ls | %.3f | %.2fx |\n", row.work.c_str(), ours, row.native.c_str(), theirs,
                theirs > 0 ? ours / theirs : 0.0);
      } else {
        wprintf(L"| %ls | %.3f | - | - | - |\n", row.work.c_str(), ours);  // ASCII: the console code page may lack a dash
      }
      fflush(stdout);
    }
    if (!group.quantities) continue;
    wprintf(L"\n| quantity | ours | native | native | ratio |\n|---|---|---|---|---|\n");
    for (const Quantity& row : group.quantities()) {
      const double ours = row.ours(), theirs = row.theirs();
      wchar_t ratio[32] = L"-";
      if (theirs > 0) swprintf(ratio, 32, L"%.2fx", ours / theirs);
      wprintf(L"| %ls | %.1f %ls | %ls | %.1f %ls | %ls |\n", row.work.c_str(), ours, row.unit.c_str(),
              row.native.c_str(), theirs, row.unit.c_str(), ratio);
      fflush(stdout);
    }
  }
  OleUninitialize();
  return 0;
}
