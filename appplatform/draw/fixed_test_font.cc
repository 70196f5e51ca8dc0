#include "appplatform/draw/fixed_test_font.h"

namespace ductra::platform {

namespace {

class FixedTestFont final : public Font {
 public:
  explicit FixedTestFont(const LogFont& description) : Font(description) {
    const bool bold = description.weight >= 600;
    space_.advance = kFixedTestAdvance;
    box_ = {1, 7, 4, 7, kFixedTestAdvance, std::vector<std::uint8_t>(28, 255)};
    if (!bold) {
      for (int y = 1; y < 6; ++y) {
        for (int x = 1; x < 3; ++x) box_.coverage[static_cast<std::size_t>(y * 4 + x)] = 0;
      }
    }
  }

  TextMetrics metrics() const override {
    return {kFixedTestAscent + kFixedTestDescent, kFixedTestAscent, kFixedTestDescent, 1, 1};
  }

  const Glyph& glyph(char32_t code) const override { return code == U' ' ? space_ : box_; }

 private:
  Glyph space_;
  Glyph box_;
};

}  // namespace

std::shared_ptr<const Font> create_fixed_test_font(const LogFont& description) {
  return std::make_shared<FixedTestFont>(description);
}

}  // namespace ductra::platform
