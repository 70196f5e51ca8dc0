#include "app/settings/branding.h"

#include <gtest/gtest.h>

#include "app/settings/about_page.h"
#include "app/settings/dialog_templates.h"
#include "app/settings/recognition_page.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

TEST(BrandingTest, ValuesVariantsAndAboutPages) {
  struct Case {
    std::uint32_t value;
    std::uint32_t variant;
    AboutPageKind about;
  };
  const Case cases[] = {
      {0, 0, AboutPageKind::standard},   {1, 1, AboutPageKind::partner},
      {3, 3, AboutPageKind::lite},       {4, 4, AboutPageKind::partner_second},
      {254, 254, AboutPageKind::standard}, {255, 0, AboutPageKind::standard},
      {256, 1, AboutPageKind::partner},  {258, 3, AboutPageKind::lite},
      {259, 4, AboutPageKind::partner_second}, {260, 0, AboutPageKind::standard},
      {300, 0, AboutPageKind::standard}, {0xFFFFFFFF, 0, AboutPageKind::standard},
  };
  for (const Case& c : cases) {
    const Branding branding(c.value);
    EXPECT_EQ(branding.variant(), c.variant) << c.value;
    EXPECT_EQ(branding.about_page_kind(), c.about) << c.value;
  }
  EXPECT_EQ(Branding(300).value(), 0u);
  EXPECT_EQ(Branding(259).value(), 259u);
}

class AboutPagesTest : public testing::SettingsTest {};

TEST_F(AboutPagesTest, EachBrandingHasItsAboutPageWithItsLinksAndTheSameRecognitionPage) {
  struct Case {
    std::uint32_t branding;
    int template_id;
    std::uint32_t support_text;
    bool more_programs;  // the invitation, its link and the "Ещё" button shown
    bool partner_link;
    std::string picture;
  };
  const Case cases[] = {
      {0, kAboutPageTemplate, 505, true, false, "about_page_standard.png"},
      {1, kPartnerAboutPageTemplate, 20, false, false, "about_page_partner.png"},
      {3, kAboutPageTemplate, 505, false, false, "about_page_lite.png"},
      {4, kPartnerAboutPage2Template, 505, true, true, "about_page_partner_second.png"},
  };
  Settings settings;
  Configurations configurations{CharsetSet{3, 5}};
  for (const Case& c : cases) {
    Branding branding(c.branding);
    SettingsPage& about = branding.about_page(3, services_);
    EXPECT_EQ(&branding.about_page(7, services_), &about);
    EXPECT_EQ(about.dialog_id(), c.template_id) << c.branding;
    EXPECT_EQ(about.index(), 3);
    RecognitionPage& recognition = branding.recognition_page(2, settings, configurations, services_);
    EXPECT_EQ(&branding.recognition_page(5, settings, configurations, services_), &recognition);
    EXPECT_EQ(recognition.index(), 2);

    platform::PropertySheetHeader header;
    header.pages = {about.make_page()};
    testing::DialogDriver driver;
    driver.then([&](platform::WindowHandle sheet) {
      EXPECT_EQ(text(sheet, 1032), localizer().string(c.support_text)) << c.branding;
      EXPECT_EQ(text(sheet, 1018), u"Build CORE 9.0.462.11806");
      for (const int id : {1053, 1033, 1065}) {
        EXPECT_EQ(system_.is_window_visible(platform::shown_control(sheet, id)), c.more_programs) << c.branding << " " << id;
      }
      EXPECT_EQ(text(sheet, 1034), c.partner_link ? localizer().string(35) : u"") << c.branding;
      keep_picture(sheet, c.picture);
      act(sheet, platform::DialogAction::click(platform::IDOK));
    });
    EXPECT_EQ(platform::property_sheet(header), 1);
  }
}

TEST_F(AboutPagesTest, AnEngineWithoutVersionLeavesTheEngineLineAsTheTemplateHasIt) {
  PageServices quiet = services_;
  quiet.engine_version = [](char* buffer, int) {
    buffer[0] = 0;
    return 0;
  };
  AboutPage about(3, quiet);
  platform::PropertySheetHeader header;
  header.pages = {about.make_page()};
  testing::DialogDriver driver;
  driver.then([&](platform::WindowHandle sheet) {
    EXPECT_EQ(text(sheet, 1018), u"Build CORE");
    act(sheet, platform::DialogAction::click(platform::IDCANCEL));
  });
  platform::property_sheet(header);
}

}  // namespace
}  // namespace ductra
