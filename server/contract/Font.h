#pragma once
// The container's standard font object: an OLE StdFont (IFont), held by reference.
// Two holders of one FontRef share one font: changing it through one is seen by the other.
// The attributes are kept as they were asked for: a font object reports the face and size it
// realised, which differ where a face is not installed, and a stored form must keep the choice.
// Fonts made here with the same attributes draw with one shared GDI font (FontCache.h): a hundred
// fields in the default font hold one font handle between them, and a change to one font object
// moves only that object to another handle. The OLE object of a font made here is made the first
// time it is asked for: a field in the default font never needs one, and it costs the heap more
// than the field's own objects.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <memory>
#include <string>
#include <utility>

#include <wrl/client.h>

namespace tessel {

struct FontDesc {
  std::wstring name = L"MS Sans Serif";
  float size = 8.25f;          // points
  short weight = FW_NORMAL;    // 400 normal, 700 bold
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  short charset = DEFAULT_CHARSET;
  bool bold() const { return weight >= FW_BOLD; }
  bool operator==(const FontDesc&) const = default;
};

class Font;
using FontRef = std::shared_ptr<Font>;
class SharedFont;

class Font {
 public:
  // Throws std::runtime_error when OLE refuses the description.
  static FontRef Create(const FontDesc& desc);
  // Wraps an existing font object (one reference is taken).
  static FontRef Wrap(IFont* font);

  FontDesc Describe() const;
  void SetName(const std::wstring& name);
  void SetSize(float points);
  void SetBold(bool on);
  void SetItalic(bool on);
  void SetUnderline(bool on);
  void SetStrikethrough(bool on);
  void SetWeight(short weight);
  void SetCharset(short charset);

  // A copy with the same attributes but its own identity.
  FontRef Clone() const;
  // Borrowed: the font object keeps the handle valid while it lives and is unchanged.
  HFONT Handle() const;
  // The OLE font object, made now if it was not yet (throws std::runtime_error when OLE refuses).
  IFont* Get() const;

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

 private:
  // What every holder of one font object sees: the attributes asked for and the handle drawn with.
  struct State;
  // Only Create and Wrap make fonts; the key lets them do so in one allocation with the reference.
  struct Key {
    explicit Key() = default;
  };

 public:
  Font(Key, std::shared_ptr<State> state) : state_(std::move(state)) {}

 private:
  std::shared_ptr<State> state_;
};

}  // namespace tessel
