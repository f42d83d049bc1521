// The host and the input and decoration controls beside the native controls that look alike:
// placing one control and painting it, repainting a form of 100 mixed controls, closing a form,
// opening a 500-control form file, the form tool's check as a whole process, and what a control
// costs at rest in memory and GDI objects.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/SystemHandles.h"
#include "tools/benchmark/Benchmark.h"

namespace tessel::bench {
namespace {

// One kind of control and the native window that does its work: a class, styles and a size.
struct Kind {
  const wchar_t* type;         // our control type
  const wchar_t* nativeClass;  // "EDIT", "STATIC"
  DWORD style, exStyle;
  int width, height;           // pixels
  const wchar_t* nativeText;
};

const Kind kTextBox{L"KvTextBox", L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 110, 25, L"Text1"};
const Kind kText{L"KvText", L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 110, 25, L"Text1"};
const Kind kBevel{L"Bevel", L"STATIC", SS_SUNKEN, 0, 110, 30, L""};
const Kind kLinha{L"KvLinha", L"STATIC", SS_ETCHEDHORZ, 0, 110, 2, L""};
const Kind* const kMixed[] = {&kTextBox, &kText, &kLinha, &kBevel};

constexpr int kTwips = 15;  // the benchmark's display runs at 96 dpi
constexpr int kColumns = 10, kCellWidth = 120, kCellHeight = 36;

POINT CellOf(int i) { return POINT{8 + (i % kColumns) * kCellWidth, 8 + (i / kColumns) * kCellHeight}; }

HWND NativeChild(HWND parent, const Kind& k, POINT at) {
  return CreateWindowExW(k.exStyle, k.nativeClass, k.nativeText, WS_CHILD | WS_VISIBLE | k.style, at.x, at.y, k.width,
                         k.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// A plain top-level window for the native controls, of the client size of our forms.
HWND NativeTop(int width, int height) {
  static const wchar_t* const cls = [] {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"TesselBenchNative";
    RegisterClassExW(&wc);
    return L"TesselBenchNative";
  }();
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, 0);
  HWND top = CreateWindowExW(0, cls, L"Native", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 640, 0, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(top, SW_SHOWNA);
  return top;
}

std::unique_ptr<Form> OurForm(int width, int height) {
  auto form = Form::Create(L"Host benchmark", width * kTwips, height * kTwips, true, &LibraryTypes());
  SetWindowPos(form->hWnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return form;
}

void PlaceOurs(Form& form, const Kind& k, int i) {
  const POINT at = CellOf(i);
  form.Add(k.type, L"c" + std::to_wstring(i), at.x * kTwips, at.y * kTwips, k.width * kTwips,
           k.height * kTwips);
}

std::unique_ptr<Form> MixedForm(int count) {
  auto form = OurForm(kColumns * kCellWidth + 16, (count + kColumns - 1) / kColumns * kCellHeight + 16);
  for (int i = 0; i < count; ++i) PlaceOurs(*form, *kMixed[i % 4], i);
  PumpPending();
  return form;
}

HWND MixedNative(int count) {
  HWND top = NativeTop(kColumns * kCellWidth + 16, (count + kColumns - 1) / kColumns * kCellHeight + 16);
  for (int i = 0; i < count; ++i) NativeChild(top, *kMixed[i % 4], CellOf(i));
  PumpPending();
  return top;
}

void DestroyNative(HWND& top) {
  if (top) DestroyWindow(top);
  top = nullptr;
  PumpPending();
}

// Placing one control after another on a form that stays open, each painted before the next.
struct Placing {
  std::unique_ptr<Form> form = OurForm(kColumns * kCellWidth + 16, 400);
  HWND native = NativeTop(kColumns * kCellWidth + 16, 400);
  int placed = 0;
  std::vector<HWND> natives;

  void Clear() {
    for (const std::wstring& name : form->ControlNames()) form->Remove(name);
    for (HWND w : natives) DestroyWindow(w);
    natives.clear();
    placed = 0;
    PumpPending();
  }
  void Ours(const Kind& k) {
    PlaceOurs(*form, k, placed++ % 100);
    PumpPending();
  }
  void Theirs(const Kind& k) {
    natives.push_back(NativeChild(native, k, CellOf(static_cast<int>(natives.size()) % 100)));
    PumpPending();
  }
};

// A form file of count mixed controls, written once into the temporary folder.
std::wstring MixedFormFile(int count) {
  std::string text = "TesselForm 1\n\nForm\n  Caption = \"Benchmark\"\n  Width = " +
                     std::to_string((kColumns * kCellWidth + 16) * kTwips) + "\n  Height = " +
                     std::to_string(((count + kColumns - 1) / kColumns * kCellHeight + 16) * kTwips) + "\nEndForm\n";
  for (int i = 0; i < count; ++i) {
    const Kind& k = *kMixed[i % 4];
    const POINT at = CellOf(i);
    char type[32];
    WideCharToMultiByte(CP_UTF8, 0, k.type, -1, type, sizeof type, nullptr, nullptr);
    text += "\nControl " + std::string(type) + " c" + std::to_string(i) + "\n  .Left = " +
            std::to_string(at.x * kTwips) + "\n  .Top = " + std::to_string(at.y * kTwips) + "\n  .Width = " +
            std::to_string(k.width * kTwips) + "\n  .Height = " + std::to_string(k.height * kTwips) + "\n";
    if (&k == &kTextBox) text += "  Text = \"Field " + std::to_string(i) + "\"\n  ValidarCampo = false\n  ValidarMSG = \"\"\n";
    if (&k == &kText) text += "  Caption = \"Name\"\n  Text = \"Field " + std::to_string(i) + "\"\n";
    text += "EndControl\n";
  }
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring path = std::wstring(dir) + L"tessel-benchmark-" + std::to_wstring(count) + L".tform";
  WriteFileAtomically(path, text);
  return path;
}

std::wstring BesideThisProgram(const wchar_t* file) {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + file;
}

// Runs a program to its end with its output thrown away.
void RunProcess(const std::wstring& commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  unique_hfile nul = OwnedFile(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOW si{sizeof si};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = si.hStdError = nul.get();
  PROCESS_INFORMATION pi{};
  std::wstring line = commandLine;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    unique_hfile process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
  }
}

// GDI objects of the process (Wine answers GetGuiResources with 0: the handle table is counted).
unsigned GdiObjects() {
  GdiFlush();
  if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  unsigned n = 0;
  for (ULONG_PTR index = 0x20; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
  return n;
}

// Bytes in use in every heap of the process (the C++ objects, and the window structures that the
// system keeps in the process).
double HeapBytes() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  double total = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData;
    HeapUnlock(heaps[i]);
  }
  return total;
}

// What count more controls cost at rest, per control: made, painted, and measured before they go,
// beside as many made before them. What controls share (a font, brushes by colour, the back
// buffer) and first-use costs (classes, and the system's cache of window DCs, which keeps a bounded
// number of DCs, each with a region, and is filled by whichever side runs first) are not theirs.
template <class Make, class Measure>
double PerControl(int count, Make make, Measure measure) {
  auto warm = make(count);
  const double before = measure();
  auto held = make(count);
  const double after = measure();
  return (after - before) / count;
}

constexpr int kPlaceRepetitions = 20;

const Registration kHost(
    L"host",
    [] {
      auto placing = std::make_shared<Placing>();
      std::vector<Comparison> rows;
      const std::pair<const Kind*, const wchar_t*> places[] = {
          {&kTextBox, L"EDIT with a client edge"},
          {&kText, L"EDIT with a client edge"},
          {&kBevel, L"sunken STATIC"},
          {&kLinha, L"etched STATIC"},
      };
      for (const auto& [kind, native] : places) {
        const Kind* k = kind;
        Comparison row{std::wstring(L"place + first paint, one ") + k->type, native,
                       [placing, k] { placing->Ours(*k); }, [placing, k] { placing->Theirs(*k); },
                       kPlaceRepetitions};
        row.prepare = row.prepareNative = [placing] { placing->Clear(); };
        rows.push_back(std::move(row));
      }
      rows.push_back(Comparison{L"repaint a form of 100 mixed controls", L"the same native controls", nullptr,
                                nullptr, 5});
      {
        auto ours = std::make_shared<std::unique_ptr<Form>>();
        auto theirs = std::make_shared<HWND>(nullptr);
        Comparison& row = rows.back();
        row.prepare = [ours] {
          if (!*ours) *ours = MixedForm(100);
        };
        row.prepareNative = [theirs] {
          if (!*theirs) *theirs = MixedNative(100);
        };
        row.ours = [ours] {
          RedrawWindow((*ours)->hWnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        };
        row.theirs = [theirs] {
          RedrawWindow(*theirs, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
        };
      }
      const std::pair<int, const wchar_t*> closes[] = {{0, L"close a form of 100 Bevels, per control"},
                                                       {1, L"close a form of 100 mixed controls, per control"}};
      for (const auto& [mixed, work] : closes) {
        auto ours = std::make_shared<std::unique_ptr<Form>>();
        auto theirs = std::make_shared<HWND>(nullptr);
        const bool all = mixed != 0;
        Comparison row{work, all ? L"the same native controls" : L"sunken STATICs", [ours] { ours->reset(); },
                       [theirs] { DestroyNative(*theirs); }, 1};
        row.prepare = [ours, all] {
          if (all) {
            *ours = MixedForm(100);
            return;
          }
          *ours = OurForm(kColumns * kCellWidth + 16, 400);
          for (int i = 0; i < 100; ++i) PlaceOurs(**ours, kBevel, i);
          PumpPending();
        };
        row.prepareNative = [theirs, all] {
          if (all) {
            *theirs = MixedNative(100);
            return;
          }
          *theirs = NativeTop(kColumns * kCellWidth + 16, 400);
          for (int i = 0; i < 100; ++i) NativeChild(*theirs, kBevel, CellOf(i));
          PumpPending();
        };
        row.units = 100;
        rows.push_back(std::move(row));
      }
      {
        const std::wstring file = MixedFormFile(500);
        auto ours = std::make_shared<std::unique_ptr<Form>>();
        auto theirs = std::make_shared<HWND>(nullptr);
        Comparison row{L"open a 500-control form file and paint it once", L"creating the native controls",
                       [ours, file] {
                         std::vector<FormFileError> errors;
                         *ours = OpenForm(file, true, errors, &LibraryTypes());
                         PumpPending();
                       },
                       [theirs] { *theirs = MixedNative(500); }, 1};
        row.prepare = [ours] {
          ours->reset();
          PumpPending();
        };
        row.prepareNative = [theirs] { DestroyNative(*theirs); };
        rows.push_back(std::move(row));
        const std::wstring command = L"\"" + BesideThisProgram(L"formtool.exe") + L"\" check \"" + file + L"\"";
        rows.push_back(Comparison{L"formtool check of a 500-control form (whole process)", L"-",
                                  [command] { RunProcess(command); }, nullptr, 1});
      }
      return rows;
    },
    [] {
      std::vector<Quantity> rows;
      const auto textBoxes = [](int count) {
        auto form = OurForm(kColumns * kCellWidth + 16, 800);
        for (int i = 0; i < count; ++i) PlaceOurs(*form, kTextBox, i);
        PumpPending();
        return form;
      };
      const auto edits = [](int count) {
        std::shared_ptr<void> top(NativeTop(kColumns * kCellWidth + 16, 800), [](void* w) {
          DestroyWindow(static_cast<HWND>(w));
          PumpPending();
        });
        for (int i = 0; i < count; ++i) NativeChild(static_cast<HWND>(top.get()), kTextBox, CellOf(i));
        PumpPending();
        return top;
      };
      rows.push_back({L"memory per KvTextBox at rest", L"EDIT with a client edge", L"bytes",
                      [textBoxes] { return PerControl(200, textBoxes, HeapBytes); },
                      [edits] { return PerControl(200, edits, HeapBytes); }});
      rows.push_back({L"GDI objects per control at rest, 100 mixed", L"the same native controls", L"objects",
                      [] { return PerControl(100, MixedForm, GdiObjects); },
                      [] {
                        return PerControl(100, [](int count) {
                          std::shared_ptr<void> top(MixedNative(count), [](void* w) {
                            DestroyWindow(static_cast<HWND>(w));
                            PumpPending();
                          });
                          return top;
                        }, GdiObjects);
                      }});
      return rows;
    });

}  // namespace
}  // namespace tessel::bench
