#include "appplatform/draw/freetype_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ductra::platform {

namespace {

constexpr int kDefaultHeight = 12;

// FreeType's library and fontconfig are shared by every font; one lock keeps
// their calls apart.
std::mutex& library_lock() {
  static std::mutex lock;
  return lock;
}

FT_Library library() {
  static FT_Library instance = [] {
    FT_Library created = nullptr;
    if (FT_Init_FreeType(&created) != 0) return static_cast<FT_Library>(nullptr);
    return created;
  }();
  return instance;
}

std::string family_for(const std::u16string& face) {
  if (face.empty() || face == u"Tahoma" || face == u"MS Shell Dlg") return "DejaVu Sans";
  std::string narrow;
  for (char16_t unit : face) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return narrow;
}

struct FaceFile {
  std::string path;
  int index = 0;
};

bool find_face_file(const LogFont& description, FaceFile& found) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  const std::string family = family_for(description.face);
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, description.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, description.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  int index = 0;
  const bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    found.path = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    found.index = index;
  }
  FcPatternDestroy(match);
  return ok;
}

int pixels(FT_Pos value_26_6) { return static_cast<int>((value_26_6 + 32) >> 6); }

class FreeTypeFont final : public Font {
 public:
  FreeTypeFont(const LogFont& description, FT_Face face) : Font(description), face_(face) {
    const FT_Size_Metrics& m = face_->size->metrics;
    metrics_.ascent = pixels(m.ascender);
    metrics_.descent = -pixels(m.descender);
    metrics_.height = metrics_.ascent + metrics_.descent;
    if (face_->units_per_EM > 0) {
      const long scale = m.y_ppem;
      metrics_.underline_offset = std::max<int>(1, static_cast<int>(-face_->underline_position * scale / face_->units_per_EM));
      metrics_.underline_thickness = std::max<int>(1, static_cast<int>(face_->underline_thickness * scale / face_->units_per_EM));
    }
  }
  ~FreeTypeFont() override {
    std::lock_guard lock(library_lock());
    FT_Done_Face(face_);
  }

  TextMetrics metrics() const override { return metrics_; }

  const Glyph& glyph(char32_t code) const override {
    std::lock_guard lock(library_lock());
    auto it = glyphs_.find(code);
    if (it != glyphs_.end()) return it->second;
    return glyphs_.emplace(code, render(code)).first->second;
  }

 private:
  Glyph render(char32_t code) const {
    Glyph g;
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return g;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.rows = static_cast<int>(bitmap.rows);
    g.advance = pixels(slot->advance.x);
    g.coverage.resize(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.rows));
    for (int y = 0; y < g.rows; ++y) {
      for (int x = 0; x < g.width; ++x) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        g.coverage[static_cast<std::size_t>(y * g.width + x)] =
            bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0) : row[x];
      }
    }
    return g;
  }

  FT_Face face_;
  TextMetrics metrics_;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

bool set_height(FT_Face face, int height) {
  FT_Size_RequestRec request{};
  // A positive height is the whole cell, a negative one the em square.
  request.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
  request.height = static_cast<FT_Long>(height == 0 ? kDefaultHeight : std::abs(height)) * 64;
  return FT_Request_Size(face, &request) == 0;
}

}  // namespace

std::shared_ptr<const Font> create_freetype_font(const LogFont& description) {
  std::lock_guard lock(library_lock());
  FaceFile file;
  if (!library() || !FcInit() || !find_face_file(description, file)) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library(), file.path.c_str(), file.index, &face) != 0) return nullptr;
  if (!set_height(face, std::clamp(description.height, -1000, 1000))) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::make_shared<FreeTypeFont>(description, face);
}

}  // namespace ductra::platform

// fontconfig 2.14 loses a few bytes while it parses its configuration files;
// the leak checker of the sanitizer builds is told to let those pass.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DUCTRA_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define DUCTRA_LEAK_CHECKED 1
#endif
#ifdef DUCTRA_LEAK_CHECKED
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
