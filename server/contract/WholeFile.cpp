#include "server/contract/WholeFile.h"

#include <windows.h>

#include "server/contract/SystemHandles.h"

namespace tessel {

std::string FileErrorReason(unsigned long error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND: return "file not found";
    case ERROR_PATH_NOT_FOUND: return "folder not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_SHARING_VIOLATION: return "the file is in use by another program";
    case ERROR_INVALID_NAME: return "the name is not valid";
    default: return "error " + std::to_string(error);
  }
}

namespace {

[[noreturn]] void Fail(const char* what, DWORD error) { throw FileReadError(std::string(what) + ": " + FileErrorReason(error)); }

std::string SizeText(int64_t bytes) {
  if (bytes >= (int64_t(1) << 20) && bytes % (int64_t(1) << 20) == 0) return std::to_string(bytes >> 20) + " MB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace

std::string ReadWholeFile(const std::wstring& path, int64_t largestBytes) {
  const unique_hfile file = OwnedFile(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) Fail("cannot open the file", GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) Fail("cannot read the file", GetLastError());
  if (size.QuadPart > largestBytes) throw FileReadError("the file is larger than " + SizeText(largestBytes));
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
    Fail("cannot read the file", GetLastError());
  return bytes;
}

}  // namespace tessel
