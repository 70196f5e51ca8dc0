#include "app/settings/help_titled_dialog.h"

#include <algorithm>

#include "appplatform/draw/display.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr int kIconSide = 20;
constexpr int kRightMargin = 15;
constexpr int kAboveTitle = 4;
constexpr int kBaseDotsPerInch = 96;

int display_scale() { return std::max(1, platform::display_dots_per_inch() / kBaseDotsPerInch); }

}  // namespace

platform::Rect help_icon_square(int screen_width, int scale, int title_top) {
  const int side = kIconSide * scale;
  const int left = screen_width - side - kRightMargin;
  const int top = title_top - kAboveTitle;
  return {left, top, left + side, top + side};
}

platform::Rect HelpTitledDialog::icon_square() {
  return help_icon_square(platform::WindowSystem::current().screen().width, display_scale(), title_rect().top);
}

void HelpTitledDialog::on_paint(platform::DeviceContext& dc) {
  if (const std::shared_ptr<platform::Bitmap> mark = platform::load_builtin_bitmap(platform::kHelpBitmap)) {
    const platform::DeviceContext source(mark);
    dc.transparent_blt(icon_square(), source, {0, 0, kIconSide, kIconSide}, platform::rgb(0, 0, 0));
  }
  TitledDialog::on_paint(dc);
}

int HelpTitledDialog::on_lbutton_down(platform::WParam, int x, int y) {
  if (icon_square().contains({x, y})) on_help();
  return 0;
}

}  // namespace ductra
