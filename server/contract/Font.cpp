#include "server/contract/Font.h"

#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>

#include "server/contract/ComOwners.h"
#include "server/contract/FontCache.h"
#include "server/contract/Twips.h"

namespace tessel {

namespace {

CY CyFromPoints(float points) {
  CY cy;
  cy.int64 = std::llround(static_cast<double>(points) * 10000.0);
  return cy;
}

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) {
    char code[16];
    wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
    throw std::runtime_error(std::string("font: ") + what + " failed (" + code + ")");
  }
}

void CheckName(const std::wstring& name) {
  if (name.empty()) throw std::runtime_error("font: a font needs a name");
  if (name.size() >= LF_FACESIZE) throw std::runtime_error("font: the name is longer than 31 characters");
}

// 1638 points is the largest size a font object keeps.
void CheckSize(float points) {
  if (!(points > 0.0f) || points > 1638.0f)
    throw std::runtime_error("font: size " + std::to_string(points) + " is out of range");
}

}  // namespace

// A font made by Create (its ratio is the screen's) draws with the shared handle of its attributes
// and has its OLE object made only when asked; one wrapped from elsewhere keeps the ratio its owner
// gave it and realises its own handle. The attributes are not read back from the font object:
// asking it realises a handle of its own.
struct Font::State {
  Microsoft::WRL::ComPtr<IFont> font;  // null until asked for, for a font made here
  FontDesc desc;
  bool shared = false;
  int ratioDpi = 0;  // the resolution the font object made here was last realised for
  std::shared_ptr<SharedFont> handle;  // the shared handle of the attributes last drawn

  // The holders of each font object made here, so a holder wrapped around it shares their state.
  static std::map<IFont*, std::weak_ptr<State>>& Known() {
    static auto* known = new std::map<IFont*, std::weak_ptr<State>>;
    return *known;
  }
  static std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
  }
  ~State() {
    if (!shared || !font) return;
    std::lock_guard<std::mutex> guard(Lock());
    auto found = Known().find(font.Get());
    if (found != Known().end() && found->second.expired()) Known().erase(found);
  }
};

namespace {

// A new OLE font object of the attributes, realised for the screen: a 9-point font is 12 pixels
// high at 96 dpi.
Microsoft::WRL::ComPtr<IFont> MakeObject(const FontDesc& desc) {
  std::wstring name = desc.name;
  FONTDESC fd{};
  fd.cbSizeofstruct = sizeof fd;
  fd.lpstrName = name.data();
  fd.cySize = CyFromPoints(desc.size);
  fd.sWeight = desc.weight;
  fd.sCharset = desc.charset;
  fd.fItalic = desc.italic;
  fd.fUnderline = desc.underline;
  fd.fStrikethrough = desc.strikethrough;
  Microsoft::WRL::ComPtr<IFont> font;
  Check(OleCreateFontIndirect(&fd, IID_IFont, reinterpret_cast<void**>(font.GetAddressOf())),
        "OleCreateFontIndirect");
  font->SetRatio(ScreenDpiY(), 2540);
  return font;
}

}  // namespace

FontRef Font::Create(const FontDesc& desc) {
  CheckName(desc.name);
  CheckSize(desc.size);
  auto state = std::make_shared<State>();
  state->desc = desc;
  state->shared = true;
  return std::make_shared<Font>(Key{}, std::move(state));
}

IFont* Font::Get() const {
  State& s = *state_;
  if (!s.font) {
    s.font = MakeObject(s.desc);
    s.ratioDpi = ScreenDpiY();
    std::lock_guard<std::mutex> guard(State::Lock());
    State::Known()[s.font.Get()] = state_;
  } else if (s.shared && s.ratioDpi != ScreenDpiY()) {
    // A font made here follows the form to a screen of another resolution; one wrapped from
    // elsewhere keeps the ratio its owner gives it.
    s.ratioDpi = ScreenDpiY();
    s.font->SetRatio(s.ratioDpi, 2540);
  }
  return s.font.Get();
}

FontRef Font::Wrap(IFont* font) {
  if (!font) throw std::invalid_argument("font: Wrap needs a font object");
  {
    std::lock_guard<std::mutex> guard(State::Lock());
    auto found = State::Known().find(font);
    if (found != State::Known().end())
      if (auto state = found->second.lock()) return std::make_shared<Font>(Key{}, state);
  }
  FontDesc d;
  BSTR name = nullptr;
  if (SUCCEEDED(font->get_Name(&name)) && name) {
    const unique_bstr owned(name);
    d.name.assign(name, SysStringLen(name));
  }
  CY size{};
  if (SUCCEEDED(font->get_Size(&size))) d.size = static_cast<float>(static_cast<double>(size.int64) / 10000.0);
  SHORT s = 0;
  if (SUCCEEDED(font->get_Weight(&s))) d.weight = s;
  if (SUCCEEDED(font->get_Charset(&s))) d.charset = s;
  BOOL b = FALSE;
  if (SUCCEEDED(font->get_Italic(&b))) d.italic = b != FALSE;
  b = FALSE;
  if (SUCCEEDED(font->get_Underline(&b))) d.underline = b != FALSE;
  b = FALSE;
  if (SUCCEEDED(font->get_Strikethrough(&b))) d.strikethrough = b != FALSE;
  auto state = std::make_shared<State>();
  state->font = font;  // one reference of its own
  state->desc = d;
  return std::make_shared<Font>(Key{}, std::move(state));
}

Font::~Font() = default;

FontDesc Font::Describe() const { return state_->desc; }

void Font::SetName(const std::wstring& name) {
  CheckName(name);
  if (IFont* font = state_->font.Get()) {
    const unique_bstr b(SysAllocStringLen(name.data(), static_cast<UINT>(name.size())));
    Check(font->put_Name(b.get()), "setting the name");
  }
  state_->desc.name = name;
}

void Font::SetSize(float points) {
  CheckSize(points);
  if (IFont* font = state_->font.Get()) Check(font->put_Size(CyFromPoints(points)), "setting the size");
  state_->desc.size = points;
}

void Font::SetBold(bool on) { SetWeight(on ? FW_BOLD : FW_NORMAL); }

void Font::SetItalic(bool on) {
  if (IFont* font = state_->font.Get()) Check(font->put_Italic(on), "setting italic");
  state_->desc.italic = on;
}

void Font::SetUnderline(bool on) {
  if (IFont* font = state_->font.Get()) Check(font->put_Underline(on), "setting underline");
  state_->desc.underline = on;
}

void Font::SetStrikethrough(bool on) {
  if (IFont* font = state_->font.Get()) Check(font->put_Strikethrough(on), "setting strikethrough");
  state_->desc.strikethrough = on;
}

void Font::SetWeight(short weight) {
  if (IFont* font = state_->font.Get()) Check(font->put_Weight(weight), "setting the weight");
  state_->desc.weight = weight;
}

void Font::SetCharset(short charset) {
  if (IFont* font = state_->font.Get()) Check(font->put_Charset(charset), "setting the character set");
  state_->desc.charset = charset;
}

FontRef Font::Clone() const { return Create(state_->desc); }

HFONT Font::Handle() const {
  const State& s = *state_;
  if (s.shared) {
    const FontDesc& d = s.desc;
    // The resolution is part of the attributes: at another one the same font has another height.
    const FontKey key{d.name, CyFromPoints(d.size).int64, d.weight, d.charset, d.italic, d.underline, d.strikethrough,
                      ScreenDpiY()};
    // A handle not yet shared is realised by a font object of the same attributes and ratio.
    state_->handle = SharedFont::For(key, state_->handle, [&d] { return MakeObject(d); });
    if (s.handle) return s.handle->Handle();
  }
  HFONT h = nullptr;
  if (!s.font || FAILED(s.font->get_hFont(&h))) return nullptr;
  return h;
}

}  // namespace tessel
