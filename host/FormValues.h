#pragma once
// The value grammar of form files: how each typed bag value is written as text and read back.
//
//   -42  0x8000000F  int16(3)  single(1.5)  true  "text\n"
//   font("Arial", 9, weight=700, italic=false, underline=false, strikethrough=false, charset=0)
//   picture(bitmap, 1234) + base64 lines + EndPicture      picture(nothing)  font(nothing)
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/contract/PropertyBag.h"

namespace tessel {

// A value or a line that cannot be read; the reader adds the file, line, control and key.
struct ValueError {
  std::string message;
};
[[noreturn]] void ThrowValueError(std::string message);

// Keys, control names and types: letters, digits and '_'.
bool IsNameChar(wchar_t c);
bool IsName(std::wstring_view s);
std::wstring_view Trim(std::wstring_view s);

std::string BoolText(bool b);
// Appends the text of value; a picture's base64 lines and its EndPicture are indented by indent.
void AppendValueText(std::string& out, const BagValue& value, const std::string& indent);

// At most about 80 characters of text, for messages that quote what the file holds.
std::string Excerpt(std::wstring_view text);

// Form text line by line, as UTF-16 without line breaks. The last line read can be handed back
// once, so that the block it begins is read by the routine for that block.
class FormLines {
 public:
  explicit FormLines(std::string_view utf8) : text_(utf8) {}
  // The next line, or nullopt at the end of the text; a line that is not UTF-8 throws ValueError.
  std::optional<std::wstring> Next();
  void PutBack(std::wstring line) { back_ = std::move(line); }
  int Number() const { return number_; }  // of the line read last

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
  std::optional<std::wstring> back_;
};

// What a trimmed line is, by its first word.
enum class LineKind { Entry, Form, EndForm, Control, EndControl };
LineKind KindOfLine(std::wstring_view t);
// "Key = value" (not a line of base64, which may end in '=').
bool LooksLikeEntry(std::wstring_view t);

// Reads the value written after '=' on line (its number, for messages); a picture's base64 lines
// follow in lines. A line of the form's own ends a picture that lacks its EndPicture; it is handed
// back to lines.
BagValue ParseValue(std::wstring_view text, FormLines& lines, int line);

// Where a number stands: its range, its name in messages, and for values of a given width
// (32 or 16 bits) that hexadecimal gives their bits, so that 0x8000000F is a negative 32-bit value.
struct NumberPlace {
  int64_t lo, hi;
  const char* what;
  int hexBits = 0;
};
// A decimal or hexadecimal integer checked against the range of its place.
int64_t ParseInteger(std::wstring_view t, const NumberPlace& place);

// Reads the pieces of one line: words, tokens, strings and punctuation, with blanks skipped.
class Scanner {
 public:
  explicit Scanner(std::wstring_view s) : s_(s) {}
  void SkipSpace();
  bool AtEnd();
  wchar_t Peek();
  bool Eat(wchar_t c);
  void Expect(wchar_t c, const char* what);
  std::wstring_view Word();
  std::wstring_view Token();  // a run of characters up to a delimiter, for numbers
  std::wstring String();
  std::string Near();         // where the scanner stands, for messages

 private:
  std::wstring_view s_;
  size_t i_ = 0;
};

}  // namespace tessel
