// Fonts: a face, a height, a weight, italics and underline, turned into
// glyph images. "Tahoma" and "MS Shell Dlg" are DejaVu Sans; the face
// kFixedTestFace is a small fixed-advance font of our own for exact layout
// tests. A font may be used from several threads at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ductra::platform {

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

// The face of the fixed-advance test font.
inline constexpr char16_t kFixedTestFace[] = u"Ductra Fixed Test";

// A font as a caller asks for it. A positive height is the cell height
// (ascent plus descent), a negative one the character height, 0 a default
// of 12 pixels; all in pixels.
struct LogFont {
  int height = 0;
  int weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  std::u16string face;
};

struct TextMetrics {
  int height = 0;   // ascent + descent
  int ascent = 0;   // rows above the baseline
  int descent = 0;  // rows below it
  int underline_offset = 1;     // rows from the baseline down to the underline
  int underline_thickness = 1;
};

// One glyph's coverage (0 none to 255 full), `rows` rows of `width` values,
// placed `left` pixels right of the pen and with its first row `top` rows
// above the baseline; the pen then moves `advance` pixels.
struct Glyph {
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  int advance = 0;
  std::vector<std::uint8_t> coverage;
};

class Font {
 public:
  virtual ~Font() = default;
  const LogFont& description() const { return description_; }
  virtual TextMetrics metrics() const = 0;
  // The glyph of a code point; a code point the face lacks gives its
  // replacement glyph. The reference stays valid as long as the font.
  virtual const Glyph& glyph(char32_t code) const = 0;

 protected:
  explicit Font(LogFont description) : description_(std::move(description)) {}

 private:
  LogFont description_;
};

// The font nearest the description; never null (when no face can be opened
// at all, the fixed test font stands in).
std::shared_ptr<const Font> create_font(const LogFont& description);

// The font a device context draws with until another is selected: Tahoma,
// 13 pixels high.
std::shared_ptr<const Font> system_font();

}  // namespace ductra::platform
