// The branding: which partner's edition of the application this is, from
// the "branding" setting. Its variant chooses the kind of about page and
// whether the extra cabinet is installed on a reboot start.
#pragma once

#include <cstdint>

namespace ductra {

enum class AboutPageKind { standard, partner, lite, partner_second };

class Branding {
 public:
  // Values of 260 and above are not brandings and count as 0.
  explicit Branding(std::uint32_t value) : value_(value < kValueLimit ? value : 0) {}

  std::uint32_t value() const { return value_; }
  std::uint32_t variant() const { return value_ % 255; }
  // Variant 1 partner, 3 lite, 4 the second partner page, any other the
  // standard page.
  AboutPageKind about_page_kind() const;

 private:
  static constexpr std::uint32_t kValueLimit = 260;
  std::uint32_t value_;
};

}  // namespace ductra
