// The copybook on the real engine and its default database, where the
// build has the engine.
#ifdef INKREC_SHARED_LIBRARY

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <sstream>

#include "app/copybook/copybook_dialog.h"
#include "app/shell/engine_library.h"
#include "appplatform/dialog/list_view.h"
#include "tests/app/settings/settings_fixture.h"

namespace ductra {
namespace {

using platform::DialogAction;
using platform::WindowHandle;

constexpr std::uint32_t kEnglish = 5;

class CopybookOnEngineTest : public testing::SettingsTest {
 protected:
  CopybookOnEngineTest() {
    data_dir_ = root_.host() / "Program Files" / "Ductra";
    std::filesystem::copy_file(DUCTRA_DEFAULT_DATA, data_dir_ / "qlmain.dt");
    start_engine();
  }
  ~CopybookOnEngineTest() override { engine_->free(); }

  void start_engine() { ASSERT_EQ(engine_->init((data_dir_ / "qlmain.dt").u16string()), 0); }
  void restart_engine() {
    ASSERT_EQ(engine_->free(), 0);
    start_engine();
  }

  // Runs the copybook at English, with `step` acting on it, then OK.
  void run(const std::function<void(WindowHandle)>& step) {
    driver_.then([&](WindowHandle dialog) {
      step(dialog);
      act(dialog, DialogAction::click(platform::IDOK));
    });
    CopybookDialog dialog(kEnglish, services_, help_);
    EXPECT_EQ(dialog.run(WindowHandle{}), 1);
  }
  static void choose_letter(WindowHandle dialog, char16_t letter) {
    const auto count = static_cast<int>(ask(dialog, kLetterList, platform::LVM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
      platform::ListViewItem item;
      item.mask = platform::LVIF_PARAM;
      item.item = i;
      ask(dialog, kLetterList, platform::LVM_GETITEM, 0, reinterpret_cast<platform::LParam>(&item));
      if (item.param == letter) {
        act(dialog, DialogAction::pick(kLetterList, i));
        return;
      }
    }
    ADD_FAILURE() << "no letter " << static_cast<int>(letter);
  }
  // The uses of the engine's variants of an English letter.
  std::vector<std::uint32_t> uses_of(char16_t letter) {
    std::vector<std::uint32_t> uses;
    std::uint32_t count = 0;
    engine_->variant_count(&count);
    for (std::uint32_t i = 0; i < count; ++i) {
      crVariant v{};
      engine_->variant_by_index(i, &v);
      if (v.idSet == kEnglish && v.menuc == letter) uses.push_back(v.idUse);
    }
    return uses;
  }
  std::string user_variants_file() const {
    std::ifstream in(data_dir_ / "user.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Whether the cell of variant `item` holds any black pixel.
  bool inked(WindowHandle dialog, int item) {
    platform::Rect cell{platform::LVIR_ICON, 0, 0, 0};
    const WindowHandle list = platform::shown_control(dialog, kVariantList);
    system_.send_message(list, platform::LVM_GETITEMRECT, static_cast<platform::WParam>(item),
                         reinterpret_cast<platform::LParam>(&cell));
    const platform::Point origin = *system_.client_to_screen(list, {cell.left, cell.top});
    for (int y = 0; y < cell.height(); ++y) {
      for (int x = 0; x < cell.width(); ++x) {
        if (screen_->color_at(origin.x + x, origin.y + y) == platform::rgb(0, 0, 0)) return true;
      }
    }
    return false;
  }

  static std::unique_ptr<EngineLibrary> open_engine() {
    std::string error;
    std::unique_ptr<EngineLibrary> library = EngineLibrary::open(INKREC_SHARED_LIBRARY, &error);
    if (!library) throw std::runtime_error(error);
    return library;
  }

  std::unique_ptr<EngineLibrary> library_ = open_engine();
  std::unique_ptr<Engine> engine_ = std::make_unique<Engine>(*library_);
  std::filesystem::path data_dir_;
  std::vector<std::u16string> engine_errors_;
  CopybookServices services_{*engine_, [this](const ExceptionInfo& info) { engine_errors_.emplace_back(info.where); },
                             [](std::uint32_t, std::uint32_t) { ADD_FAILURE() << "the choices were not saved"; }};
  testing::DialogDriver driver_;
};

TEST_F(CopybookOnEngineTest, TheVariantsOfALetterAreDrawnFromTheDefaultDatabase) {
  run([&](WindowHandle dialog) {
    choose_letter(dialog, u'i');
    EXPECT_EQ(text(dialog, kVariantCaption), u"Я пишу «i» таким образом:");
    ASSERT_EQ(ask(dialog, kVariantList, platform::LVM_GETITEMCOUNT), 2)
        << "the variants of one group, and the complex variant of a body and a dot";
    paint_tree(dialog);
    EXPECT_TRUE(inked(dialog, 0));
    EXPECT_TRUE(inked(dialog, 1));
    const std::filesystem::path dir = std::filesystem::path(APP_TEST_OUTPUT_DIR) / "copybook";
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(platform::write_png(*screen_, (dir / "letter_i_on_default_database.png").string()));
  });
  EXPECT_TRUE(engine_errors_.empty());
}

TEST_F(CopybookOnEngineTest, AChosenUseSurvivesARestartOfTheEngineAndRestoreTakesItBack) {
  const std::size_t group = uses_of(u'i').size();
  ASSERT_GT(group, 1u);
  ASSERT_EQ(uses_of(u'i'), std::vector<std::uint32_t>(group, 0u));
  run([&](WindowHandle dialog) {
    choose_letter(dialog, u'i');
    act(dialog, DialogAction::click(kUseNeverButton));
  });
  EXPECT_EQ(std::ranges::count(user_variants_file(), '\n'), static_cast<std::ptrdiff_t>(group)) << "a line for each variant of the group";
  restart_engine();
  EXPECT_EQ(uses_of(u'i'), std::vector<std::uint32_t>(group, 2u)) << "read back from the user's file";

  driver_.answer_box(platform::IDYES);
  run([&](WindowHandle dialog) {
    choose_letter(dialog, u'i');
    EXPECT_TRUE(checked(dialog, kUseNeverButton));
    act(dialog, DialogAction::click(kRestoreButton));
    EXPECT_EQ(uses_of(u'i'), std::vector<std::uint32_t>(group, 0u));
  });
  EXPECT_EQ(user_variants_file(), "") << "nothing but the factory choices";
  restart_engine();
  EXPECT_EQ(uses_of(u'i'), std::vector<std::uint32_t>(group, 0u));
  EXPECT_TRUE(engine_errors_.empty());
}

}  // namespace
}  // namespace ductra

#endif
