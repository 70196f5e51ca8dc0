#include "app/windows/prompt_window.h"

#include <gtest/gtest.h>

#include <string>

#include "appplatform/draw/fixed_test_font.h"
#include "tests/app/windows/small_window_fixture.h"

namespace ductra {
namespace {

using platform::Point;
using testing::Screen;
using testing::SmallWindowTest;

// The fixed test font: every unit 6 pixels wide, lines 10 high.
PromptWindow::Look fixed_font_look() {
  PromptWindow::Look look;
  look.font = platform::create_font({0, platform::FW_NORMAL, false, false, platform::kFixedTestFace});
  return look;
}

class PromptWindowTest : public SmallWindowTest {
 protected:
  explicit PromptWindowTest(Screen screen = {}) : SmallWindowTest(screen) {
    EXPECT_TRUE(prompt_.create(shell_window_, {20, 30}, fixed_font_look(), u"", false));
  }

  // The shown lines.
  std::vector<std::u16string> lines(std::u16string_view text) {
    std::vector<std::u16string> shown;
    for (const WrappedLine& line : prompt_.layout().lines) shown.emplace_back(text.substr(line.start, line.length));
    return shown;
  }

  PromptWindow prompt_{system_, CtlColorRegistry::instance()};
};

class DensePromptWindowTest : public PromptWindowTest {
 protected:
  DensePromptWindowTest() : PromptWindowTest(Screen{480, 640, 192, std::nullopt}) {}
};

// The bubble is the widest line plus 4 pixels wide and the lines plus 2
// high, border included, in a box of 150 x 100 text pixels.
TEST_F(PromptWindowTest, WrapCasesWithTheFixedAdvanceFont) {
  const std::u16string long_word = u"abcdefghijklmnopqrstuvwxyz0123";
  struct Case {
    const char* what;
    std::u16string text;
    std::vector<std::u16string> lines;
    Point size;
  };
  const Case cases[] = {
      {"empty", u"", {}, {4, 2}},
      {"one line", u"hello world", {u"hello world"}, {70, 12}},
      {"words wrap before the one that reaches 150",
       u"alpha bravo charl delta echoo foxtr golfs hotel india julie",
       {u"alpha bravo charl delta ", u"echoo foxtr golfs hotel ", u"india julie"},
       {142, 32}},
      {"a word wider than the box breaks at the unit that reaches 150", long_word,
       {u"abcdefghijklmnopqrstuvwx", u"yz0123"},
       {148, 22}},
      {"a long word after a short one starts its own line", u"ab " + long_word,
       {u"ab ", u"abcdefghijklmnopqrstuvwx", u"yz0123"},
       {148, 32}},
      {"a newline ends a line that had room", u"ab\ncd", {u"ab", u"cd"}, {16, 22}},
      {"leading spaces belong to the line", u"   x", {u"   x"}, {28, 12}},
      {"lines past 100 pixels are left out", u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11",
       {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"},
       {16, 102}},
  };
  for (const Case& c : cases) {
    prompt_.set_text(c.text);
    EXPECT_EQ(lines(c.text), c.lines) << c.what;
    EXPECT_EQ(prompt_.size(), c.size) << c.what;
  }
}

TEST_F(PromptWindowTest, OnlyTheFirst256UnitsAreMeasured) {
  PromptWindow::Look wide = fixed_font_look();
  wide.max_width = 1000;
  wide.max_height = 1000;
  PromptWindow bubble(system_, CtlColorRegistry::instance());
  ASSERT_TRUE(bubble.create(shell_window_, {0, 0}, wide, std::u16string(300, u'w'), false));
  std::vector<std::size_t> lengths;
  for (const WrappedLine& line : bubble.layout().lines) lengths.push_back(line.length);
  EXPECT_EQ(lengths, (std::vector<std::size_t>{166, 90})) << "166 units reach 996 pixels";
}

TEST_F(DensePromptWindowTest, At192DotsPerInchTheBubbleIsTwiceTheTextPlusItsMargins) {
  prompt_.set_text(u"hello world");
  EXPECT_EQ(prompt_.size(), (Point{2 * 66 + 8, 2 * 10 + 4}));
}

TEST_F(PromptWindowTest, TheBubblePaintsInItsOwnColoursThroughItsOwner) {
  prompt_.set_background(platform::rgb(255, 255, 160));
  prompt_.set_text_colour(platform::rgb(200, 0, 0));
  prompt_.set_text(u"2+3=5\nok");
  prompt_.move_to({10, 12});
  prompt_.show(true);
  pump();
  EXPECT_EQ(system_.window_rect(prompt_.window()), (platform::Rect{10, 12, 10 + 34, 12 + 22}));
  const auto picture = snapshot(prompt_.window(), "prompt_bubble");
  testing::expect_picture(*picture, "prompt_bubble");
  EXPECT_TRUE(has_colour(*picture, 0, 0, platform::sys_color(platform::COLOR_WINDOWFRAME))) << "the thin border";
  EXPECT_TRUE(has_colour(*picture, 1, 1, platform::rgb(255, 255, 160)));
}

TEST_F(PromptWindowTest, TheColourEntryLivesAsLongAsTheWindow) {
  const std::size_t with_bubble = CtlColorRegistry::instance().size();
  const platform::WindowHandle window = prompt_.window();
  prompt_.destroy();
  EXPECT_EQ(CtlColorRegistry::instance().size(), with_bubble - 1);
  EXPECT_EQ(CtlColorRegistry::instance().dispatch(platform::WM_CTLCOLORSTATIC, 1, window.id), 0);
}

const platform::Brush* red(platform::DeviceContext&, void*) {
  static const platform::Brush brush = platform::solid_brush(platform::rgb(255, 0, 0));
  return &brush;
}
const platform::Brush* blue(platform::DeviceContext&, void*) {
  static const platform::Brush brush = platform::solid_brush(platform::rgb(0, 0, 255));
  return &brush;
}

TEST(CtlColorRegistryTest, OneEntryPerControlAndOnlyForTheStaticColourRequest) {
  CtlColorRegistry registry;
  platform::DeviceContext dc(nullptr);
  const auto wparam = reinterpret_cast<platform::WParam>(&dc);
  const auto answer = [&](std::uint32_t control) {
    const auto* brush = reinterpret_cast<const platform::Brush*>(
        registry.dispatch(platform::WM_CTLCOLORSTATIC, wparam, static_cast<platform::LParam>(control)));
    return brush != nullptr ? brush->color : platform::CLR_INVALID;
  };
  registry.add({7}, &red, nullptr);
  registry.add({7}, &blue, nullptr);
  registry.add({8}, &blue, nullptr);
  registry.add({9}, &red, nullptr);
  EXPECT_EQ(registry.size(), 3u) << "registering a control twice keeps one entry";
  EXPECT_EQ(answer(7), platform::rgb(255, 0, 0)) << "the first routine stays";
  registry.remove({42});
  EXPECT_EQ(registry.size(), 3u) << "removing an unknown control changes nothing";
  registry.remove({8});
  EXPECT_EQ(answer(8), platform::CLR_INVALID);
  EXPECT_EQ(answer(9), platform::rgb(255, 0, 0));
  EXPECT_EQ(registry.dispatch(platform::WM_CTLCOLORMSGBOX, wparam, 7), 0) << "other messages are not answered";
}

}  // namespace
}  // namespace ductra
