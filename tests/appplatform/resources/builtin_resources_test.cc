#include "appplatform/resources/builtin_resources.h"

#include <gtest/gtest.h>

#include "appplatform/draw/device_context.h"
#include "appplatform/draw/png_file.h"
#include "appplatform/resources/language_bundle.h"
#include "tests/appplatform/draw/golden.h"

namespace ductra::platform {
namespace {

TEST(BuiltinResourcesTest, TheProgramsOwnStringsAreRussianAsGiven) {
  struct Case {
    int id;
    const char16_t* text;
  };
  const Case cases[] = {
      {10, u"Ошибка: Не удалось создать Pen."},
      {16, u"Я пишу «%s» таким образом:"},
      {29, u"Выберите дополнительные символы, которые будет распознавать %s конфигурация Ductra:"},
      {31, u"%.2g с."},
      {49, u"В функции WaitForSingleObject возникла ошибка"},
      {200, u"Russian"},
      {201, u"Русский"},
      {257, u"Error occured in recognition core.\nRecomendations: %s\n\nFunction which handled the error: %s\nError code: %d"},
      {6100, u"Пустой"},
      {6141, u"Символы телефонного набора"},
      {6142, u"Датский"},
      {6204, u"Русская"},
      {6304, u"русских букв"},
      {40017, u"Интеллектуальный"},
  };
  for (const Case& c : cases) {
    const std::u16string* text = builtin_strings().find(static_cast<std::uint32_t>(c.id));
    ASSERT_NE(text, nullptr) << c.id;
    EXPECT_EQ(*text, c.text) << c.id;
  }
  for (int id = 6100; id <= 6142; ++id) EXPECT_NE(builtin_strings().find(static_cast<std::uint32_t>(id)), nullptr) << id;
  EXPECT_EQ(builtin_strings().find(6143), nullptr);
}

TEST(BuiltinResourcesTest, TheShippedBundlesLoadAndEnglishHasEveryString) {
  const auto english = LanguageBundle::load(shipped_bundle_directory() / bundle_file_name(1033));
  const auto russian = LanguageBundle::load(shipped_bundle_directory() / bundle_file_name(1049));
  ASSERT_NE(english, nullptr);
  ASSERT_NE(russian, nullptr);
  EXPECT_EQ(russian->strings().entries(), builtin_strings().entries());
  for (const auto& [id, text] : builtin_strings().entries()) {
    EXPECT_NE(english->strings().find(id), nullptr) << id;
  }
  // Beyond the program's strings English has only the texts of dialogs,
  // string d * 100 + n beside the title d * 100 of a dialog d (100 to 199).
  for (const auto& [id, text] : english->strings().entries()) {
    if (builtin_strings().find(id) != nullptr) continue;
    EXPECT_TRUE(id >= 10000 && id < 20000 && english->strings().find(id / 100 * 100) != nullptr) << id;
  }
  EXPECT_EQ(*english->strings().find(200), u"English");
}

TEST(BuiltinResourcesTest, BitmapsAndIconsHaveTheirSizes) {
  struct Case {
    int id;
    int side;
  };
  const Case bitmaps[] = {{136, 64}, {148, 20}, {154, 22}, {155, 30}, {156, 42}, {157, 54}, {158, 84}};
  for (const Case& c : bitmaps) {
    const auto bitmap = load_builtin_bitmap(c.id);
    ASSERT_NE(bitmap, nullptr) << c.id;
    EXPECT_EQ(bitmap->width(), c.side) << c.id;
    EXPECT_EQ(bitmap->height(), c.side) << c.id;
  }
  const Case icons[] = {{149, 22}, {125, 42}, {150, 84}};
  for (const Case& c : icons) {
    const auto icon = load_builtin_icon(c.id);
    ASSERT_NE(icon, nullptr) << c.id;
    EXPECT_EQ(icon->width(), c.side) << c.id;
  }
  EXPECT_EQ(load_builtin_bitmap(153), nullptr);
  EXPECT_EQ(load_builtin_icon(148), nullptr);
  // The help mark stands on black, the colour its painter makes transparent.
  const auto help = load_builtin_bitmap(kHelpBitmap);
  EXPECT_EQ(help->color_at(0, 0), rgb(0, 0, 0));
  EXPECT_NE(help->color_at(10, 10), rgb(0, 0, 0));
}

// Every picture side by side on grey, the icons drawn through their masks,
// kept in the test output to look at.
TEST(BuiltinResourcesTest, AllPicturesOnOneSheet) {
  auto sheet = Bitmap::create_rgb565(640, 100);
  DeviceContext dc(sheet);
  dc.fill_rect({0, 0, 640, 100}, solid_brush(rgb(170, 170, 170)));
  int x = 4;
  for (int id : {136, 148, 154, 155, 156, 157, 158}) {
    const auto bitmap = load_builtin_bitmap(id);
    dc.bit_blt(x, 4, bitmap->width(), bitmap->height(), DeviceContext(bitmap), 0, 0);
    x += bitmap->width() + 4;
  }
  for (int id : {149, 125, 150}) {
    const auto icon = load_builtin_icon(id);
    icon->draw(dc, x, 4);
    x += icon->width() + 4;
  }
  EXPECT_LE(x, 640);
  EXPECT_TRUE(write_png(*sheet, (testing::output_dir() / "builtin_pictures.png").string()));
}

}  // namespace
}  // namespace ductra::platform
