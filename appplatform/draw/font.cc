#include "appplatform/draw/font.h"

#include "appplatform/draw/fixed_test_font.h"
#include "appplatform/draw/freetype_font.h"

namespace ductra::platform {

std::shared_ptr<const Font> create_font(const LogFont& description) {
  if (description.face == kFixedTestFace) return create_fixed_test_font(description);
  if (auto font = create_freetype_font(description)) return font;
  return create_fixed_test_font(description);
}

std::shared_ptr<const Font> system_font() {
  static const std::shared_ptr<const Font> font = create_font({13, FW_NORMAL, false, false, u"Tahoma"});
  return font;
}

}  // namespace ductra::platform
