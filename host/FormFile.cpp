#include "host/FormFile.h"

#include <windows.h>

#include <charconv>
#include <cstring>
#include <functional>
#include <optional>
#include <stdexcept>

namespace tessel {

namespace {

constexpr size_t kBase64LineLength = 76;
constexpr int64_t kLargestFile = int64_t(1) << 28;

// ----- shared vocabulary -----

struct ExtenderKey {
  const wchar_t* name;  // written with a leading '.'
  int ExtenderProperties::*number;
  bool ExtenderProperties::*flag;
};

constexpr ExtenderKey kExtenderKeys[] = {
    {L"Left", &ExtenderProperties::left, nullptr},
    {L"Top", &ExtenderProperties::top, nullptr},
    {L"Width", &ExtenderProperties::width, nullptr},
    {L"Height", &ExtenderProperties::height, nullptr},
    {L"TabIndex", &ExtenderProperties::tabIndex, nullptr},
    {L"TabStop", nullptr, &ExtenderProperties::tabStop},
    {L"Visible", nullptr, &ExtenderProperties::visible},
    {L"Enabled", nullptr, &ExtenderProperties::enabled},
};

const wchar_t* KindWord(PictureKind kind) {
  switch (kind) {
    case PictureKind::Bitmap: return L"bitmap";
    case PictureKind::Icon: return L"icon";
    case PictureKind::Cursor: return L"cursor";
    case PictureKind::Metafile: return L"metafile";
  }
  return L"bitmap";
}

bool IsNameChar(wchar_t c) { return c == L'_' || ((c < 0xD800 || c > 0xDFFF) && IsCharAlphaNumericW(c)); }

bool IsName(std::wstring_view s) {
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (!IsNameChar(c)) return false;
  return true;
}

// ----- base64 -----

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::vector<uint8_t>& bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    out += kBase64[v >> 18];
    out += kBase64[(v >> 12) & 63];
    out += kBase64[(v >> 6) & 63];
    out += kBase64[v & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = bytes[i] << 16;
    if (i + 1 < bytes.size()) v |= bytes[i + 1] << 8;
    out += kBase64[v >> 18];
    out += kBase64[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

int Base64Value(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c - L'A';
  if (c >= L'a' && c <= L'z') return c - L'a' + 26;
  if (c >= L'0' && c <= L'9') return c - L'0' + 52;
  if (c == L'+') return 62;
  if (c == L'/') return 63;
  return -1;
}

// ----- writing -----

std::string Quote(std::wstring_view s) {
  std::wstring out;
  out.reserve(s.size() + 2);
  out += L'"';
  for (size_t i = 0; i < s.size(); ++i) {
    const wchar_t c = s[i];
    switch (c) {
      case L'"': out += L"\\\""; continue;
      case L'\\': out += L"\\\\"; continue;
      case L'\n': out += L"\\n"; continue;
      case L'\r': out += L"\\r"; continue;
      case L'\t': out += L"\\t"; continue;
      default: break;
    }
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      out += c;
      out += s[++i];
    } else if (c < 0x20 || c == 0x7F || high || low) {
      // Control characters and lone surrogates cannot stand in UTF-8 text as they are.
      wchar_t esc[8];
      wsprintfW(esc, L"\\u%04X", static_cast<unsigned>(c));
      out += esc;
    } else {
      out += c;
    }
  }
  out += L'"';
  return Utf8FromWide(out);
}

std::string FloatText(float f) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, f);  // the shortest text that reads back as f
  return std::string(buf, r.ptr);
}

std::string Int32Text(int32_t v) {
  char buf[16];
  if (v < 0)  // colours with the system bit read best in hexadecimal
    wsprintfA(buf, "0x%08lX", static_cast<unsigned long>(static_cast<uint32_t>(v)));
  else
    wsprintfA(buf, "%ld", static_cast<long>(v));
  return buf;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

void WriteValue(std::string& out, const BagValue& value, const std::string& indent) {
  if (auto p = std::get_if<int16_t>(&value)) {
    out += "int16(" + std::to_string(*p) + ")";
  } else if (auto p = std::get_if<int32_t>(&value)) {
    out += Int32Text(*p);
  } else if (auto p = std::get_if<bool>(&value)) {
    out += Bool(*p);
  } else if (auto p = std::get_if<std::wstring>(&value)) {
    out += Quote(*p);
  } else if (auto p = std::get_if<float>(&value)) {
    out += "single(" + FloatText(*p) + ")";
  } else if (auto p = std::get_if<FontRef>(&value)) {
    if (!*p) {
      out += "font(nothing)";
      return;
    }
    FontDesc d = (*p)->Describe();
    out += "font(" + Quote(d.name) + ", " + FloatText(d.size) + ", weight=" + std::to_string(d.weight) +
           ", italic=" + Bool(d.italic) + ", underline=" + Bool(d.underline) +
           ", strikethrough=" + Bool(d.strikethrough) + ", charset=" + std::to_string(d.charset) + ")";
  } else if (auto p = std::get_if<PictureRef>(&value)) {
    if (!*p) {
      out += "picture(nothing)";
      return;
    }
    const std::vector<uint8_t>& bytes = (*p)->Bytes();
    out += "picture(" + Utf8FromWide(KindWord((*p)->Kind())) + ", " + std::to_string(bytes.size()) + ")";
    std::string text = Base64(bytes);
    for (size_t i = 0; i < text.size(); i += kBase64LineLength)
      out += "\n" + indent + "  " + text.substr(i, kBase64LineLength);
    out += "\n" + indent + "EndPicture";
  }
}

void WriteEntry(std::string& out, const std::wstring& key, const BagValue& value, const std::string& indent) {
  if (!IsName(key)) throw std::invalid_argument("the key '" + Utf8FromWide(key) + "' cannot be stored: keys are letters, digits and '_'");
  out += indent + Utf8FromWide(key) + " = ";
  WriteValue(out, value, indent);
  out += "\n";
}

// ----- reading -----

struct ParseError {
  std::string message;
  std::wstring key;
};

[[noreturn]] void Throw(std::string message) { throw ParseError{std::move(message), {}}; }

std::wstring_view Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == L' ' || s[b] == L'\t' || s[b] == L'\r')) ++b;
  while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r')) --e;
  return s.substr(b, e - b);
}

// One value of an entry, read from the text after '='.
class Scanner {
 public:
  explicit Scanner(std::wstring_view s) : s_(s) {}
  void SkipSpace() {
    while (i_ < s_.size() && (s_[i_] == L' ' || s_[i_] == L'\t')) ++i_;
  }
  bool AtEnd() {
    SkipSpace();
    return i_ >= s_.size();
  }
  wchar_t Peek() {
    SkipSpace();
    return i_ < s_.size() ? s_[i_] : 0;
  }
  bool Eat(wchar_t c) {
    if (Peek() != c) return false;
    ++i_;
    return true;
  }
  void Expect(wchar_t c, const char* what) {
    if (!Eat(c)) Throw(std::string("expected ") + what + Near());
  }
  std::wstring_view Word() {
    SkipSpace();
    size_t b = i_;
    while (i_ < s_.size() && IsNameChar(s_[i_])) ++i_;
    return s_.substr(b, i_ - b);
  }
  // A run of characters up to a delimiter, for numbers.
  std::wstring_view Token() {
    SkipSpace();
    size_t b = i_;
    while (i_ < s_.size() && s_[i_] != L',' && s_[i_] != L')' && s_[i_] != L' ' && s_[i_] != L'\t') ++i_;
    return s_.substr(b, i_ - b);
  }
  std::wstring String() {
    SkipSpace();
    if (i_ >= s_.size() || s_[i_] != L'"') Throw("expected a string in double quotes" + Near());
    const size_t start = i_++;
    std::wstring out;
    while (true) {
      if (i_ >= s_.size()) {
        i_ = start;
        Throw("the string has no closing quote" + Near());
      }
      wchar_t c = s_[i_++];
      if (c == L'"') return out;
      if (c != L'\\') {
        out += c;
        continue;
      }
      if (i_ >= s_.size()) Throw("the string has no closing quote");
      wchar_t e = s_[i_++];
      switch (e) {
        case L'"': out += L'"'; break;
        case L'\\': out += L'\\'; break;
        case L'n': out += L'\n'; break;
        case L'r': out += L'\r'; break;
        case L't': out += L'\t'; break;
        case L'u': {
          unsigned v = 0;
          for (int k = 0; k < 4; ++k) {
            wchar_t h = i_ < s_.size() ? s_[i_] : 0;
            int d = h >= L'0' && h <= L'9' ? h - L'0' : h >= L'A' && h <= L'F' ? h - L'A' + 10
                                                     : h >= L'a' && h <= L'f' ? h - L'a' + 10 : -1;
            if (d < 0) Throw("\\u in a string needs four hexadecimal digits");
            v = v * 16 + d;
            ++i_;
          }
          out += static_cast<wchar_t>(v);
          break;
        }
        default:
          Throw(std::string("unknown escape \\") + Utf8FromWide(std::wstring(1, e)) +
                " in a string (use \\\" \\\\ \\n \\r \\t or \\uXXXX)");
      }
    }
  }
  std::string Near() {
    SkipSpace();
    if (i_ >= s_.size()) return " at the end of the line";
    return " at '" + Utf8FromWide(s_.substr(i_, 12)) + "'";
  }

 private:
  std::wstring_view s_;
  size_t i_ = 0;
};

int64_t ParseInteger(std::wstring_view t, int64_t lo, int64_t hi, const char* what) {
  std::string s = Utf8FromWide(t);
  if (s.empty()) Throw(std::string("expected ") + what);
  int64_t v = 0;
  std::from_chars_result r{};
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    uint64_t u = 0;
    r = std::from_chars(s.data() + 2, s.data() + s.size(), u, 16);
    // Hexadecimal gives the bits: 0x8000000F is the 32-bit value with the high bit set.
    const uint64_t bits = hi > 0xFFFF ? 0xFFFFFFFFull : 0xFFFFull;
    if (r.ec == std::errc() && u > bits) r.ec = std::errc::result_out_of_range;
    if (r.ec == std::errc()) v = hi > 0xFFFF ? int64_t(int32_t(uint32_t(u))) : int64_t(int16_t(uint16_t(u)));
  } else {
    r = std::from_chars(s.data() + (s[0] == '+'), s.data() + s.size(), v, 10);
    if (r.ec == std::errc() && (v < lo || v > hi)) r.ec = std::errc::result_out_of_range;
  }
  if (r.ec == std::errc::result_out_of_range) Throw("the number " + s + " is out of range for a " + what);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size()) Throw("'" + s + "' is not a " + what);
  return v;
}

float ParseFloat(std::wstring_view t) {
  std::string s = Utf8FromWide(t);
  float f = 0;
  auto r = std::from_chars(s.data() + (!s.empty() && s[0] == '+'), s.data() + s.size(), f);
  if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
    Throw("'" + s + "' is not a single-precision number");
  return f;
}

bool ParseBoolWord(std::wstring_view w, const char* what) {
  if (SameKey(w, L"true")) return true;
  if (SameKey(w, L"false")) return false;
  Throw(std::string(what) + " must be true or false, not '" + Utf8FromWide(w) + "'");
}

// Reads the base64 lines of a picture up to EndPicture.
using NextLine = std::function<std::optional<std::wstring>()>;

FontRef ParseFont(Scanner& sc) {
  if (sc.Peek() != L'"') {
    std::wstring_view w = sc.Word();
    if (SameKey(w, L"nothing")) {
      sc.Expect(L')', "')' after nothing");
      return nullptr;
    }
    Throw("a font is written font(\"name\", size, weight=..., italic=..., underline=..., strikethrough=..., charset=...)");
  }
  FontDesc d;
  d.name = sc.String();
  sc.Expect(L',', "',' and the font size");
  d.size = ParseFloat(sc.Token());
  bool seen[5] = {};
  while (sc.Eat(L',')) {
    std::wstring_view attr = sc.Word();
    sc.Expect(L'=', "'=' after the font attribute");
    int which = SameKey(attr, L"weight") ? 0 : SameKey(attr, L"italic") ? 1 : SameKey(attr, L"underline") ? 2
              : SameKey(attr, L"strikethrough") ? 3 : SameKey(attr, L"charset") ? 4 : -1;
    if (which < 0) Throw("unknown font attribute '" + Utf8FromWide(attr) + "'");
    if (seen[which]) Throw("the font attribute '" + Utf8FromWide(attr) + "' is given twice");
    seen[which] = true;
    switch (which) {
      case 0: d.weight = static_cast<short>(ParseInteger(sc.Token(), 0, 1000, "font weight (0 to 1000)")); break;
      case 1: d.italic = ParseBoolWord(sc.Word(), "italic"); break;
      case 2: d.underline = ParseBoolWord(sc.Word(), "underline"); break;
      case 3: d.strikethrough = ParseBoolWord(sc.Word(), "strikethrough"); break;
      case 4: d.charset = static_cast<short>(ParseInteger(sc.Token(), 0, 255, "character set (0 to 255)")); break;
    }
  }
  sc.Expect(L')', "')' to close the font");
  try {
    return Font::Create(d);
  } catch (const std::runtime_error& e) {
    Throw(e.what());
  }
}

PictureRef ParsePicture(Scanner& sc, const NextLine& next, int line) {
  std::wstring_view kind = sc.Word();
  if (SameKey(kind, L"nothing")) {
    sc.Expect(L')', "')' after nothing");
    return nullptr;
  }
  if (!SameKey(kind, L"bitmap") && !SameKey(kind, L"icon") && !SameKey(kind, L"cursor") &&
      !SameKey(kind, L"metafile"))
    Throw("a picture is written picture(bitmap|icon|cursor|metafile, length) followed by base64 lines and "
          "EndPicture, or picture(nothing)");
  sc.Expect(L',', "',' and the length in bytes");
  const int64_t length = ParseInteger(sc.Token(), 0, kLargestFile, "length in bytes");
  sc.Expect(L')', "')' to close the picture");
  if (!sc.AtEnd()) Throw("unexpected text after the value" + sc.Near());
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(length));
  uint32_t acc = 0;
  int bits = 0;
  bool padded = false;
  while (true) {
    std::optional<std::wstring> text = next();
    if (!text) Throw("the file ends inside the picture begun on line " + std::to_string(line) + " (EndPicture is missing)");
    std::wstring_view t = Trim(*text);
    if (SameKey(t, L"EndPicture")) break;
    for (wchar_t c : t) {
      if (c == L'=') {
        padded = true;
        continue;
      }
      int v = Base64Value(c);
      if (v < 0 || padded) Throw("the picture bytes are not valid base64");
      acc = (acc << 6) | v;
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        bytes.push_back(static_cast<uint8_t>(acc >> bits));
      }
    }
  }
  if (static_cast<int64_t>(bytes.size()) != length)
    Throw("the picture holds " + std::to_string(bytes.size()) + " bytes where " + std::to_string(length) +
          " were announced (truncated?)");
  try {
    return Picture::FromBytes(bytes);
  } catch (const std::runtime_error& e) {
    Throw(e.what());
  }
}

BagValue ParseValue(std::wstring_view text, const NextLine& next, int line) {
  Scanner sc(text);
  BagValue value;
  wchar_t c = sc.Peek();
  if (c == 0) Throw("the entry has no value after '='");
  if (c == L'"') {
    value = sc.String();
  } else if (c == L'-' || c == L'+' || (c >= L'0' && c <= L'9')) {
    std::wstring_view t = sc.Token();
    if (t.find_first_of(L".eE") != std::wstring_view::npos && !(t.size() > 2 && (t[1] == L'x' || t[1] == L'X')))
      Throw("'" + Utf8FromWide(t) + "' is not a 32-bit integer (write single(" + Utf8FromWide(t) + ") for a float)");
    value = static_cast<int32_t>(ParseInteger(t, INT32_MIN, INT32_MAX, "32-bit integer"));
  } else {
    std::wstring_view w = sc.Word();
    if (w.empty()) Throw("unrecognised value" + sc.Near());
    if (SameKey(w, L"true") || SameKey(w, L"false")) {
      value = SameKey(w, L"true");
    } else {
      sc.Expect(L'(', "a value: a \"string\", a number, true, false, int16(...), single(...), font(...) or picture(...)");
      if (SameKey(w, L"int16")) {
        value = static_cast<int16_t>(ParseInteger(sc.Token(), INT16_MIN, INT16_MAX, "16-bit integer"));
        sc.Expect(L')', "')'");
      } else if (SameKey(w, L"single")) {
        value = ParseFloat(sc.Token());
        sc.Expect(L')', "')'");
      } else if (SameKey(w, L"font")) {
        value = ParseFont(sc);
      } else if (SameKey(w, L"picture")) {
        return ParsePicture(sc, next, line);
      } else {
        Throw("unknown value type '" + Utf8FromWide(w) + "'");
      }
    }
  }
  if (!sc.AtEnd()) Throw("unexpected text after the value" + sc.Near());
  return value;
}

// ----- lines -----

struct Lines {
  std::string_view text;
  size_t pos = 0;
  int number = 0;
  // The next line as UTF-16, without its line break; nullopt at the end. Invalid UTF-8 throws.
  std::optional<std::wstring> Next() {
    if (pos >= text.size()) return std::nullopt;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (raw.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), nullptr, 0);
    if (n <= 0) throw ParseError{"the line is not valid UTF-8 text", {}};
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), out.data(), n);
    return out;
  }
};

bool IsComment(std::wstring_view t) { return t.empty() || t[0] == L'#'; }

// "Key = value": the key (with its '.' for extender keys) and the text of the value.
std::pair<std::wstring, std::wstring_view> SplitEntry(std::wstring_view line) {
  size_t eq = line.find(L'=');
  if (eq == std::wstring_view::npos) Throw("expected 'Key = value'");
  std::wstring key(Trim(line.substr(0, eq)));
  std::wstring_view bare = key;
  if (!bare.empty() && bare[0] == L'.') bare.remove_prefix(1);
  if (!IsName(bare)) Throw("'" + Utf8FromWide(key) + "' is not a key (letters, digits and '_')");
  return {key, line.substr(eq + 1)};
}

}  // namespace

int ControlDescription::LineOf(std::wstring_view key) const {
  for (const auto& [k, l] : keyLines)
    if (SameKey(k, key)) return l;
  return line;
}

std::string FormFileError::ToString() const {
  std::string s = Utf8FromWide(file);
  if (line > 0) s += ":" + std::to_string(line);
  s += ": ";
  if (!control.empty()) s += "control '" + Utf8FromWide(control) + "'" + (key.empty() ? ": " : ", ");
  if (!key.empty()) s += "key '" + Utf8FromWide(key) + "': ";
  return s + message;
}

std::string WriteFormText(const FormDescription& form) {
  std::string out = "TesselForm " + std::to_string(kFormFileVersion) + "\n\nForm\n";
  for (const auto& [k, v] : form.properties.Entries()) WriteEntry(out, k, v, "  ");
  out += "EndForm\n";
  for (const ControlDescription& c : form.controls) {
    if (!IsName(c.type)) throw std::invalid_argument("the control type '" + Utf8FromWide(c.type) + "' cannot be stored");
    if (!IsName(c.name))
      throw std::invalid_argument("the control name '" + Utf8FromWide(c.name) +
                                  "' cannot be stored: names are letters, digits and '_'");
    out += "\nControl " + Utf8FromWide(c.type) + " " + Utf8FromWide(c.name) + "\n";
    for (const ExtenderKey& k : kExtenderKeys) {
      out += "  ." + Utf8FromWide(k.name) + " = ";
      out += k.number ? std::to_string(c.extender.*(k.number)) : Bool(c.extender.*(k.flag));
      out += "\n";
    }
    for (const auto& [k, v] : c.bag.Entries()) WriteEntry(out, k, v, "  ");
    out += "EndControl\n";
  }
  return out;
}

ParsedForm ParseFormText(std::string_view utf8, const std::wstring& file) {
  ParsedForm result;
  auto report = [&](int line, const std::wstring& control, const std::wstring& key, const std::string& message) {
    result.errors.push_back(FormFileError{file, line, control, key, message});
  };
  if (utf8.size() >= 3 && std::memcmp(utf8.data(), "\xEF\xBB\xBF", 3) == 0) utf8.remove_prefix(3);
  Lines lines{utf8};
  NextLine next = [&lines]() { return lines.Next(); };

  // The header: the first line that is not blank or a comment.
  bool header = false;
  while (!header) {
    std::optional<std::wstring> text;
    try {
      text = lines.Next();
    } catch (const ParseError& e) {
      report(lines.number, {}, {}, e.message);
      result.readable = false;
      return result;
    }
    if (!text) break;
    std::wstring_view t = Trim(*text);
    if (IsComment(t)) continue;
    Scanner sc(t);
    std::wstring_view magic = sc.Word();
    std::wstring_view version = sc.Token();
    if (!SameKey(magic, L"TesselForm") || !sc.AtEnd()) break;
    int64_t v = 0;
    try {
      v = ParseInteger(version, 0, INT32_MAX, "format version");
    } catch (const ParseError& e) {
      report(lines.number, {}, {}, e.message);
      result.readable = false;
      return result;
    }
    if (v != kFormFileVersion) {
      report(lines.number, {}, {}, "the file is of format version " + std::to_string(v) + "; this program reads version " +
                                       std::to_string(kFormFileVersion));
      result.readable = false;
      return result;
    }
    header = true;
  }
  if (!header) {
    report(lines.number, {}, {}, "not a form file: it must begin with the line 'TesselForm " +
                                     std::to_string(kFormFileVersion) + "'");
    result.readable = false;
    return result;
  }

  enum class In { Top, Form, Control } in = In::Top;
  bool formSeen = false;
  int formLine = 0;
  ControlDescription current;
  bool currentFailed = false;
  std::vector<std::pair<std::wstring, int>> formKeys;
  std::vector<std::pair<std::wstring, int>> extenderKeys;

  auto failControl = [&](int line, const std::wstring& key, const std::string& message) {
    if (!currentFailed) report(line, current.name, key, message);
    currentFailed = true;
  };
  auto finishControl = [&]() {
    if (!currentFailed) {
      for (const ControlDescription& other : result.form.controls) {
        if (SameKey(other.name, current.name)) {
          report(current.line, current.name, {},
                 "a control named '" + Utf8FromWide(other.name) + "' is already on line " + std::to_string(other.line));
          currentFailed = true;
          break;
        }
      }
    }
    if (!currentFailed) result.form.controls.push_back(std::move(current));
    current = ControlDescription{};
    currentFailed = false;
    extenderKeys.clear();
    in = In::Top;
  };

  while (true) {
    std::optional<std::wstring> text;
    try {
      text = lines.Next();
    } catch (const ParseError& e) {
      if (in == In::Control) failControl(lines.number, {}, e.message);
      else report(lines.number, {}, {}, e.message);
      continue;
    }
    if (!text) break;
    const int line = lines.number;
    std::wstring_view t = Trim(*text);
    if (IsComment(t)) continue;
    Scanner sc(t);
    std::wstring_view first = sc.Word();

    if (SameKey(first, L"Control") && (sc.Peek() == 0 || sc.Peek() != L'=')) {
      if (in == In::Control) {
        failControl(current.line, {}, "the control has no EndControl before line " + std::to_string(line));
        finishControl();
      } else if (in == In::Form) {
        report(formLine, {}, {}, "the Form block has no EndForm before line " + std::to_string(line));
        in = In::Top;
      }
      current = ControlDescription{};
      currentFailed = false;
      current.line = line;
      current.type = sc.Word();
      current.name = sc.Word();
      current.extender.name = current.name;
      in = In::Control;
      if (current.type.empty() || current.name.empty() || !sc.AtEnd())
        failControl(line, {}, "expected 'Control <type> <name>'");
      continue;
    }
    if (SameKey(first, L"EndControl") && sc.AtEnd()) {
      if (in != In::Control) report(line, {}, {}, "EndControl without a Control");
      else finishControl();
      continue;
    }
    if (SameKey(first, L"Form") && sc.AtEnd() && in != In::Form) {
      if (in == In::Control) {
        failControl(current.line, {}, "the control has no EndControl before line " + std::to_string(line));
        finishControl();
      }
      if (formSeen) report(line, {}, {}, "a second Form block; the first one is on line " + std::to_string(formLine));
      formSeen = true;
      formLine = line;
      in = In::Form;
      continue;
    }
    if (SameKey(first, L"EndForm") && sc.AtEnd()) {
      if (in != In::Form) report(line, in == In::Control ? current.name : std::wstring(), {}, "EndForm without a Form");
      else in = In::Top;
      continue;
    }

    if (in == In::Top) {
      report(line, {}, {}, "expected 'Form' or 'Control <type> <name>'");
      continue;
    }
    if (in == In::Control && currentFailed) continue;  // the rest of a failed control is skipped

    std::wstring key;
    try {
      auto [k, valueText] = SplitEntry(t);
      key = k;
      if (in == In::Control && key[0] == L'.') {
        const ExtenderKey* ek = nullptr;
        for (const ExtenderKey& e : kExtenderKeys)
          if (SameKey(e.name, std::wstring_view(key).substr(1))) ek = &e;
        if (!ek) Throw("unknown extender key; they are .Left .Top .Width .Height .TabIndex .TabStop .Visible .Enabled");
        for (const auto& [seen, l] : extenderKeys)
          if (SameKey(seen, key)) Throw("the key is given twice (first on line " + std::to_string(l) + ")");
        extenderKeys.emplace_back(key, line);
        BagValue v = ParseValue(valueText, next, line);
        if (ek->number) {
          auto p = std::get_if<int32_t>(&v);
          if (!p) Throw(std::string("the value is a ") + BagTypeName(v) + " where a 32-bit integer was expected");
          current.extender.*(ek->number) = *p;
        } else {
          auto p = std::get_if<bool>(&v);
          if (!p) Throw(std::string("the value is a ") + BagTypeName(v) + " where a Boolean was expected");
          current.extender.*(ek->flag) = *p;
        }
        continue;
      }
      if (key[0] == L'.') Throw("extender keys ('.Left') belong to controls");
      auto& keyLines = in == In::Control ? current.keyLines : formKeys;
      for (const auto& [seen, l] : keyLines)
        if (SameKey(seen, key)) Throw("the key is given twice (first on line " + std::to_string(l) + ")");
      keyLines.emplace_back(key, line);
      BagValue v = ParseValue(valueText, next, line);
      (in == In::Control ? current.bag : result.form.properties).Write(key, std::move(v));
    } catch (const ParseError& e) {
      if (in == In::Control) failControl(line, key, e.message);
      else report(line, {}, key, e.message);
    }
  }
  if (in == In::Control) {
    failControl(current.line, {}, "the file ends inside the control (EndControl is missing)");
    finishControl();
  } else if (in == In::Form) {
    report(formLine, {}, {}, "the file ends inside the Form block (EndForm is missing)");
  }
  result.form.formKeyLines = std::move(formKeys);
  return result;
}

ParsedForm ReadFormFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  std::string text;
  std::string problem;
  if (f == INVALID_HANDLE_VALUE) {
    problem = "cannot open the file (error " + std::to_string(GetLastError()) + ")";
  } else {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f, &size)) {
      problem = "cannot read the file (error " + std::to_string(GetLastError()) + ")";
    } else if (size.QuadPart > kLargestFile) {
      problem = "the file is larger than 256 MB";
    } else {
      text.resize(static_cast<size_t>(size.QuadPart));
      DWORD read = 0;
      if (!text.empty() && (!ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &read, nullptr) ||
                            read != text.size()))
        problem = "cannot read the file (error " + std::to_string(GetLastError()) + ")";
    }
    CloseHandle(f);
  }
  if (!problem.empty()) {
    ParsedForm failed;
    failed.readable = false;
    failed.errors.push_back(FormFileError{path, 0, {}, {}, problem});
    return failed;
  }
  return ParseFormText(text, path);
}

void WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
  auto fail = [&](const std::string& what, DWORD error) {
    throw std::runtime_error("cannot save " + Utf8FromWide(path) + ": " + what + " (error " + std::to_string(error) + ")");
  };
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.resize(n + 1);
    n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (n == 0) fail("the path is not valid", GetLastError());
  full.resize(n);
  const size_t slash = full.find_last_of(L"\\/");
  const std::wstring dir = slash == std::wstring::npos ? L"." : full.substr(0, slash + 1);

  wchar_t temp[MAX_PATH + 16];
  if (!GetTempFileNameW(dir.c_str(), L"~tf", 0, temp)) fail("cannot create a temporary file beside it", GetLastError());
  HANDLE f = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    DeleteFileW(temp);
    fail("cannot open the temporary file", error);
  }
  size_t done = 0;
  DWORD error = 0;
  while (done < bytes.size() && !error) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!WriteFile(f, bytes.data() + done, chunk, &written, nullptr) || written == 0) error = GetLastError();
    done += written;
  }
  if (!error && !FlushFileBuffers(f)) error = GetLastError();
  CloseHandle(f);
  if (!error && !MoveFileExW(temp, full.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error) {
    DeleteFileW(temp);
    fail("writing or replacing the file failed; the old file is unchanged", error);
  }
}

void WriteFormFile(const std::wstring& path, const FormDescription& form) {
  WriteFileAtomically(path, WriteFormText(form));
}

}  // namespace tessel
