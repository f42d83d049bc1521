#include "server/contract/SharedBrush.h"

#include <map>
#include <mutex>

namespace tessel {

SharedBrush SharedBrush::OfColor(COLORREF color) {
  static std::mutex lock;
  static std::map<COLORREF, std::weak_ptr<const unique_hbrush>> held;
  std::lock_guard<std::mutex> guard(lock);
  SharedBrush shared;
  if ((shared.brush_ = held[color].lock())) return shared;
  // Colours nobody holds any more leave the table as new ones come.
  for (auto it = held.begin(); it != held.end();) it = it->second.expired() ? held.erase(it) : std::next(it);
  unique_hbrush made(CreateSolidBrush(color));
  if (!made) return shared;
  shared.brush_ = std::make_shared<const unique_hbrush>(std::move(made));
  held[color] = shared.brush_;
  return shared;
}

}  // namespace tessel
