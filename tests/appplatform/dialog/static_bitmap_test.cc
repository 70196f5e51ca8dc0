#include <gtest/gtest.h>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/full_screen_dialog.h"
#include "appplatform/dialog/menu_bar.h"
#include "appplatform/message_box.h"
#include "appplatform/resources/builtin_resources.h"
#include "dialog_fixture.h"

namespace ductra::platform {
namespace {

MessageResult quiet_procedure(WindowHandle, std::uint32_t, WParam, LParam) { return 0; }

TEST_F(DialogTest, ABitmapStaticShowsTheBuiltInBitmapItsTextNames) {
  DialogTemplate t;
  t.title = u"Pictures";
  t.style = WS_VISIBLE;
  t.frame = {0, 0, kWidth, 200};
  t.items = {{1, kStaticClass, u"#136", SS_BITMAP, {10, 10, 80, 80}},
             {2, kStaticClass, u"#9999", SS_BITMAP, {100, 10, 170, 80}},
             {3, kStaticClass, u"#13x", SS_BITMAP, {10, 100, 80, 170}}};
  const WindowHandle dialog = create_dialog(t, {}, quiet_procedure, 0);
  ASSERT_TRUE(dialog);
  paint_tree_now(dialog);
  const auto picture = load_builtin_bitmap(kProductPictureBitmap);
  int same = 0;
  for (int y = 0; y < picture->height(); ++y)
    for (int x = 0; x < picture->width(); ++x) same += screen_->native(10 + x, 10 + y) == picture->native(x, y);
  EXPECT_EQ(same, picture->width() * picture->height());
  // An unknown bitmap or a name that is no number draws nothing, not its text.
  const auto background = screen_->native_of(sys_color(COLOR_STATIC));
  for (const Point p : {Point{105, 15}, Point{150, 60}, Point{15, 105}, Point{60, 150}}) {
    EXPECT_EQ(screen_->native(p.x, p.y), background) << p.x << "," << p.y;
  }
  system_.destroy_window(dialog);
}

TEST_F(DialogTest, ASheetsPageKeepsItsPlaceAndGetsNoButtonOrBarOfItsOwn) {
  DialogTemplate owner_template;
  owner_template.frame = {0, 0, kWidth, kHeight};
  const WindowHandle owner = create_dialog(owner_template, {}, quiet_procedure, 0);
  DialogTemplate page_template;
  page_template.style = WS_CHILD;
  page_template.frame = {0, 24, kWidth, 200};
  const WindowHandle page = create_dialog(page_template, owner, quiet_procedure, 0);
  ASSERT_TRUE(page);
  EXPECT_TRUE(init_full_screen_dialog(page, SHIDIM_FLAGS, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_EMPTYMENU));
  EXPECT_EQ(*system_.window_rect(page), (Rect{0, 24, kWidth, 200}));
  EXPECT_FALSE(dialog_item(page, IDOK));
  EXPECT_FALSE(system_.find_window(kMenuBarClass, std::nullopt));
  system_.destroy_window(owner);
}

}  // namespace
}  // namespace ductra::platform
