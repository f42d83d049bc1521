// formfuzz: feeds mutated sample forms to the form-file reader and, for a share of them, to a
// real form, and fails on a crash, an exception that escapes, a hang or GDI objects, windows or
// handles that are not given back. Every input that fails is written out to become a sample.
//
//   formfuzz <forms folder> [inputs=20000] [seed=1] [every=200]
//
// The mutations are chosen by a fixed-seed generator, so a run is the same every time.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/HostServices.h"
#include "server/contract/WholeFile.h"
#include "tests/support/GdiCount.h"
#include "tools/ToolMain.h"

namespace {

using namespace tessel;

// splitmix64: small, fast and the same on every compiler.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t Below(size_t n) { return n ? static_cast<size_t>(Next() % n) : 0; }

 private:
  uint64_t state_;
};

// Pieces that the grammar gives meaning to, for the mutations that insert text.
const char* const kPieces[] = {
    "0x80000000", "0xFFFFFFFF", "0x7FFFFFFF", "-2147483649", "99999999999999999999", "-0", "+-1", "0x",
    "int16(", "single(nan)", "single(inf)", "single(1e39)", "font(\"Arial\", 9, weight=0x800)", "font(nothing)",
    "picture(bitmap, 4)", "picture(icon, 0x10000000)", "picture(nothing)", "EndPicture", "EndControl", "EndForm",
    "Form", "Control KvLinha fz", "Control KvTextBox fz", "Control", ".TabIndex = 9", ".Width = -1", "\"", "\\u",
    "\\uD800", "=", "(", ")", ",", "true", "false", "\xEF\xBB\xBF", "\xC3", "\r", "\t", "TesselForm 1",
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() ? "\n" : "");
  return text;
}

// The start and length of each run of characters between blanks.
std::vector<std::pair<size_t, size_t>> Tokens(const std::string& text) {
  std::vector<std::pair<size_t, size_t>> tokens;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    size_t b = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i > b) tokens.emplace_back(b, i - b);
  }
  return tokens;
}

void Mutate(std::string& text, Random& rnd) {
  switch (rnd.Below(8)) {
    case 0:  // flip bits of a byte
      if (!text.empty()) text[rnd.Below(text.size())] ^= static_cast<char>(1 << rnd.Below(8));
      break;
    case 1:  // a byte of any value
      if (!text.empty()) text[rnd.Below(text.size())] = static_cast<char>(rnd.Below(256));
      break;
    case 2:  // truncate
      text.resize(rnd.Below(text.size() + 1));
      break;
    case 3: {  // duplicate a line
      std::vector<std::string> lines = SplitLines(text);
      const size_t i = rnd.Below(lines.size());
      lines.insert(lines.begin() + rnd.Below(lines.size() + 1), lines[i]);
      text = JoinLines(lines);
      break;
    }
    case 4: {  // swap two lines, or drop one
      std::vector<std::string> lines = SplitLines(text);
      const size_t a = rnd.Below(lines.size()), b = rnd.Below(lines.size());
      if (rnd.Below(4) == 0) lines.erase(lines.begin() + a);
      else std::swap(lines[a], lines[b]);
      text = JoinLines(lines);
      break;
    }
    case 5: {  // duplicate a token in place
      auto tokens = Tokens(text);
      if (tokens.empty()) break;
      auto [at, n] = tokens[rnd.Below(tokens.size())];
      text.insert(at, text.substr(at, n) + (rnd.Below(2) ? " " : ""));
      break;
    }
    case 6: {  // swap two tokens
      auto tokens = Tokens(text);
      if (tokens.size() < 2) break;
      auto a = tokens[rnd.Below(tokens.size())], b = tokens[rnd.Below(tokens.size())];
      if (a.first == b.first) break;
      if (a.first > b.first) std::swap(a, b);
      const std::string first = text.substr(a.first, a.second), second = text.substr(b.first, b.second);
      text.replace(b.first, b.second, first);
      text.replace(a.first, a.second, second);
      break;
    }
    default: {  // a piece of the grammar over a token, or between two
      const std::string piece = kPieces[rnd.Below(std::size(kPieces))];
      auto tokens = Tokens(text);
      if (!tokens.empty() && rnd.Below(2)) {
        auto [at, n] = tokens[rnd.Below(tokens.size())];
        text.replace(at, n, piece);
      } else {
        text.insert(rnd.Below(text.size() + 1), piece);
      }
      break;
    }
  }
}

// The input being tried, for the crash filter and the watchdog.
std::string g_current;
std::wstring g_outDir;
std::atomic<int64_t> g_startedMs{0};
std::atomic<bool> g_busy{false};

void Keep(const std::string& kind, const std::string& text) {
  static int n = 0;
  const std::wstring path = g_outDir + L"\\formfuzz-" + WideFromUtf8(kind) + L"-" + std::to_wstring(++n) + L".tform";
  try {
    WriteFileAtomically(path, text);
    std::printf("formfuzz: %s; input kept in %s\n", kind.c_str(), Utf8FromWide(path).c_str());
  } catch (const std::exception& e) {
    std::printf("formfuzz: %s; the input could not be kept: %s\n", kind.c_str(), e.what());
  }
  std::fflush(stdout);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
  char what[64];
  std::snprintf(what, sizeof what, "crash (exception 0x%08lX)", info->ExceptionRecord->ExceptionCode);
  Keep(what, g_current);
  ExitProcess(3);
}

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// One input may take a few seconds on a loaded machine; ten means it hangs.
void Watchdog() {
  while (true) {
    Sleep(500);
    if (g_busy && NowMs() - g_startedMs > 10000) {
      Keep("hang", g_current);
      ExitProcess(4);
    }
  }
}

struct Counts {
  unsigned gdi = 0, windows = 0;
  DWORD handles = 0;
};

BOOL CALLBACK CountWindow(HWND, LPARAM n) {
  ++*reinterpret_cast<unsigned*>(n);
  return TRUE;
}

Counts Measure() {
  Counts c;
  c.gdi = test::GdiObjectCount();
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&c.windows));
  GetProcessHandleCount(GetCurrentProcess(), &c.handles);
  return c;
}

// Loads parsed text into the one form of the run, then takes every control off again.
void LoadIntoForm(Form& form, const ParsedForm& parsed) {
  LoadForm(parsed, L"fuzz.tform", form);
  Form::PumpMessages();
  for (const std::wstring& name : form.ControlNames()) form.Remove(name);
  Form::PumpMessages();
}

int Run(const std::vector<std::wstring>& args) {
  if (args.empty()) {
    std::fprintf(stderr, "usage: formfuzz <forms folder> [inputs=20000] [seed=1] [every=200]\n");
    return 2;
  }
  const std::wstring dir = args[0];
  const long long inputs = args.size() > 1 ? std::stoll(args[1]) : 20000;
  const uint64_t seed = args.size() > 2 ? std::stoull(args[2]) : 1;
  const long long every = args.size() > 3 ? std::stoll(args[3]) : 200;

  std::vector<std::string> samples;
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((dir + L"\\*.tform").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do samples.push_back(ReadWholeFile(dir + L"\\" + fd.cFileName, 1 << 24));
    while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  if (samples.empty()) {
    std::fprintf(stderr, "formfuzz: no .tform files in %s\n", Utf8FromWide(dir).c_str());
    return 2;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  g_outDir = temp;
  g_outDir.pop_back();
  SetUnhandledExceptionFilter(OnCrash);
  std::thread(Watchdog).detach();

  std::unique_ptr<Form> form = Form::Create(L"formfuzz", 6000, 4000, true, &LibraryTypes());
  Random rnd(seed);
  int failures = 0;
  Counts before{};
  const int64_t start = NowMs();
  long long forms = 0;
  for (long long i = 0; i < inputs; ++i) {
    std::string text = samples[rnd.Below(samples.size())];
    for (size_t m = 1 + rnd.Below(3); m > 0; --m) Mutate(text, rnd);
    const bool onForm = every > 0 && i % every == 0;
    g_current = text;
    g_startedMs = NowMs();
    g_busy = true;
    try {
      ParsedForm parsed = ParseFormText(text, L"fuzz.tform");
      if (onForm) {
        LoadIntoForm(*form, parsed);
        // Once a tenth of the forms have been loaded, the caches the process keeps (fonts,
        // decoders, window classes) are made; from there on nothing may grow.
        if (++forms == std::max<long long>(1, inputs / every / 10)) before = Measure();
      }
    } catch (...) {
      Keep("exception escaped: " + Utf8FromWide(CurrentErrorText()), text);
      ++failures;
    }
    g_busy = false;
  }
  const Counts after = Measure();
  const double seconds = (NowMs() - start) / 1000.0;
  std::printf("formfuzz: %lld inputs (%lld on a form) in %.1f s, seed %llu\n", inputs, forms, seconds,
              static_cast<unsigned long long>(seed));
  std::printf("formfuzz: GDI objects %u -> %u, windows %u -> %u, handles %lu -> %lu\n", before.gdi, after.gdi,
              before.windows, after.windows, before.handles, after.handles);
  // A leak per form would show as tens or hundreds.
  if (forms > 1 && (after.gdi > before.gdi + 8 || after.windows > before.windows + 2 ||
                    after.handles > before.handles + 16)) {
    std::printf("formfuzz: objects were not given back\n");
    ++failures;
  }
  std::printf("formfuzz: %s\n", failures ? "FAILED" : "OK");
  return failures ? 1 : 0;
}

}  // namespace

int main() {
  const int code = tessel::RunTool("formfuzz", 2, Run);
  ExitProcess(static_cast<UINT>(code));  // the watchdog thread is still waiting
}
