#include <gtest/gtest.h>

#include <atomic>

#include "app/settings/settings_sheet.h"
#include "appplatform/dialog/property_sheet.h"
#include "appplatform/thread.h"
#include "settings_fixture.h"

namespace ductra {
namespace {

using platform::Point;
using platform::PointerAction;
using platform::Rect;
using platform::WindowHandle;

Point centre_of(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class SheetByPenTest : public testing::SettingsTest {
 protected:
  // Pen down at `from`, moved to and lifted at `to`; returns when every
  // thread has handled it.
  void pen(Point from, Point to) {
    server_.pointer_input(PointerAction::down, from);
    settle();
    server_.pointer_input(PointerAction::move, to);
    server_.pointer_input(PointerAction::up, to);
    settle();
  }
  void settle() {
    for (bool pumped = true; pumped;) {
      clock_.advance(0);
      pumped = false;
      platform::Message m;
      while (system_.peek_message(m, true)) {
        system_.dispatch_message(m);
        pumped = true;
      }
    }
  }
  Rect rect_of(WindowHandle sheet, int id) {
    const auto rect = system_.window_rect(platform::shown_control(sheet, id));
    EXPECT_TRUE(rect) << "no control " << id;
    return rect.value_or(Rect{});
  }
};

TEST_F(SheetByPenTest, ThePenAloneRaisesThePenWidthAndChangesTheTimeOut) {
  Settings settings;
  settings.time_out = 400;
  settings.pen_width = 7;
  Configurations configurations{CharsetSet{3, 5}};
  SettingsSheet sheet(services_);
  std::atomic<int> result{-5};
  auto ui = platform::Thread::start([&]() -> std::uint32_t {
    result.store(sheet.show(WindowHandle{}, &settings, &configurations));
    return 0;
  });
  ASSERT_TRUE(ui);
  settle();
  const WindowHandle window = system_.find_window(platform::kDialogClass, u"Ductra 9.0");
  ASSERT_TRUE(window);

  // The upper half of the spinner raises the width by one.
  const Rect spinner = rect_of(window, 1072);
  pen({spinner.left + spinner.width() / 2, spinner.top + 2}, {spinner.left + spinner.width() / 2, spinner.top + 2});
  // The recognition tab (the third of four), then the delay dragged from
  // its start to position 10.
  const Rect tabs = *system_.window_rect(platform::dialog_item(window, platform::kSheetTabControl));
  const Point third_tab{tabs.left + tabs.width() * 5 / 8, (tabs.top + tabs.bottom) / 2};
  pen(third_tab, third_tab);
  const Rect delay = rect_of(window, 1047);
  const int left = delay.left + 6;
  const int right = delay.right - 7;
  pen({left, delay.top + 10}, {left + 9 * (right - left) / 29, delay.top + 10});
  const Rect ok = *system_.window_rect(platform::dialog_item(window, platform::IDOK));
  pen(centre_of(ok), centre_of(ok));
  EXPECT_TRUE(ui->has_ended());
  ui.reset();

  EXPECT_EQ(result.load(), 1);
  EXPECT_EQ(settings.pen_width, 8);
  EXPECT_EQ(settings.time_out, 1000);
  EXPECT_EQ(settings.sheet_page_number, 2);
}

TEST_F(SheetByPenTest, ThickPensGetRoundEndsOnTheSample) {
  // The sample at widths 3, 4 and 9: a plain line has square ends, so the
  // top row of the line reaches its first column; round ends leave that
  // corner empty.
  for (const int width : {3, 4, 9}) {
    Settings settings;
    settings.pen_width = width;
    settings.pen_color = platform::rgb(0, 0, 0);
    Configurations configurations{CharsetSet{3, 5}};
    SettingsSheet sheet(services_);
    testing::DialogDriver driver;
    driver.then([&](WindowHandle window) {
      const WindowHandle sample = platform::shown_control(window, 1082);
      paint_tree(window);
      const Rect r = *system_.window_rect(sample);
      const auto inked = [&](int x, int y) { return screen_->color_at(x, y) == platform::rgb(0, 0, 0); };
      int top = r.top;
      while (top < r.bottom && !inked(r.left + width, top)) ++top;
      int bottom = top;
      while (bottom < r.bottom && inked(r.left + width, bottom)) ++bottom;
      EXPECT_EQ(bottom - top, width) << width;
      EXPECT_EQ(inked(r.left, top), width <= 3) << width;
      EXPECT_TRUE(inked(r.left, (top + bottom) / 2)) << width;
      keep_picture(window, "sample_width_" + std::to_string(width) + ".png");
      act(window, platform::DialogAction::click(platform::IDCANCEL));
    });
    sheet.show(WindowHandle{}, &settings, &configurations);
  }
}

}  // namespace
}  // namespace ductra
