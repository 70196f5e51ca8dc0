// A dialog with the common title strip: control 1025 of its template is
// the title, drawn bold in dark blue on the static background, with a
// black line across the screen 8 pixels below it. The bold font goes with
// the title control when the dialog is destroyed.
#pragma once

#include "app/settings/dialog.h"

namespace ductra {

// The title's text colour and the gap between the title and its line.
inline constexpr platform::ColorRef kTitleTextColour = 0xC00000;
inline constexpr int kTitleLineGap = 8;

class TitledDialog : public Dialog {
 public:
  TitledDialog();

  int on_init_dialog() override;
  const platform::Brush* on_ctl_color(platform::DeviceContext* dc, platform::WindowHandle control, int kind) override;
  void on_paint(platform::DeviceContext& dc) override;

 protected:
  // The title's rectangle in client coordinates; empty without a title.
  platform::Rect title_rect();

 private:
  platform::Brush title_brush_;
};

}  // namespace ductra
