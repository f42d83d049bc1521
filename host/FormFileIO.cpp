// Form files on disk: reading a whole file, and saving so that the old file survives any failure.
#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "host/FormFile.h"
#include "server/contract/SystemHandles.h"
#include "server/contract/WholeFile.h"

namespace tessel {
namespace {

constexpr int64_t kLargestFile = int64_t(1) << 28;

}  // namespace

ParsedForm ReadFormFile(const std::wstring& path) {
  std::string text;
  try {
    text = ReadWholeFile(path, kLargestFile);
  } catch (const FileReadError& e) {
    ParsedForm failed;
    failed.readable = false;
    failed.errors.push_back(FormFileError{path, 0, {}, {}, e.what()});
    return failed;
  }
  return ParseFormText(text, path);
}

void WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
  auto fail = [&](const std::string& what, DWORD error) {
    throw std::runtime_error("cannot save " + Utf8FromWide(path) + ": " + what + ": " + FileErrorReason(error));
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
  unique_hfile f = OwnedFile(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) {
    DWORD error = GetLastError();
    DeleteFileW(temp);
    fail("cannot open the temporary file", error);
  }
  size_t done = 0;
  DWORD error = 0;
  while (done < bytes.size() && !error) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!WriteFile(f.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) error = GetLastError();
    done += written;
  }
  if (!error && !FlushFileBuffers(f.get())) error = GetLastError();
  f.reset();  // closed before the move, which needs the file free
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
