#pragma once
// The GDI fonts that font objects with the same attributes draw with, one handle per set of
// attributes: made the first time a font of those attributes is drawn, given back when the last
// font object drawing with it goes or changes. A font object at rest so holds no handle of its own.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <functional>
#include <memory>
#include <string>

#include <wrl/client.h>

namespace tessel {

// The attributes a handle is realised from.
struct FontKey {
  std::wstring name;
  LONGLONG size = 0;  // points x 10000
  short weight = 0;
  short charset = 0;
  bool italic = false, underline = false, strikethrough = false;
  int dpi = 96;  // the resolution the handle is realised for
  bool operator==(const FontKey&) const = default;
  bool operator<(const FontKey& other) const;
};

class SharedFont {
 public:
  // The shared handle for the attributes key: current when it still has them, otherwise the one
  // of the cache or a new one realised by a font object that makeObject makes of those attributes.
  // Null when no handle can be made.
  static std::shared_ptr<SharedFont> For(const FontKey& key, const std::shared_ptr<SharedFont>& current,
                                         const std::function<Microsoft::WRL::ComPtr<IFont>()>& makeObject);
  // How many sets of attributes have a handle now.
  static size_t Count();

  HFONT Handle() const { return handle_; }
  const FontKey& Key() const { return key_; }

  SharedFont(FontKey key, Microsoft::WRL::ComPtr<IFont> owner, HFONT handle)
      : key_(std::move(key)), owner_(std::move(owner)), handle_(handle) {}
  ~SharedFont();
  SharedFont(const SharedFont&) = delete;
  SharedFont& operator=(const SharedFont&) = delete;

 private:
  FontKey key_;
  Microsoft::WRL::ComPtr<IFont> owner_;  // a font object of its own, owner of the handle
  HFONT handle_ = nullptr;
};

}  // namespace tessel
