#include "app/settings/titled_dialog.h"

#include "app/common/ui_helpers.h"
#include "appplatform/draw/color.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

constexpr int kStaticKind = 5;

}  // namespace

TitledDialog::TitledDialog() : title_brush_(platform::sys_color_brush(platform::COLOR_STATIC)) {}

int TitledDialog::on_init_dialog() {
  set_dialog_item_bold(window(), kTitleControl);
  return Dialog::on_init_dialog();
}

const platform::Brush* TitledDialog::on_ctl_color(platform::DeviceContext* dc, platform::WindowHandle control,
                                                  int kind) {
  if (kind != kStaticKind || !control || control != item(kTitleControl)) return nullptr;
  if (dc != nullptr) dc->set_text_color(kTitleTextColour);
  return &title_brush_;
}

platform::Rect TitledDialog::title_rect() {
  platform::Rect title{};
  get_control_rect(kTitleControl, title);
  return title;
}

void TitledDialog::on_paint(platform::DeviceContext& dc) {
  const platform::Rect title = title_rect();
  if (title.width() == 0 && title.height() == 0) return;
  const int y = title.bottom + kTitleLineGap;
  const platform::Pen previous = dc.select_pen(platform::solid_pen(1, platform::rgb(0, 0, 0)));
  dc.move_to(0, y);
  dc.line_to(platform::WindowSystem::current().screen().width, y);
  dc.select_pen(previous);
}

}  // namespace ductra
