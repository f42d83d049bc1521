#pragma once
// Reading a whole file into memory, the one way the library does it (pictures, form files).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessel {

// Raised when a file cannot be opened or read; what() is a sentence such as
// "cannot open the file: file not found" without the path, which the caller adds where it fits.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why a file call failed, in the words a file dialog uses ("file not found", "access denied"),
// from the system's error code; "error <n>" for a rarer one.
std::string FileErrorReason(unsigned long error);

// The bytes of the file at path. Files larger than largestBytes are refused.
std::string ReadWholeFile(const std::wstring& path, int64_t largestBytes);

}  // namespace tessel
