#include "server/contract/PropertyBag.h"
#include "server/contract/PropertyTable.h"

#include <windows.h>

#include <cstring>

namespace tessel {

namespace {

constexpr const char* kTypeNames[] = {"16-bit integer", "32-bit integer", "Boolean", "string",
                                      "single-precision float", "font", "picture"};
static_assert(std::size(kTypeNames) == std::variant_size_v<BagValue>);

template <class T>
constexpr size_t IndexOf() {
  return BagValue(T{}).index();
}

[[noreturn]] void ThrowWrongType(std::wstring_view key, const BagValue& stored, const char* wanted) {
  std::string message = "property '" + Utf8FromWide(key) + "' holds a " + BagTypeName(stored) +
                        " where a " + wanted + " was expected";
  throw PropertyError(std::wstring(key), message);
}

}  // namespace

const char* BagTypeName(size_t variantIndex) {
  return variantIndex < std::size(kTypeNames) ? kTypeNames[variantIndex] : "value";
}

const char* BagTypeName(const BagValue& value) { return BagTypeName(value.index()); }

bool SameKey(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  if (a.empty()) return true;
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                              TRUE) == CSTR_EQUAL;
}

std::string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring WideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

bool BagValuesEqual(const BagValue& a, const BagValue& b) {
  auto integer = [](const BagValue& v) -> std::optional<int32_t> {
    if (auto p = std::get_if<int16_t>(&v)) return *p;
    if (auto p = std::get_if<int32_t>(&v)) return *p;
    return std::nullopt;
  };
  if (auto ia = integer(a), ib = integer(b); ia && ib) return *ia == *ib;
  if (a.index() != b.index()) return false;
  if (auto fa = std::get_if<FontRef>(&a)) {
    const FontRef& fb = std::get<FontRef>(b);
    if (!*fa || !fb) return *fa == fb;
    return *fa == fb || (*fa)->Describe() == fb->Describe();
  }
  if (auto fa = std::get_if<float>(&a)) {
    float fb = std::get<float>(b);
    return std::memcmp(fa, &fb, sizeof fb) == 0;
  }
  return a == b;  // bool, string, picture identity
}

const BagValue* PropertyBag::Lookup(std::wstring_view key) const {
  lastKeyRead_.assign(key);
  for (const std::wstring& k : keysRead_)
    if (SameKey(k, key)) return Find(key);
  keysRead_.emplace_back(key);
  return Find(key);
}

std::vector<std::wstring> PropertyBag::UnreadKeys() const {
  std::vector<std::wstring> unread;
  for (const auto& [key, value] : entries_) {
    bool read = false;
    for (const std::wstring& k : keysRead_) read = read || SameKey(k, key);
    if (!read) unread.push_back(key);
  }
  return unread;
}

const BagValue* PropertyBag::Find(std::wstring_view key) const {
  for (const auto& [k, v] : entries_)
    if (SameKey(k, key)) return &v;
  return nullptr;
}

void PropertyBag::Remove(std::wstring_view key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (SameKey(it->first, key)) {
      entries_.erase(it);
      return;
    }
  }
}

int16_t PropertyBag::ReadInt16(std::wstring_view key, int16_t def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<int16_t>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<int16_t>()));
}

int32_t PropertyBag::ReadInt32(std::wstring_view key, int32_t def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<int32_t>(v)) return *p;
  if (auto p = std::get_if<int16_t>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<int32_t>()));
}

bool PropertyBag::ReadBool(std::wstring_view key, bool def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<bool>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<bool>()));
}

std::wstring PropertyBag::ReadString(std::wstring_view key, std::wstring_view def) const {
  const BagValue* v = Lookup(key);
  if (!v) return std::wstring(def);
  if (auto p = std::get_if<std::wstring>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<std::wstring>()));
}

float PropertyBag::ReadSingle(std::wstring_view key, float def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<float>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<float>()));
}

FontRef PropertyBag::ReadFont(std::wstring_view key, const FontRef& def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<FontRef>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<FontRef>()));
}

PictureRef PropertyBag::ReadPicture(std::wstring_view key, const PictureRef& def) const {
  const BagValue* v = Lookup(key);
  if (!v) return def;
  if (auto p = std::get_if<PictureRef>(v)) return *p;
  ThrowWrongType(key, *v, BagTypeName(IndexOf<PictureRef>()));
}

void PropertyBag::Write(std::wstring_view key, BagValue value, std::optional<BagValue> def) {
  if (def && BagValuesEqual(value, *def)) {
    // A value back at its default leaves the bag, so the stored form shows only what differs.
    Remove(key);
    return;
  }
  for (auto& [k, v] : entries_) {
    if (SameKey(k, key)) {
      v = std::move(value);
      return;
    }
  }
  entries_.emplace_back(std::wstring(key), std::move(value));
}

BagValue ReadTyped(const PropertyBag& bag, std::wstring_view key, BagType type, const BagValue& def) {
  auto as = [&](auto fallback) { return std::holds_alternative<decltype(fallback)>(def) ? std::get<decltype(fallback)>(def) : fallback; };
  switch (type) {
    // An integer default may be given in either width (a plain 3 is a 32-bit value).
    case BagType::Int16:
      if (auto p = std::get_if<int32_t>(&def)) return bag.ReadInt16(key, static_cast<int16_t>(*p));
      return bag.ReadInt16(key, as(int16_t{0}));
    case BagType::Int32:
      if (auto p = std::get_if<int16_t>(&def)) return bag.ReadInt32(key, *p);
      return bag.ReadInt32(key, as(int32_t{0}));
    case BagType::Bool: return bag.ReadBool(key, as(false));
    case BagType::String: return bag.ReadString(key, as(std::wstring{}));
    case BagType::Single: return bag.ReadSingle(key, as(0.0f));
    case BagType::Font: return bag.ReadFont(key, as(FontRef{}));
    case BagType::Picture: return bag.ReadPicture(key, as(PictureRef{}));
  }
  return def;
}

}  // namespace tessel
