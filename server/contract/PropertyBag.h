#pragma once
// A control's keyed store of its settings. Reads name a default that is returned when the key is
// absent; writes name a default and a value equal to it is left out. Keys compare without regard
// to case; entries keep the order in which they were first written.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "server/contract/Font.h"
#include "server/contract/Picture.h"

namespace tessel {

using BagValue = std::variant<int16_t, int32_t, bool, std::wstring, float, FontRef, PictureRef>;

// The name of the type a value holds, for messages: "16-bit integer", "string", "font"...
const char* BagTypeName(const BagValue& value);
const char* BagTypeName(size_t variantIndex);
// Equality as the bag sees it: integers by value whatever their width, fonts by attributes,
// pictures by identity, floats bit for bit.
bool BagValuesEqual(const BagValue& a, const BagValue& b);
// Keys and names compare without regard to case (ordinal, the whole Unicode range).
bool SameKey(std::wstring_view a, std::wstring_view b);
// UTF-16 <-> UTF-8 for messages and files; lone surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// Raised when a stored value cannot be used: wrong type, or refused by the control.
class PropertyError : public std::runtime_error {
 public:
  PropertyError(std::wstring key, const std::string& what) : std::runtime_error(what), key_(std::move(key)) {}
  const std::wstring& key() const { return key_; }
 private:
  std::wstring key_;
};

class PropertyBag {
 public:
  int16_t ReadInt16(std::wstring_view key, int16_t def) const;
  int32_t ReadInt32(std::wstring_view key, int32_t def) const;   // also accepts a stored 16-bit value
  bool ReadBool(std::wstring_view key, bool def) const;
  std::wstring ReadString(std::wstring_view key, std::wstring_view def) const;
  float ReadSingle(std::wstring_view key, float def) const;
  FontRef ReadFont(std::wstring_view key, const FontRef& def) const;
  PictureRef ReadPicture(std::wstring_view key, const PictureRef& def) const;

  // Stores value unless it equals def (fonts compare by attributes, pictures by identity).
  // Without def the value is always stored.
  void Write(std::wstring_view key, BagValue value, std::optional<BagValue> def = std::nullopt);

  const BagValue* Find(std::wstring_view key) const;
  void Remove(std::wstring_view key);
  const std::vector<std::pair<std::wstring, BagValue>>& Entries() const { return entries_; }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }

  // The key of the most recent read, found or not: a loader names it when a control's
  // ReadProperties fails with an error of its own (a value refused by a constituent).
  const std::wstring& LastKeyRead() const { return lastKeyRead_; }
  // The stored keys that no read has asked for, in the order of the entries: a loader reports
  // them, whichever keys a control reads and however it decides to.
  std::vector<std::wstring> UnreadKeys() const;

 private:
  const BagValue* Lookup(std::wstring_view key) const;
  std::vector<std::pair<std::wstring, BagValue>> entries_;
  mutable std::wstring lastKeyRead_;
  mutable std::vector<std::wstring> keysRead_;
};

}  // namespace tessel
