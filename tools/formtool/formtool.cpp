// formtool: checks, saves again and renders form files.
//
//   formtool check  <file>                   every problem in the loader's words; exit 1 if any
//   formtool resave <file> [<out>]           loads and saves (over <file> without <out>)
//   formtool render <file> <png> [--design]  the form at its natural size as a PNG image
//   formtool --version                       the library version it was built with
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/ControlTypesLibrary.h"
#include "host/Form.h"
#include "host/FormFile.h"
#include "tools/ToolMain.h"
#include "server/contract/Picture.h"

namespace {

using namespace tessel;

constexpr int kOk = 0;
constexpr int kProblems = 1;  // the file has errors
constexpr int kFailed = 2;    // usage, or the tool could not do its work

void Out(FILE* to, const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), to);
  std::fputc('\n', to);
  std::fflush(to);
}

int Usage() {
  Out(stderr,
      "usage: formtool check <file>\n"
      "       formtool resave <file> [<out>]\n"
      "       formtool render <file> <png> [--design]\n"
      "       formtool --version");
  return kFailed;
}

void Report(const std::vector<FormFileError>& errors) {
  for (const FormFileError& e : errors) Out(stdout, e.ToString());
}

std::string Count(size_t n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

int Check(const std::wstring& path) {
  std::vector<FormFileError> errors;
  // Checking loads every control through its handlers; nothing needs to be seen.
  std::unique_ptr<Form> form = OpenForm(path, true, errors, &LibraryTypes(), FormDisplay::Hidden);
  Report(errors);
  if (!errors.empty()) {
    const size_t loaded = form ? form->ControlNames().size() : 0;
    Out(stdout, Utf8FromWide(path) + ": " + Count(errors.size(), "error") + ", " + Count(loaded, "control") + " loaded");
    return kProblems;
  }
  Out(stdout, Utf8FromWide(path) + ": OK, " + Count(form->ControlNames().size(), "control"));
  return kOk;
}

int Resave(const std::wstring& path, const std::wstring& out) {
  std::vector<FormFileError> errors;
  std::unique_ptr<Form> form = OpenForm(path, true, errors, &LibraryTypes());
  Report(errors);
  if (!errors.empty()) {
    // Saving now would drop what could not be loaded.
    Out(stdout, Utf8FromWide(path) + ": " + Count(errors.size(), "error") + "; nothing was saved");
    return kProblems;
  }
  SaveForm(*form, out);
  Out(stdout, "saved " + Utf8FromWide(out) + " (" + Count(form->ControlNames().size(), "control") + ")");
  return kOk;
}

int Render(const std::wstring& path, const std::wstring& png, bool design) {
  std::vector<FormFileError> errors;
  std::unique_ptr<Form> form = OpenForm(path, !design, errors, &LibraryTypes());
  Report(errors);
  if (!form) return kProblems;
  Form::PumpMessages();
  unique_hbitmap snapshot = form->Snapshot();
  BITMAP bm{};
  if (!snapshot || !GetObjectW(snapshot.get(), sizeof bm, &bm)) {
    Out(stderr, "formtool: the form could not be drawn");
    return kFailed;
  }
  PictureRef picture = Picture::FromBitmap(snapshot.release());
  const std::vector<uint8_t>& bytes = picture->Bytes();
  WriteFileAtomically(png, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  Out(stdout, "rendered " + std::to_string(bm.bmWidth) + " x " + std::to_string(bm.bmHeight) + " pixels" +
                  (design ? " in design mode" : "") + " to " + Utf8FromWide(png));
  return errors.empty() ? kOk : kProblems;
}

int Run(const std::vector<std::wstring>& args) {
  if (args.size() == 1 && args[0] == L"--version") {
    Out(stdout, "formtool " TESSEL_VERSION " (TesselOCX form files, version 1)");
    return kOk;
  }
  if (args.size() < 2) return Usage();
  const std::wstring& command = args[0];
  if (command == L"check" && args.size() == 2) return Check(args[1]);
  if (command == L"resave" && (args.size() == 2 || args.size() == 3))
    return Resave(args[1], args.size() == 3 ? args[2] : args[1]);
  if (command == L"render" && (args.size() == 3 || (args.size() == 4 && args[3] == L"--design")))
    return Render(args[1], args[2], args.size() == 4);
  return Usage();
}

}  // namespace

int main() { return tessel::RunTool("formtool", kFailed, Run); }
