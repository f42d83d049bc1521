#include "server/contract/HostServices.h"

#include "server/contract/PropertyBag.h"  // WideFromUtf8
#include "server/contract/ThisModule.h"
#include "server/contract/WindowClass.h"

#include <shellapi.h>

#include <cwctype>
#include <exception>
#include <new>
#include <vector>

namespace tessel {
namespace {

struct KeyStroke {
  UINT vk = 0;         // a key to press, or 0 for a character
  wchar_t ch = 0;      // a character delivered as typed text
  bool shift = false, ctrl = false, alt = false;
};

struct NamedKey {
  const wchar_t* name;
  UINT vk;
};

constexpr NamedKey kNamedKeys[] = {
    {L"TAB", VK_TAB},        {L"ENTER", VK_RETURN},   {L"ESC", VK_ESCAPE},    {L"ESCAPE", VK_ESCAPE},
    {L"BS", VK_BACK},        {L"BKSP", VK_BACK},      {L"BACKSPACE", VK_BACK}, {L"DEL", VK_DELETE},
    {L"DELETE", VK_DELETE},  {L"INS", VK_INSERT},     {L"INSERT", VK_INSERT}, {L"HOME", VK_HOME},
    {L"END", VK_END},        {L"PGUP", VK_PRIOR},     {L"PGDN", VK_NEXT},     {L"LEFT", VK_LEFT},
    {L"RIGHT", VK_RIGHT},    {L"UP", VK_UP},          {L"DOWN", VK_DOWN},     {L"F1", VK_F1},
    {L"F2", VK_F2},          {L"F3", VK_F3},          {L"F4", VK_F4},         {L"F5", VK_F5},
    {L"F6", VK_F6},          {L"F7", VK_F7},          {L"F8", VK_F8},         {L"F9", VK_F9},
    {L"F10", VK_F10},        {L"F11", VK_F11},        {L"F12", VK_F12},
};

UINT NamedKeyCode(std::wstring name) {
  for (auto& c : name) c = static_cast<wchar_t>(std::towupper(c));
  for (const auto& k : kNamedKeys)
    if (name == k.name) return k.vk;
  return 0;
}

// Send-keys notation: "+" shift, "^" ctrl, "%" alt before a key; "~" Enter; "{NAME}" a named key;
// "{+}" and the like a literal character; anything else is typed as it stands.
std::vector<KeyStroke> ParseKeys(const std::wstring& keys) {
  std::vector<KeyStroke> out;
  KeyStroke pending;
  for (size_t i = 0; i < keys.size(); ++i) {
    const wchar_t c = keys[i];
    if (c == L'+') { pending.shift = true; continue; }
    if (c == L'^') { pending.ctrl = true; continue; }
    if (c == L'%') { pending.alt = true; continue; }
    KeyStroke k = pending;
    pending = KeyStroke{};
    if (c == L'~') {
      k.vk = VK_RETURN;
    } else if (c == L'{') {
      // "{}}" names the brace itself.
      size_t close = keys.find(L'}', i + 2);
      if (close == std::wstring::npos) close = keys.find(L'}', i + 1);
      if (close == std::wstring::npos) break;  // unbalanced: nothing more is sent
      std::wstring name = keys.substr(i + 1, close - i - 1);
      i = close;
      if (name.size() == 1) {
        k.ch = name[0];
      } else if (UINT vk = NamedKeyCode(name)) {
        k.vk = vk;
      } else {
        continue;  // an unknown name is skipped
      }
    } else {
      k.ch = c;
    }
    out.push_back(k);
  }
  return out;
}

LPARAM KeyLParam(UINT vk, bool up) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  LPARAM lp = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
  if (up) lp |= (1u << 30) | (1u << 31);
  return lp;
}

void AddKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  inputs.push_back(in);
}

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the program's own loop
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Posted keys reach the window one stroke at a time: the key up (and the next stroke) is posted
// only once the key down has been fetched, so the character that the loop's TranslateMessage
// makes from it comes before anything typed after it, as with a real keyboard. Each message goes
// to the window that has the focus when it is posted, so "{TAB}abc" types into the next field.
class KeyFeeder {
 public:
  struct Step {
    UINT msg = 0;       // 0: wait here until what was posted so far has been fetched
    WPARAM wp = 0;
    LPARAM lp = 0;
  };

  static KeyFeeder& ForThisThread() {
    thread_local KeyFeeder feeder;
    return feeder;
  }
  ~KeyFeeder() {
    if (window_) DestroyWindow(window_);
  }

  void Add(const Step& step) { steps_.push_back(step); }
  void SetOrigin(HWND origin) {
    if (origin) origin_ = origin;
  }
  void Start() {
    if (!waiting_) Feed();
  }

 private:
  static constexpr UINT kNext = WM_APP + 0x7E;

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kNext) {
      ForThisThread().waiting_ = false;
      ForThisThread().Feed();
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  bool EnsureWindow() {
    if (window_) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = L"TesselKeyFeeder";
    EnsureModuleClass(wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    return window_ != nullptr;
  }

  void Feed() {
    while (!steps_.empty()) {
      const Step step = steps_.front();
      steps_.erase(steps_.begin());
      if (step.msg == 0) {
        if (!EnsureWindow()) continue;  // no helper window: post on without waiting
        waiting_ = true;
        PostMessageW(window_, kNext, 0, 0);
        return;
      }
      // The window that had the focus when the keys were sent takes them while the thread has
      // no focus (another program took the activation): they never go to another program.
      HWND target = GetFocus();
      if (!target && origin_ && IsWindow(origin_)) target = origin_;
      if (!target) target = GetActiveWindow();
      if (!target) target = GetForegroundWindow();
      if (target) PostMessageW(target, step.msg, step.wp, step.lp);
    }
    // Nothing left to send: the helper window goes, so idle programs hold no extra window.
    if (window_) {
      DestroyWindow(window_);
      window_ = nullptr;
    }
  }

  HWND window_ = nullptr;
  HWND origin_ = nullptr;
  std::vector<Step> steps_;
  bool waiting_ = false;
};

class Platform final : public HostServices {
 public:
  int MessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) override {
    return MessageBoxW(owner, text.c_str(), title.c_str(), flags);
  }
  POINT CursorPos() override {
    POINT p{};
    GetCursorPos(&p);
    return p;
  }
  HWND WindowFromPoint(POINT screen) override { return ::WindowFromPoint(screen); }
  INT_PTR ShellExecute(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                       const std::string& directory, int show) override {
    HINSTANCE r = ShellExecuteA(owner, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                                parameters.empty() ? nullptr : parameters.c_str(),
                                directory.empty() ? nullptr : directory.c_str(), show);
    return reinterpret_cast<INT_PTR>(r);
  }

  // Unmodified keys are posted to the window with the focus (or the active window), so they reach
  // it through the thread's own message loop, where the form's navigation sees them. Keys with
  // Shift, Ctrl or Alt need the real keyboard state and go through SendInput instead.
  // With wait, the thread's messages are handled until every key has been delivered.
  void SendKeys(const std::wstring& keys, bool wait) override {
    const std::vector<KeyStroke> strokes = ParseKeys(keys);
    for (const KeyStroke& k : strokes) {
      if (k.shift || k.ctrl || k.alt) {
        std::vector<INPUT> inputs;
        if (k.shift) AddKey(inputs, VK_SHIFT, false);
        if (k.ctrl) AddKey(inputs, VK_CONTROL, false);
        if (k.alt) AddKey(inputs, VK_MENU, false);
        WORD vk = static_cast<WORD>(k.vk);
        if (!vk) vk = LOBYTE(VkKeyScanW(k.ch));
        AddKey(inputs, vk, false);
        AddKey(inputs, vk, true);
        if (k.alt) AddKey(inputs, VK_MENU, true);
        if (k.ctrl) AddKey(inputs, VK_CONTROL, true);
        if (k.shift) AddKey(inputs, VK_SHIFT, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        continue;
      }
      KeyFeeder& feeder = KeyFeeder::ForThisThread();
      if (k.vk) {
        // The loop's TranslateMessage makes the WM_CHAR of Tab, Enter, Esc and Backspace.
        feeder.Add({WM_KEYDOWN, k.vk, KeyLParam(k.vk, false)});
        feeder.Add({});
        feeder.Add({WM_KEYUP, k.vk, KeyLParam(k.vk, true)});
      } else {
        feeder.Add({WM_CHAR, k.ch, 1});
      }
      feeder.Add({});
    }
    KeyFeeder::ForThisThread().SetOrigin(GetFocus());
    KeyFeeder::ForThisThread().Start();
    if (wait) PumpPending();
  }

  uint64_t TickCount() override { return GetTickCount64(); }
};

}  // namespace

HostServices& PlatformHostServices() {
  static Platform platform;
  return platform;
}

INT_PTR HostServices::ShellExecuteWide(HWND owner, const std::wstring& verb, const std::wstring& file,
                                       const std::wstring& parameters, const std::wstring& directory, int show) {
  auto orNull = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
  return reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(owner, orNull(verb), file.c_str(), orNull(parameters), orNull(directory), show));
}

HRESULT HostServices::DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect) {
  return ::DoDragDrop(data, source, allowedEffects, effect);
}

void HostServices::ReportSkippedStep(std::wstring_view control, std::wstring_view step, std::wstring_view error) {
  ReportToDebugger(control, step, error);
}

void ReportToDebugger(std::wstring_view source, std::wstring_view step, std::wstring_view error) noexcept {
  try {
    std::wstring line = L"TesselOCX: ";
    line.append(source).append(L": ").append(step).append(L" skipped: ").append(error).append(L"\n");
    OutputDebugStringW(line.c_str());
  } catch (const std::bad_alloc&) {
    OutputDebugStringW(L"TesselOCX: a step was skipped (out of memory while reporting it)\n");
  }
}

std::wstring CurrentErrorText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return WideFromUtf8(e.what());
  } catch (...) {
    return L"an exception that is not a std::exception";
  }
}

}  // namespace tessel
