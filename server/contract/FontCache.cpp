#include "server/contract/FontCache.h"

#include <exception>
#include <map>
#include <mutex>
#include <tuple>

namespace tessel {
namespace {

struct Cache {
  std::mutex lock;
  std::map<FontKey, std::weak_ptr<SharedFont>> fonts;
};

Cache& TheCache() {
  static Cache* cache = new Cache;  // outlives every font object, whatever the order of exit
  return *cache;
}

}  // namespace

bool FontKey::operator<(const FontKey& o) const {
  return std::tie(name, size, weight, charset, italic, underline, strikethrough, dpi) <
         std::tie(o.name, o.size, o.weight, o.charset, o.italic, o.underline, o.strikethrough, o.dpi);
}

std::shared_ptr<SharedFont> SharedFont::For(const FontKey& key, const std::shared_ptr<SharedFont>& current,
                                            const std::function<Microsoft::WRL::ComPtr<IFont>()>& makeObject) {
  if (current && current->key_ == key) return current;
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  if (auto found = cache.fonts.find(key); found != cache.fonts.end())
    if (auto alive = found->second.lock()) return alive;
  // The handle is realised by a font object of the same attributes and ratio, so it looks exactly
  // as the font object's own would; that object lives as long as the handle is shared.
  Microsoft::WRL::ComPtr<IFont> copy;
  HFONT handle = nullptr;
  try {
    copy = makeObject();
  } catch (const std::exception&) {
    return nullptr;  // no handle can be made: the caller draws with its fallback
  }
  if (!copy || FAILED(copy->get_hFont(&handle)) || !handle) return nullptr;
  auto shared = std::make_shared<SharedFont>(key, std::move(copy), handle);
  cache.fonts[key] = shared;
  return shared;
}

size_t SharedFont::Count() {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  size_t n = 0;
  for (const auto& [key, font] : cache.fonts) n += font.expired() ? 0 : 1;
  return n;
}

SharedFont::~SharedFont() {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  auto found = cache.fonts.find(key_);
  // A newer handle of the same attributes may stand in the cache already.
  if (found != cache.fonts.end() && found->second.expired()) cache.fonts.erase(found);
}

}  // namespace tessel
