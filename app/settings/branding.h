// The branding: which partner's edition of the application this is, from
// the "branding" setting. Its variant chooses the kind of about page (and
// whether the extra cabinet is installed on a reboot start), and the
// branding makes the sheet's recognition and about pages, each on its
// first request, and owns them.
#pragma once

#include <cstdint>
#include <memory>

#include "app/common/settings.h"
#include "app/settings/page_services.h"
#include "app/settings/settings_page.h"

namespace ductra {

class RecognitionPage;

enum class AboutPageKind { standard, partner, lite, partner_second };

class Branding {
 public:
  // Values of 260 and above are not brandings and count as 0.
  explicit Branding(std::uint32_t value);
  ~Branding();
  Branding(const Branding&) = delete;
  Branding& operator=(const Branding&) = delete;

  std::uint32_t value() const { return value_; }
  std::uint32_t variant() const { return value_ % 255; }
  // Variant 1 partner, 3 lite, 4 the second partner page, any other the
  // standard page.
  AboutPageKind about_page_kind() const;

  // The recognition page, made with these arguments on the first call;
  // later calls give the same page. Everything given must outlive it.
  RecognitionPage& recognition_page(int index, Settings& settings, Configurations& configurations,
                                    const PageServices& services);
  // The about page of the variant's kind, made on the first call.
  SettingsPage& about_page(int index, const PageServices& services);

 private:
  static constexpr std::uint32_t kValueLimit = 260;
  std::uint32_t value_;
  std::unique_ptr<RecognitionPage> recognition_page_;
  std::unique_ptr<SettingsPage> about_page_;
};

}  // namespace ductra
