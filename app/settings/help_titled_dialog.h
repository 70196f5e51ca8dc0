// A titled dialog with a help mark at the right end of its title strip: a
// tap on the mark asks the dialog for its help (on_help).
//
// The mark is bitmap 148 (20 x 20, black transparent) drawn into a square
// of 20 * s pixels (s the display's dots per inch / 96, at least 1) whose
// left edge is 20 * s + 15 pixels from the screen's right edge and whose
// top is 4 pixels above the title.
#pragma once

#include "app/settings/titled_dialog.h"

namespace ductra {

// The mark's square for a screen `screen_width` pixels wide at scale
// `scale`, with the title's top at `title_top` (client coordinates).
platform::Rect help_icon_square(int screen_width, int scale, int title_top);

class HelpTitledDialog : public TitledDialog {
 public:
  void on_paint(platform::DeviceContext& dc) override;
  int on_lbutton_down(platform::WParam keys, int x, int y) override;

 private:
  platform::Rect icon_square();
};

}  // namespace ductra
