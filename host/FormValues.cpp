#include "host/FormValues.h"

#include <windows.h>

#include <charconv>
#include <climits>

#include "host/Base64.h"

namespace tessel {
namespace {

constexpr size_t kBase64LineLength = 76;
constexpr NumberPlace kInt32{INT32_MIN, INT32_MAX, "32-bit integer", 32};
constexpr NumberPlace kInt16{INT16_MIN, INT16_MAX, "16-bit integer", 16};
constexpr NumberPlace kFontWeight{0, 1000, "font weight (0 to 1000)"};
constexpr NumberPlace kCharset{0, 255, "character set (0 to 255)"};
constexpr NumberPlace kPictureLength{0, int64_t(1) << 28, "length in bytes"};
constexpr float kLargestFontSize = 2048;

[[noreturn]] void Throw(std::string message) { throw ValueError{std::move(message)}; }

const wchar_t* KindWord(PictureKind kind) {
  switch (kind) {
    case PictureKind::Bitmap: return L"bitmap";
    case PictureKind::Icon: return L"icon";
    case PictureKind::Cursor: return L"cursor";
    case PictureKind::Metafile: return L"metafile";
  }
  return L"bitmap";
}

}  // namespace

[[noreturn]] void ThrowValueError(std::string message) { Throw(std::move(message)); }

bool IsNameChar(wchar_t c) { return c == L'_' || ((c < 0xD800 || c > 0xDFFF) && IsCharAlphaNumericW(c)); }

bool IsName(std::wstring_view s) {
  if (s.empty()) return false;
  for (wchar_t c : s)
    if (!IsNameChar(c)) return false;
  return true;
}

std::wstring_view Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == L' ' || s[b] == L'\t' || s[b] == L'\r')) ++b;
  while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t' || s[e - 1] == L'\r')) --e;
  return s.substr(b, e - b);
}

// ----- writing -----

namespace {

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

}  // namespace

std::string BoolText(bool b) { return b ? "true" : "false"; }

void AppendValueText(std::string& out, const BagValue& value, const std::string& indent) {
  if (auto p = std::get_if<int16_t>(&value)) {
    out += "int16(" + std::to_string(*p) + ")";
  } else if (auto p = std::get_if<int32_t>(&value)) {
    out += Int32Text(*p);
  } else if (auto p = std::get_if<bool>(&value)) {
    out += BoolText(*p);
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
           ", italic=" + BoolText(d.italic) + ", underline=" + BoolText(d.underline) +
           ", strikethrough=" + BoolText(d.strikethrough) + ", charset=" + std::to_string(d.charset) + ")";
  } else if (auto p = std::get_if<PictureRef>(&value)) {
    if (!*p) {
      out += "picture(nothing)";
      return;
    }
    const std::vector<uint8_t>& bytes = (*p)->Bytes();
    out += "picture(" + Utf8FromWide(KindWord((*p)->Kind())) + ", " + std::to_string(bytes.size()) + ")";
    std::string text = Base64Encode(bytes);
    for (size_t i = 0; i < text.size(); i += kBase64LineLength)
      out += "\n" + indent + "  " + text.substr(i, kBase64LineLength);
    out += "\n" + indent + "EndPicture";
  }
}

// ----- reading -----

std::optional<std::wstring> FormLines::Next() {
  if (back_) {
    std::optional<std::wstring> line = std::move(back_);
    back_.reset();
    return line;  // its number is still the current one
  }
  if (pos_ >= text_.size()) return std::nullopt;
  size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  std::string_view raw = text_.substr(pos_, end - pos_);
  pos_ = end + 1;
  ++number_;
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  if (raw.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), nullptr, 0);
  if (n <= 0) Throw("the line is not valid UTF-8 text");
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), out.data(), n);
  return out;
}

LineKind KindOfLine(std::wstring_view t) {
  Scanner sc(t);
  std::wstring_view first = sc.Word();
  if (SameKey(first, L"Control") && sc.Peek() != L'=') return LineKind::Control;
  if (SameKey(first, L"EndControl") && sc.AtEnd()) return LineKind::EndControl;
  if (SameKey(first, L"Form") && sc.AtEnd()) return LineKind::Form;
  if (SameKey(first, L"EndForm") && sc.AtEnd()) return LineKind::EndForm;
  return LineKind::Entry;
}

bool LooksLikeEntry(std::wstring_view t) {
  const size_t eq = t.find(L'=');
  if (eq == std::wstring_view::npos) return false;
  std::wstring_view key = t.substr(0, eq);
  const bool spaced = !key.empty() && (key.back() == L' ' || key.back() == L'\t');
  key = Trim(key);
  if (!key.empty() && key[0] == L'.') key.remove_prefix(1);
  // Base64 ends in at most two '=' and holds no blanks; an entry has a value after its '='.
  return IsName(key) && (spaced || t.find_first_not_of(L'=', eq) != std::wstring_view::npos);
}

void Scanner::SkipSpace() {
  while (i_ < s_.size() && (s_[i_] == L' ' || s_[i_] == L'\t')) ++i_;
}

bool Scanner::AtEnd() {
  SkipSpace();
  return i_ >= s_.size();
}

wchar_t Scanner::Peek() {
  SkipSpace();
  return i_ < s_.size() ? s_[i_] : 0;
}

bool Scanner::Eat(wchar_t c) {
  if (Peek() != c) return false;
  ++i_;
  return true;
}

void Scanner::Expect(wchar_t c, const char* what) {
  if (!Eat(c)) Throw(std::string("expected ") + what + Near());
}

std::wstring_view Scanner::Word() {
  SkipSpace();
  size_t b = i_;
  while (i_ < s_.size() && IsNameChar(s_[i_])) ++i_;
  return s_.substr(b, i_ - b);
}

std::wstring_view Scanner::Token() {
  SkipSpace();
  size_t b = i_;
  while (i_ < s_.size() && s_[i_] != L',' && s_[i_] != L')' && s_[i_] != L' ' && s_[i_] != L'\t') ++i_;
  return s_.substr(b, i_ - b);
}

std::wstring Scanner::String() {
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

std::string Scanner::Near() {
  SkipSpace();
  if (i_ >= s_.size()) return " at the end of the line";
  return " at '" + Utf8FromWide(s_.substr(i_, 12)) + "'";
}

std::string Excerpt(std::wstring_view text) {
  constexpr size_t kLongest = 80;
  if (text.size() <= kLongest) return Utf8FromWide(text);
  size_t cut = kLongest;
  if (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) --cut;  // never half a surrogate pair
  return Utf8FromWide(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " characters)";
}

namespace {

// 'text' as a message quotes it, appended piece by piece: GCC 12 takes "'" + a string made in place
// for an overlapping copy (-Wrestrict).
std::string Quoted(std::wstring_view text) {
  std::string quoted(1, '\'');
  quoted += Excerpt(text);
  quoted += '\'';
  return quoted;
}

}  // namespace

int64_t ParseInteger(std::wstring_view t, const NumberPlace& place) {
  if (t.empty()) Throw(std::string("expected ") + place.what);
  if (t.size() > 64) {  // longer than any number that fits: a run of digits is out of range
    std::wstring_view digits = t;
    const bool hex = digits.size() > 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X');
    if (hex) digits.remove_prefix(2);
    else if (digits[0] == L'+' || digits[0] == L'-') digits.remove_prefix(1);
    for (wchar_t c : digits)
      if (!(c >= L'0' && c <= L'9') && !(hex && ((c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'))))
        Throw(Quoted(t) + " is not a " + place.what);
    Throw("the number " + Excerpt(t) + " is out of range for a " + place.what);
  }
  const std::string s = Utf8FromWide(t);
  bool outOfRange = false;
  int64_t v = 0;
  std::from_chars_result r{};
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    uint64_t u = 0;
    r = std::from_chars(s.data() + 2, s.data() + s.size(), u, 16);
    if (r.ec == std::errc::result_out_of_range) outOfRange = true;
    // Where a value of a given width stands, hexadecimal gives its bits: 0x8000000F is the
    // 32-bit value with the high bit set. Elsewhere it is a plain number.
    if (place.hexBits && u >> place.hexBits == 0) {
      const int shift = 64 - place.hexBits;
      v = static_cast<int64_t>(u << shift) >> shift;
    } else if (u > static_cast<uint64_t>(INT64_MAX)) {
      outOfRange = true;
    } else {
      v = static_cast<int64_t>(u);
    }
  } else {
    const bool plus = s[0] == '+' && (s.size() < 2 || s[1] != '-');  // "+5", never "+-5"
    r = std::from_chars(s.data() + plus, s.data() + s.size(), v, 10);
    if (r.ec == std::errc::result_out_of_range) outOfRange = true;
  }
  const bool whole = r.ptr == s.data() + s.size();
  if ((r.ec != std::errc() && !outOfRange) || !whole) Throw("'" + Excerpt(t) + "' is not a " + place.what);
  if (outOfRange || v < place.lo || v > place.hi)
    Throw("the number " + Excerpt(t) + " is out of range for a " + place.what);
  return v;
}

namespace {

float ParseFloat(std::wstring_view t) {
  std::string s = Utf8FromWide(t);
  float f = 0;
  const bool plus = !s.empty() && s[0] == '+' && (s.size() < 2 || s[1] != '-');
  auto r = std::from_chars(s.data() + plus, s.data() + s.size(), f);
  if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size())
    Throw(Quoted(t) + " is not a single-precision number");
  return f;
}

bool ParseBoolWord(std::wstring_view w, const char* what) {
  if (SameKey(w, L"true")) return true;
  if (SameKey(w, L"false")) return false;
  Throw(std::string(what) + " must be true or false, not '" + Excerpt(w) + "'");
}

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
  if (!(d.size > 0 && d.size <= kLargestFontSize))
    Throw("the font size " + FloatText(d.size) + " is out of range (more than 0, at most " +
          FloatText(kLargestFontSize) + ")");
  bool seen[5] = {};
  while (sc.Eat(L',')) {
    std::wstring_view attr = sc.Word();
    sc.Expect(L'=', "'=' after the font attribute");
    int which = SameKey(attr, L"weight") ? 0 : SameKey(attr, L"italic") ? 1 : SameKey(attr, L"underline") ? 2
              : SameKey(attr, L"strikethrough") ? 3 : SameKey(attr, L"charset") ? 4 : -1;
    if (which < 0) Throw("unknown font attribute '" + Excerpt(attr) + "'");
    if (seen[which]) Throw("the font attribute '" + Utf8FromWide(attr) + "' is given twice");
    seen[which] = true;
    switch (which) {
      case 0: d.weight = static_cast<short>(ParseInteger(sc.Token(), kFontWeight)); break;
      case 1: d.italic = ParseBoolWord(sc.Word(), "italic"); break;
      case 2: d.underline = ParseBoolWord(sc.Word(), "underline"); break;
      case 3: d.strikethrough = ParseBoolWord(sc.Word(), "strikethrough"); break;
      case 4: d.charset = static_cast<short>(ParseInteger(sc.Token(), kCharset)); break;
    }
  }
  sc.Expect(L')', "')' to close the font");
  try {
    return Font::Create(d);
  } catch (const std::runtime_error& e) {
    Throw(e.what());
  }
}

PictureRef ParsePicture(Scanner& sc, FormLines& lines, int line) {
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
  const int64_t length = ParseInteger(sc.Token(), kPictureLength);
  sc.Expect(L')', "')' to close the picture");
  if (!sc.AtEnd()) Throw("unexpected text after the value" + sc.Near());
  std::vector<uint8_t> bytes;
  Base64Decoder decoder(bytes);
  while (true) {
    std::optional<std::wstring> text = lines.Next();
    if (!text) Throw("the file ends inside the picture begun on line " + std::to_string(line) + " (EndPicture is missing)");
    std::wstring_view t = Trim(*text);
    if (SameKey(t, L"EndPicture")) break;
    if (KindOfLine(t) != LineKind::Entry || LooksLikeEntry(t)) {
      // A line of the form's own ends the picture, so that the block it begins is read.
      const int at = lines.Number();
      lines.PutBack(std::move(*text));
      Throw("the picture has no EndPicture before line " + std::to_string(at));
    }
    if (!decoder.Feed(t)) Throw("the picture bytes are not valid base64");
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

}  // namespace

BagValue ParseValue(std::wstring_view text, FormLines& lines, int line) {
  Scanner sc(text);
  BagValue value;
  wchar_t c = sc.Peek();
  if (c == 0) Throw("the entry has no value after '='");
  if (c == L'"') {
    value = sc.String();
  } else if (c == L'-' || c == L'+' || (c >= L'0' && c <= L'9')) {
    std::wstring_view t = sc.Token();
    if (t.find_first_of(L".eE") != std::wstring_view::npos && !(t.size() > 2 && (t[1] == L'x' || t[1] == L'X')))
      Throw("'" + Excerpt(t) + "' is not a 32-bit integer (write single(" + Excerpt(t) + ") for a float)");
    value = static_cast<int32_t>(ParseInteger(t, kInt32));
  } else {
    std::wstring_view w = sc.Word();
    if (w.empty()) Throw("unrecognised value" + sc.Near());
    if (SameKey(w, L"true") || SameKey(w, L"false")) {
      value = SameKey(w, L"true");
    } else {
      sc.Expect(L'(', "a value: a \"string\", a number, true, false, int16(...), single(...), font(...) or picture(...)");
      if (SameKey(w, L"int16")) {
        value = static_cast<int16_t>(ParseInteger(sc.Token(), kInt16));
        sc.Expect(L')', "')'");
      } else if (SameKey(w, L"single")) {
        value = ParseFloat(sc.Token());
        sc.Expect(L')', "')'");
      } else if (SameKey(w, L"font")) {
        value = ParseFont(sc);
      } else if (SameKey(w, L"picture")) {
        return ParsePicture(sc, lines, line);
      } else {
        Throw("unknown value type '" + Excerpt(w) + "'");
      }
    }
  }
  if (!sc.AtEnd()) Throw("unexpected text after the value" + sc.Near());
  return value;
}

}  // namespace tessel
