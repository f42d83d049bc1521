// Reading form text: the header, the Form block and one block per control, each by a routine of
// its own; every problem is collected with its file, line, control and key, and reading goes on.
#include <windows.h>

#include <cstring>
#include <optional>

#include "host/FormExtenderKeys.h"
#include "host/FormFile.h"
#include "host/FormValues.h"

namespace tessel {
namespace {

constexpr NumberPlace kFormatVersion{0, INT32_MAX, "format version"};

bool IsComment(std::wstring_view t) { return t.empty() || t[0] == L'#'; }

// "Key = value": the key (with its '.' for extender keys) and the text of the value.
std::pair<std::wstring, std::wstring_view> SplitEntry(std::wstring_view line) {
  size_t eq = line.find(L'=');
  if (eq == std::wstring_view::npos) ThrowValueError("expected 'Key = value'");
  std::wstring key(Trim(line.substr(0, eq)));
  std::wstring_view bare = key;
  if (!bare.empty() && bare[0] == L'.') bare.remove_prefix(1);
  if (!IsName(bare)) ThrowValueError("'" + Excerpt(key) + "' is not a key (letters, digits and '_')");
  return {key, line.substr(eq + 1)};
}

using KeyLines = std::vector<std::pair<std::wstring, int>>;

void NoteKey(KeyLines& seen, const std::wstring& key, int line) {
  for (const auto& [k, l] : seen)
    if (SameKey(k, key)) ThrowValueError("the key is given twice (first on line " + std::to_string(l) + ")");
  seen.emplace_back(key, line);
}

class FormReader {
 public:
  FormReader(std::string_view utf8, const std::wstring& file) : lines_(utf8), file_(file) {}

  ParsedForm Read() {
    try {
      ReadBlocks();
    } catch (const std::exception& e) {
      // Nothing is expected here; the form is read as far as it went.
      Report(lines_.Number(), {}, {}, std::string("reading stopped: ") + e.what());
    }
    result_.form.formKeyLines = std::move(formKeys_);
    return std::move(result_);
  }

 private:
  void ReadBlocks() {
    if (!ReadHeader()) {
      result_.readable = false;
      return;
    }
    while (std::optional<std::wstring> text = Fetch(nullptr)) {
      const int line = lines_.Number();
      std::wstring_view t = Trim(*text);
      if (IsComment(t)) continue;
      switch (KindOfLine(t)) {
        case LineKind::Form: ReadFormBlock(line); break;
        case LineKind::Control: ReadControlBlock(t, line); break;
        case LineKind::EndForm: Report(line, {}, {}, "EndForm without a Form"); break;
        case LineKind::EndControl: Report(line, {}, {}, "EndControl without a Control"); break;
        case LineKind::Entry: Report(line, {}, {}, "expected 'Form' or 'Control <type> <name>'"); break;
      }
    }
  }

  void Report(int line, const std::wstring& control, const std::wstring& key, const std::string& message) {
    result_.errors.push_back(FormFileError{file_, line, control, key, message});
  }

  // The next line; a line that cannot be decoded is reported (as a fault of control, when one is
  // being read) and skipped.
  std::optional<std::wstring> Fetch(ControlDescription* control) {
    while (true) {
      try {
        return lines_.Next();
      } catch (const ValueError& e) {
        if (control) FailControl(lines_.Number(), {}, e.message);
        else Report(lines_.Number(), {}, {}, e.message);
      }
    }
  }

  // The first line that is not blank or a comment must be "TesselForm <version>".
  bool ReadHeader() {
    while (true) {
      std::optional<std::wstring> text;
      try {
        text = lines_.Next();
      } catch (const ValueError& e) {
        Report(lines_.Number(), {}, {}, e.message);
        return false;
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
        v = ParseInteger(version, kFormatVersion);
      } catch (const ValueError& e) {
        Report(lines_.Number(), {}, {}, e.message);
        return false;
      }
      if (v != kFormFileVersion) {
        Report(lines_.Number(), {}, {},
               "the file is of format version " + std::to_string(v) + "; this program reads version " +
                   std::to_string(kFormFileVersion));
        return false;
      }
      return true;
    }
    Report(lines_.Number(), {}, {},
           "not a form file: it must begin with the line 'TesselForm " + std::to_string(kFormFileVersion) + "'");
    return false;
  }

  void ReadFormBlock(int formLine) {
    if (formSeen_) Report(formLine, {}, {}, "a second Form block; the first one is on line " + std::to_string(formLine_));
    formSeen_ = true;
    formLine_ = formLine;
    while (std::optional<std::wstring> text = Fetch(nullptr)) {
      const int line = lines_.Number();
      std::wstring_view t = Trim(*text);
      if (IsComment(t)) continue;
      switch (KindOfLine(t)) {
        case LineKind::EndForm: return;
        case LineKind::Control:
          Report(formLine, {}, {}, "the Form block has no EndForm before line " + std::to_string(line));
          lines_.PutBack(std::move(*text));
          return;
        case LineKind::EndControl: Report(line, {}, {}, "EndControl without a Control"); continue;
        case LineKind::Form:
        case LineKind::Entry: break;
      }
      std::wstring key;
      try {
        auto [k, valueText] = SplitEntry(t);
        key = k;
        if (key[0] == L'.') ThrowValueError("extender keys ('.Left') belong to controls");
        NoteKey(formKeys_, key, line);
        result_.form.properties.Write(key, ParseValue(valueText, lines_, line));
      } catch (const ValueError& e) {
        Report(line, {}, key, e.message);
      } catch (const std::exception& e) {
        Report(line, {}, key, std::string("the value cannot be read: ") + e.what());
      }
    }
    Report(formLine, {}, {}, "the file ends inside the Form block (EndForm is missing)");
  }

  void ReadControlBlock(std::wstring_view header, int controlLine) {
    current_ = ControlDescription{};
    currentFailed_ = false;
    Scanner sc(header);
    sc.Word();
    current_.line = controlLine;
    current_.type = sc.Word();
    current_.name = sc.Word();
    current_.extender.name = current_.name;
    if (current_.type.empty() || current_.name.empty() || !sc.AtEnd())
      FailControl(controlLine, {}, "expected 'Control <type> <name>'");
    while (std::optional<std::wstring> text = Fetch(&current_)) {
      const int line = lines_.Number();
      std::wstring_view t = Trim(*text);
      if (IsComment(t)) continue;
      switch (KindOfLine(t)) {
        case LineKind::EndControl: FinishControl(); return;
        case LineKind::Control:
        case LineKind::Form:
          FailControl(controlLine, {}, "the control has no EndControl before line " + std::to_string(line));
          FinishControl();
          lines_.PutBack(std::move(*text));
          return;
        case LineKind::EndForm: Report(line, current_.name, {}, "EndForm without a Form"); continue;
        case LineKind::Entry: break;
      }
      if (!currentFailed_) ReadControlEntry(t, line);  // the rest of a failed control is skipped
    }
    FailControl(controlLine, {}, "the file ends inside the control (EndControl is missing)");
    FinishControl();
  }

  void ReadControlEntry(std::wstring_view t, int line) {
    std::wstring key;
    try {
      auto [k, valueText] = SplitEntry(t);
      key = k;
      if (key[0] == L'.') {
        const std::wstring_view bare = std::wstring_view(key).substr(1);
        const ExtenderKey* ek = FindExtenderKey(bare);
        const bool named = !ek && SameKey(bare, kAccessibleNameKey);
        if (!ek && !named && !SameKey(bare, kContainerKey))
          ThrowValueError(
              "unknown extender key; they are .Left .Top .Width .Height .TabIndex .TabStop .Visible .Enabled .Container "
              ".AccessibleName");
        NoteKey(current_.extenderLines, key, line);
        BagValue v = ParseValue(valueText, lines_, line);
        if (named) {
          auto p = std::get_if<std::wstring>(&v);
          if (!p) ThrowValueError(std::string("the value is a ") + BagTypeName(v) + " where a string was expected");
          current_.extender.accessibleName = *p;
          return;
        }
        if (!ek) {
          auto p = std::get_if<std::wstring>(&v);
          if (!p || !IsName(*p)) ThrowValueError("the container is the name of a control placed before this one, as a string");
          current_.extender.container = *p;
          return;
        }
        if (ek->number) {
          auto p = std::get_if<int32_t>(&v);
          if (!p) ThrowValueError(std::string("the value is a ") + BagTypeName(v) + " where a 32-bit integer was expected");
          if (ek->notNegative && *p < 0)
            ThrowValueError("the number " + std::to_string(*p) + " is out of range for ." + Utf8FromWide(ek->name) +
                            " (0 or more)");
          current_.extender.*(ek->number) = *p;
        } else {
          auto p = std::get_if<bool>(&v);
          if (!p) ThrowValueError(std::string("the value is a ") + BagTypeName(v) + " where a Boolean was expected");
          current_.extender.*(ek->flag) = *p;
        }
        return;
      }
      NoteKey(current_.keyLines, key, line);
      current_.bag.Write(key, ParseValue(valueText, lines_, line));
    } catch (const ValueError& e) {
      FailControl(line, key, e.message);
    } catch (const std::exception& e) {
      FailControl(line, key, std::string("the value cannot be read: ") + e.what());
    }
  }

  void FailControl(int line, const std::wstring& key, const std::string& message) {
    if (!currentFailed_) Report(line, current_.name, key, message);
    currentFailed_ = true;
  }

  void FinishControl() {
    if (!currentFailed_) {
      for (const ControlDescription& other : result_.form.controls) {
        if (SameKey(other.name, current_.name)) {
          Report(current_.line, current_.name, {},
                 "a control named '" + Excerpt(other.name) + "' is already on line " + std::to_string(other.line));
          currentFailed_ = true;
          break;
        }
      }
    }
    if (!currentFailed_) result_.form.controls.push_back(std::move(current_));
    current_ = ControlDescription{};
    currentFailed_ = false;
  }

  FormLines lines_;
  const std::wstring& file_;
  ParsedForm result_;
  bool formSeen_ = false;
  int formLine_ = 0;
  KeyLines formKeys_;
  ControlDescription current_;
  bool currentFailed_ = false;
};

}  // namespace

int ControlDescription::LineOf(std::wstring_view key) const {
  for (const auto& [k, l] : keyLines)
    if (SameKey(k, key)) return l;
  return line;
}

std::string FormFileError::ToString() const {
  std::string s = Utf8FromWide(file);
  if (line > 0) (s += ':') += std::to_string(line);
  s += ": ";
  if (!control.empty()) s += "control '" + Excerpt(control) + "'" + (key.empty() ? ": " : ", ");
  if (!key.empty()) s += "key '" + Excerpt(key) + "': ";
  return s + message;
}

ParsedForm ParseFormText(std::string_view utf8, const std::wstring& file) {
  if (utf8.size() >= 3 && std::memcmp(utf8.data(), "\xEF\xBB\xBF", 3) == 0) utf8.remove_prefix(3);
  if (utf8.size() >= 2 && (std::memcmp(utf8.data(), "\xFF\xFE", 2) == 0 || std::memcmp(utf8.data(), "\xFE\xFF", 2) == 0)) {
    // Read as UTF-8 it would be refused line by line; saved back it would not be the same bytes.
    ParsedForm refused;
    refused.readable = false;
    refused.errors.push_back(FormFileError{file, 1, {}, {},
                                           "the file is UTF-16 text (it begins with a UTF-16 byte-order mark); "
                                           "form files are UTF-8: save it as UTF-8 and open it again"});
    return refused;
  }
  return FormReader(utf8, file).Read();
}

}  // namespace tessel
