// Joins the form file format to the form: describing a live form, and placing described controls.
#include <windows.h>

#include <algorithm>
#include <optional>

#include "host/Form.h"
#include "host/FormFile.h"
#include "server/contract/Twips.h"

namespace tessel {

namespace {

constexpr int kDefaultWidth = 4800;  // twips of a form without a size
constexpr int kDefaultHeight = 3600;

int LineOf(const std::vector<std::pair<std::wstring, int>>& lines, std::wstring_view key) {
  for (const auto& [k, l] : lines)
    if (SameKey(k, key)) return l;
  return 0;
}

// The form's own properties, read with their types; a wrong one is reported and skipped.
struct FormSettings {
  std::wstring caption;
  int width = kDefaultWidth, height = kDefaultHeight;
  std::optional<OleColor> backColor, foreColor;
  FontRef font;
};

FormSettings ReadSettings(const ParsedForm& parsed, const std::wstring& path, std::vector<FormFileError>& errors) {
  FormSettings s;
  const PropertyBag& bag = parsed.form.properties;
  auto guard = [&](auto read) {
    try {
      read();
    } catch (const PropertyError& e) {
      errors.push_back(FormFileError{path, LineOf(parsed.form.formKeyLines, e.key()), {}, e.key(), e.what()});
    } catch (const std::exception& e) {
      errors.push_back(FormFileError{path, 0, {}, {}, e.what()});
    }
  };
  guard([&] { s.caption = bag.ReadString(L"Caption", L""); });
  guard([&] { s.width = bag.ReadInt32(L"Width", kDefaultWidth); });
  guard([&] { s.height = bag.ReadInt32(L"Height", kDefaultHeight); });
  guard([&] {
    if (bag.Find(L"BackColor")) s.backColor = static_cast<OleColor>(bag.ReadInt32(L"BackColor", 0));
  });
  guard([&] {
    if (bag.Find(L"ForeColor")) s.foreColor = static_cast<OleColor>(bag.ReadInt32(L"ForeColor", 0));
  });
  guard([&] { s.font = bag.ReadFont(L"Font", nullptr); });
  for (const auto& [key, value] : bag.Entries()) {
    static const wchar_t* known[] = {L"Caption", L"Width", L"Height", L"BackColor", L"ForeColor", L"Font"};
    bool ok = false;
    for (const wchar_t* k : known) ok = ok || SameKey(k, key);
    if (!ok)
      errors.push_back(FormFileError{path, LineOf(parsed.form.formKeyLines, key), {}, key,
                                     "unknown form property; a form has Caption, Width, Height, BackColor, "
                                     "ForeColor and Font"});
  }
  if (s.width < 0 || s.height < 0) {
    errors.push_back(FormFileError{path, LineOf(parsed.form.formKeyLines, s.width < 0 ? L"Width" : L"Height"), {},
                                   s.width < 0 ? L"Width" : L"Height", "a form cannot have a negative size"});
    s.width = std::max(s.width, 0);
    s.height = std::max(s.height, 0);
  }
  return s;
}

void ApplyColours(Form& form, const FormSettings& s) {
  if (s.backColor) form.SetBackColor(*s.backColor);
  if (s.foreColor) form.SetForeColor(*s.foreColor);
  if (s.font) form.SetFont(s.font);
}

// A key the control did not read would be dropped without a word when the form is saved again.
void ReportUnreadKeys(const ControlDescription& c, const PropertyBag& bag, const std::wstring& path,
                      std::vector<FormFileError>& errors) {
  for (const std::wstring& key : bag.UnreadKeys())
    errors.push_back(FormFileError{path, c.LineOf(key), c.name, key,
                                   "the control does not read this key (is the name misspelt?); saving would drop it"});
}

// The stored tab order, applied once every control is placed: by .TabIndex, and where a control
// has none, by its place in the file; equal positions keep the order of the file.
void ApplyTabOrder(Form& form, const std::vector<const ControlDescription*>& placed) {
  std::vector<std::pair<int, const ControlDescription*>> wanted;
  for (size_t i = 0; i < placed.size(); ++i) {
    const ControlDescription& c = *placed[i];
    bool given = false;
    for (const auto& [key, line] : c.extenderLines) given = given || SameKey(key, L".TabIndex");
    wanted.emplace_back(given ? c.extender.tabIndex : static_cast<int>(i), &c);
  }
  std::stable_sort(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < wanted.size(); ++i) form.SetTabIndex(wanted[i].second->name, static_cast<int>(i));
}

void PlaceControls(Form& form, const ParsedForm& parsed, const std::wstring& path,
                   std::vector<FormFileError>& errors) {
  Form::PlacementHold once(form);  // the controls paint together when all are placed
  std::vector<const ControlDescription*> placed;
  for (const ControlDescription& c : parsed.form.controls) {
    form.ClearLoadFailures();
    PropertyBag bag = c.bag;  // the control reads its own copy; the description stays as read
    try {
      if (form.AddLoaded(c.type, c.name, c.extender, bag)) {
        placed.push_back(&c);
        ReportUnreadKeys(c, bag, path, errors);
        continue;
      }
    } catch (const std::exception& e) {
      errors.push_back(FormFileError{path, c.line, c.name, {}, e.what()});
      continue;
    }
    for (const LoadFailure& f : form.LoadFailures())
      errors.push_back(FormFileError{path, f.key.empty() ? c.line : c.LineOf(f.key), c.name, f.key, f.message});
  }
  form.ClearLoadFailures();
  ApplyTabOrder(form, placed);
}

// Problems in the order of the file, whichever stage found them.
void SortByLine(std::vector<FormFileError>& errors) {
  std::stable_sort(errors.begin(), errors.end(),
                   [](const FormFileError& a, const FormFileError& b) { return a.line < b.line; });
}

}  // namespace

FormDescription DescribeForm(Form& form) {
  FormDescription d;
  std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(form.hWnd())) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(form.hWnd(), caption.data(), static_cast<int>(caption.size()))));
  d.properties.Write(L"Caption", caption);
  d.properties.Write(L"Width", int32_t(form.ScaleWidth()));
  d.properties.Write(L"Height", int32_t(form.ScaleHeight()));
  d.properties.Write(L"BackColor", int32_t(form.Ambient().backColor), int32_t(kSysButtonFace));
  d.properties.Write(L"ForeColor", int32_t(form.Ambient().foreColor), int32_t(kSysButtonText));
  if (form.Ambient().font) d.properties.Write(L"Font", form.Ambient().font);
  for (SavedControl& saved : form.Save()) {
    ControlDescription c;
    c.type = saved.type;
    c.name = saved.extender.name;
    c.extender = saved.extender;
    c.bag = std::move(saved.bag);
    d.controls.push_back(std::move(c));
  }
  return d;
}

std::vector<FormFileError> LoadForm(const std::wstring& path, Form& form) {
  return LoadForm(ReadFormFile(path), path, form);
}

std::vector<FormFileError> LoadForm(const ParsedForm& parsed, const std::wstring& path, Form& form) {
  std::vector<FormFileError> errors = parsed.errors;
  if (!parsed.readable) return errors;
  FormSettings s = ReadSettings(parsed, path, errors);
  if (!SetWindowTextW(form.hWnd(), s.caption.c_str()))
    errors.push_back(FormFileError{path, LineOf(parsed.form.formKeyLines, L"Caption"), {}, L"Caption",
                                   "the form's caption of " + std::to_string(s.caption.size()) +
                                       " characters was refused"});
  RECT r{0, 0, PixelsFromTwipsX(s.width), PixelsFromTwipsY(s.height)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(form.hWnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(form.hWnd(), GWL_EXSTYLE)));
  SetWindowPos(form.hWnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyColours(form, s);
  PlaceControls(form, parsed, path, errors);
  SortByLine(errors);
  return errors;
}

std::unique_ptr<Form> OpenForm(const std::wstring& path, bool userMode, std::vector<FormFileError>& errors,
                               const ControlTypes* types, FormDisplay display) {
  return OpenForm(ReadFormFile(path), path, userMode, errors, types, display);
}

std::unique_ptr<Form> OpenForm(const ParsedForm& parsed, const std::wstring& path, bool userMode,
                               std::vector<FormFileError>& errors, const ControlTypes* types, FormDisplay display) {
  errors = parsed.errors;
  if (!parsed.readable) return nullptr;
  FormSettings s = ReadSettings(parsed, path, errors);
  std::unique_ptr<Form> form;
  try {
    form = Form::Create(s.caption, s.width, s.height, userMode, types, display);
  } catch (const std::exception& e) {
    // The form itself cannot be made: that is the problem, not each control in turn.
    errors.push_back(FormFileError{path, 0, {}, {}, std::string("the form cannot be made: ") + e.what()});
    SortByLine(errors);
    return nullptr;
  }
  ApplyColours(*form, s);
  PlaceControls(*form, parsed, path, errors);
  SortByLine(errors);
  return form;
}

void SaveForm(Form& form, const std::wstring& path) { WriteFormFile(path, DescribeForm(form)); }

}  // namespace tessel
