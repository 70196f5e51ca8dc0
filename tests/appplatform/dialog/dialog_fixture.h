// The fixture of the dialog tests: a window server on a virtual clock with a
// display bitmap the dialogs paint into, a pen that taps windows by their
// rectangles, and screenshots written to the test output folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../draw/golden.h"
#include "../virtual_time.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/png_file.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

inline Point centre_of(Rect r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Paints what waits in a window and then in each of its descendants,
// parents first, as the message loop would; call on the windows' thread.
inline void paint_tree_now(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  system.update_window(window);
  for (WindowHandle c = system.get_window(window, GW_CHILD); c; c = system.get_window(c, GW_HWNDNEXT)) paint_tree_now(c);
}

// A copy of the display as it is now.
inline std::shared_ptr<Bitmap> copy_of_display() {
  auto screen = display_bitmap();
  auto copy = Bitmap::create_rgb565(screen->width(), screen->height());
  for (int y = 0; y < screen->height(); ++y)
    for (int x = 0; x < screen->width(); ++x) copy->set_native(x, y, screen->native(x, y));
  return copy;
}

class DialogTest : public VirtualTimeTest {
 protected:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 320;

  DialogTest() { set_display(screen_); }
  ~DialogTest() override { set_display(nullptr); }

  // Pen down at `from`, moved to and lifted at `to` (screen coordinates);
  // returns when every thread, this one too, has handled it.
  void pen(Point from, Point to) {
    server_.pointer_input(PointerAction::down, from);
    settle();
    server_.pointer_input(PointerAction::move, to);
    server_.pointer_input(PointerAction::up, to);
    settle();
  }
  // Runs every thread until all wait, answering what other threads send to
  // this thread's windows meanwhile.
  void settle() {
    bool pumped = true;
    while (pumped) {
      clock_.advance(0);
      pumped = false;
      Message m;
      while (system_.peek_message(m, true)) {
        system_.dispatch_message(m);
        pumped = true;
      }
    }
  }
  // A tap on the middle of a dialog's control.
  void tap_item(WindowHandle dialog, int id) {
    const auto rect = system_.window_rect(dialog_item(dialog, id));
    ASSERT_TRUE(rect) << "no control " << id;
    pen(centre_of(*rect), centre_of(*rect));
  }
  // A tap on a control a person sees: the dialog's, or its shown page's.
  void tap_item_of(WindowHandle dialog, int id) {
    const auto rect = system_.window_rect(shown_control(dialog, id));
    ASSERT_TRUE(rect) << "no control " << id;
    pen(centre_of(*rect), centre_of(*rect));
  }
  // Characters typed on the keyboard reach the focused window.
  void type(std::u16string_view text) {
    for (char16_t c : text) system_.post_message(system_.focus(), WM_CHAR, c, 0);
    settle();
  }

  static void keep(const Bitmap& picture, const std::string& name) {
    EXPECT_TRUE(write_png(picture, (testing::output_dir() / name).string()));
  }
  static int differing_pixels(const Bitmap& a, const Bitmap& b) {
    int differ = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) differ += a.native(x, y) != b.native(x, y);
    return differ;
  }

  std::shared_ptr<Bitmap> screen_ = Bitmap::create_rgb565(kWidth, kHeight);
  WindowServer server_{kWidth, kHeight};
  WindowSystem system_{server_};
};

}  // namespace ductra::platform
