#pragma once
// Base64 (RFC 4648, with '=' padding) for the picture bytes of form files.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

std::string Base64Encode(const std::vector<uint8_t>& bytes);

// Decodes base64 text fed one piece at a time (a picture's lines); padding may only end it.
class Base64Decoder {
 public:
  explicit Base64Decoder(std::vector<uint8_t>& out) : out_(out) {}
  // False when the text holds a character that is not base64, or data after the padding.
  bool Feed(std::wstring_view text);

 private:
  std::vector<uint8_t>& out_;
  uint32_t acc_ = 0;
  int bits_ = 0;
  bool padded_ = false;
};

}  // namespace tessel
