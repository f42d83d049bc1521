#include "server/contract/IconImage.h"

#include <cstring>
#include <vector>

namespace tessel {
namespace {

// An icon file's directory: a header of three words, then one entry per image giving its place in
// the file; a resource directory names each image by number instead.
#pragma pack(push, 2)
struct FileEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes, offset;
};
struct ResourceEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
constexpr size_t kHeader = 3 * sizeof(WORD);

}  // namespace

unique_hicon IconImageFor(const Picture& picture, int side) {
  if (picture.Kind() != PictureKind::Icon || side <= 0) return {};
  const std::vector<uint8_t>& file = picture.Bytes();
  WORD header[3] = {};
  if (file.size() < kHeader) return {};
  std::memcpy(header, file.data(), kHeader);
  const WORD count = header[2];
  if (header[0] != 0 || header[1] != 1 || count < 2 || file.size() < kHeader + count * sizeof(FileEntry)) return {};
  // The system chooses among the entries of a resource directory: the file's own, each image
  // numbered by its place in the file.
  std::vector<FileEntry> entries(count);
  std::vector<uint8_t> directory(kHeader + count * sizeof(ResourceEntry));
  std::memcpy(directory.data(), header, kHeader);
  for (WORD i = 0; i < count; ++i) {
    FileEntry& e = entries[i];
    std::memcpy(&e, file.data() + kHeader + i * sizeof(FileEntry), sizeof e);
    const ResourceEntry r{e.width, e.height, e.colors, e.reserved, e.planes, e.bitCount, e.bytes, static_cast<WORD>(i + 1)};
    std::memcpy(directory.data() + kHeader + i * sizeof(ResourceEntry), &r, sizeof r);
  }
  const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, side, side, LR_DEFAULTCOLOR);
  if (id < 1 || id > count) return {};
  const FileEntry& chosen = entries[id - 1];
  if (chosen.offset > file.size() || chosen.bytes > file.size() - chosen.offset) return {};
  return unique_hicon(CreateIconFromResourceEx(const_cast<BYTE*>(file.data() + chosen.offset), chosen.bytes, TRUE,
                                               0x00030000, side, side, LR_DEFAULTCOLOR));
}

}  // namespace tessel
