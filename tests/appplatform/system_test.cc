// System facts and libraries loaded by name.
#include <gtest/gtest.h>

#include "appplatform/library.h"
#include "appplatform/system_facts.h"
#include "tests/appplatform/device_fixture.h"
#include "tests/appplatform/environment_guard.h"

namespace ductra::platform {
namespace {

using testing::DeviceFixture;
using testing::EnvironmentGuard;

TEST(SystemFactsTest, LanguageAndSeparatorFollowTheLocale) {
  const struct {
    const char* locale;
    std::uint16_t language;
    char16_t separator;
  } cases[] = {
      {"ru_RU.UTF-8", 1049, u','}, {"en_US.UTF-8", 1033, u'.'}, {"de_DE", 1031, u','}, {"es_ES.UTF-8", 1034, u','},
      {"fr", 1036, u','},          {"it_IT@euro", 1040, u','},  {"he_IL", 1037, u'.'}, {"C", 1033, u'.'},
      {"POSIX", 1033, u'.'},       {"xx_YY", 1033, u'.'},       {"", 1033, u'.'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(language_id_of_locale(c.locale), c.language) << c.locale;
    EXPECT_EQ(decimal_separator_of_locale(c.locale), c.separator) << c.locale;
  }
}

TEST(SystemFactsTest, ReadsTheVariablesInTheirOrder) {
  EnvironmentGuard environment;
  environment.set("LC_ALL", nullptr);
  environment.set("LC_MESSAGES", "de_DE.UTF-8");
  environment.set("LC_NUMERIC", "en_GB.UTF-8");
  environment.set("LANG", "ru_RU.UTF-8");
  environment.set("DUCTRA_OS_VERSION", "4");
  environment.set("DUCTRA_SCREEN_PPI", "192");
  SystemFacts facts = SystemFacts::from_environment();
  EXPECT_EQ(facts.language_id, 1031);
  EXPECT_EQ(facts.decimal_separator, u'.');
  EXPECT_EQ(facts.os_major_version, 4);
  EXPECT_EQ(facts.pixels_per_inch, 192);

  environment.set("LC_ALL", "fr_FR.UTF-8");
  environment.set("DUCTRA_OS_VERSION", "4x");
  environment.set("DUCTRA_SCREEN_PPI", nullptr);
  facts = SystemFacts::from_environment();
  EXPECT_EQ(facts.language_id, 1036);
  EXPECT_EQ(facts.decimal_separator, u',');
  EXPECT_EQ(facts.os_major_version, 5);
  EXPECT_EQ(facts.pixels_per_inch, 96);
}

class LibraryTest : public DeviceFixture {
 protected:
  void SetUp() override { ASSERT_EQ(root().prepare(), Status::ok); }
};

TEST_F(LibraryTest, LoadsThroughTheMap) {
  LibraryMap map = LibraryMap::standard();
  map.add(u"\\Windows\\Quillpad.dll", APPPLATFORM_TEST_LIBRARY);
  for (const char16_t* name : {u"\\Windows\\Quillpad.dll", u"quillpad.DLL", u"Quillpad"}) {
    Library library;
    ASSERT_EQ(Library::load(root(), map, name, &library), Status::ok);
    const auto entry = reinterpret_cast<int (*)()>(library.entry("ductra_test_entry"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(), 42);
    EXPECT_EQ(library.entry("GdiplusStartup"), nullptr);
  }
  for (const char16_t* name : {u"gdiplus", u"GDIPLUS.DLL", u"touch.dll", u""}) {
    Library library;
    EXPECT_NE(Library::load(root(), map, name, &library), Status::ok);
    EXPECT_FALSE(library.is_loaded());
  }
}

TEST_F(LibraryTest, FindsUnmappedLibrariesAmongTheDevicesFiles) {
  std::filesystem::copy_file(APPPLATFORM_TEST_LIBRARY, root().host() / "Program Files/Ductra/ductra_loc.0409.dll");
  Library library;
  ASSERT_EQ(Library::load(root(), LibraryMap::standard(), u"ductra_loc.0409.dll", &library), Status::ok);
  EXPECT_NE(library.entry("ductra_test_entry"), nullptr);
  EXPECT_EQ(Library::load(root(), LibraryMap::standard(), u"ductra_loc.0419.dll", &library), Status::not_found);
  EXPECT_TRUE(library.is_loaded());  // a failed load keeps what was loaded
}

}  // namespace
}  // namespace ductra::platform
