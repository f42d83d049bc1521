#pragma once
// Form files: a form's own properties and every control's extender values and property bag, as
// human-readable UTF-8 text in which every value carries its type, so that loading and saving
// again gives the same bytes. The format is described in README.md ("Form files").
//
//   text  --ParseFormText-->  FormDescription (+ errors)  --WriteFormText-->  text
//
// LoadForm and SaveForm join this to a Form: loading places each described control through
// AddLoaded, saving describes the form through Form::Save.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/FormDisplay.h"
#include "server/contract/PropertyBag.h"
#include "server/contract/UserControl.h"

namespace tessel {

class Form;
class ControlTypes;

constexpr int kFormFileVersion = 1;

struct ControlDescription {
  std::wstring type;
  std::wstring name;
  int line = 0;  // the line of its "Control" line; 0 for a control that was not read from text
  ExtenderProperties extender;
  PropertyBag bag;
  std::vector<std::pair<std::wstring, int>> keyLines;       // the line of each bag entry
  std::vector<std::pair<std::wstring, int>> extenderLines;  // of each extender entry (".Left")

  int LineOf(std::wstring_view key) const;  // the entry's line, or the control's own line
};

struct FormDescription {
  // Caption (string), Width and Height (32-bit, twips of the client area), BackColor and
  // ForeColor (32-bit OLE colours), Font (font).
  PropertyBag properties;
  std::vector<std::pair<std::wstring, int>> formKeyLines;  // the line of each form property
  std::vector<ControlDescription> controls;
};

struct FormFileError {
  std::wstring file;
  int line = 0;          // 0 when the error is not tied to a line
  std::wstring control;  // empty when not inside a control
  std::wstring key;      // empty when not about one entry
  std::string message;   // UTF-8

  // "orders.tform:12: control 'txtName', key 'Font': the font needs a size"
  std::string ToString() const;
};

struct ParsedForm {
  FormDescription form;
  std::vector<FormFileError> errors;
  bool readable = true;  // false when the text is not a form file at all (no usable header)
};

// Reads form text; file is only used to name errors. A control with an error in its block is
// left out of the description and reported; the others are kept.
ParsedForm ParseFormText(std::string_view utf8, const std::wstring& file);
// The text of a description. Throws std::invalid_argument for what the format cannot hold (a
// control name with spaces, an empty key).
std::string WriteFormText(const FormDescription& form);

// Reads a whole file; a file that cannot be read gives one error and readable false.
ParsedForm ReadFormFile(const std::wstring& path);
// Writes beside the target under a temporary name, flushes, and then replaces the target in one
// step; on any failure the old file is left as it was, the temporary file is removed and
// std::runtime_error says what failed.
void WriteFileAtomically(const std::wstring& path, std::string_view bytes);
void WriteFormFile(const std::wstring& path, const FormDescription& form);

// The form and its controls as a description (every control's WriteProperties runs).
FormDescription DescribeForm(Form& form);
// Applies the file's form properties to form and places every control it describes. Returns every
// problem found: in the text, and controls that failed to load (unknown type, duplicate name, a
// value refused by the control), each with the file, line, control and key.
std::vector<FormFileError> LoadForm(const std::wstring& path, Form& form);
std::vector<FormFileError> LoadForm(const ParsedForm& parsed, const std::wstring& path, Form& form);
// A new form made from the file's caption and size, with its controls placed. Returns nullptr
// when the file is not a form file at all or the form cannot be made; errors receives every
// problem either way. Controls follow the stored tab order once all are placed; a key that a
// control did not read is a problem. A shown form paints once, when every control is placed; a
// hidden one never paints.
std::unique_ptr<Form> OpenForm(const std::wstring& path, bool userMode, std::vector<FormFileError>& errors,
                               const ControlTypes* types = nullptr, FormDisplay display = FormDisplay::Shown);
// The same from form text already read; path names the errors.
std::unique_ptr<Form> OpenForm(const ParsedForm& parsed, const std::wstring& path, bool userMode,
                               std::vector<FormFileError>& errors, const ControlTypes* types = nullptr,
                               FormDisplay display = FormDisplay::Shown);
// Saves atomically; throws ControlError when a control fails to save, std::runtime_error when the
// file cannot be written. The old file is intact after any failure.
void SaveForm(Form& form, const std::wstring& path);

}  // namespace tessel
