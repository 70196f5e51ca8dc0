#include "app/settings/branding.h"

#include "app/settings/about_page.h"
#include "app/settings/recognition_page.h"

namespace ductra {

Branding::Branding(std::uint32_t value) : value_(value < kValueLimit ? value : 0) {}

Branding::~Branding() = default;

AboutPageKind Branding::about_page_kind() const {
  switch (variant()) {
    case 1:
      return AboutPageKind::partner;
    case 3:
      return AboutPageKind::lite;
    case 4:
      return AboutPageKind::partner_second;
    default:
      return AboutPageKind::standard;
  }
}

RecognitionPage& Branding::recognition_page(int index, Settings& settings, Configurations& configurations,
                                            const PageServices& services) {
  if (!recognition_page_) recognition_page_ = std::make_unique<RecognitionPage>(index, settings, configurations, services);
  return *recognition_page_;
}

SettingsPage& Branding::about_page(int index, const PageServices& services) {
  if (about_page_) return *about_page_;
  switch (about_page_kind()) {
    case AboutPageKind::partner:
      about_page_ = std::make_unique<PartnerAboutPage>(index, services);
      break;
    case AboutPageKind::lite:
      about_page_ = std::make_unique<AboutPageLite>(index, services);
      break;
    case AboutPageKind::partner_second:
      about_page_ = std::make_unique<PartnerAboutPage2>(index, services);
      break;
    case AboutPageKind::standard:
      about_page_ = std::make_unique<AboutPage>(index, services);
      break;
  }
  return *about_page_;
}

}  // namespace ductra
