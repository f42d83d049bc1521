#pragma once
// Reading a whole file into memory, the one way the library does it (pictures, form files).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tessel {

// Raised when a file cannot be opened or read; what() is a sentence such as
// "cannot open the file (error 2)" without the path, which the caller adds where it fits.
class FileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The bytes of the file at path. Files larger than largestBytes are refused.
std::string ReadWholeFile(const std::wstring& path, int64_t largestBytes);

}  // namespace tessel
