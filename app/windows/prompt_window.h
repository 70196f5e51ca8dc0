// The prompt bubble: a small bordered pop-up of the class "STATIC" that
// shows a text near the ink for a moment and never takes the focus. It
// sizes itself to its text, word-wrapped (word_wrap.h) into its maximum
// box, scaled by the screen's dots per inch / 96 (at least 1), and paints
// in its own colours by answering, through the CtlColorRegistry, the
// colour request its owner (the shell window) receives for it.
//
// At most 256 units of the text are measured and shown; lines that would
// pass the maximum height are left out. The registry entry lives exactly as
// long as the window. UI thread only; the controller owns one.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/windows/ctl_color_registry.h"
#include "app/windows/word_wrap.h"
#include "appplatform/draw/font.h"
#include "appplatform/window_system.h"

namespace ductra {

class PromptWindow {
 public:
  static constexpr std::size_t kMeasuredUnits = 256;

  PromptWindow(platform::WindowSystem& windows, CtlColorRegistry& colours);
  ~PromptWindow();
  PromptWindow(const PromptWindow&) = delete;
  PromptWindow& operator=(const PromptWindow&) = delete;

  struct Look {
    int max_width = 150;
    int max_height = 100;
    platform::ColorRef background = platform::rgb(255, 255, 255);
    platform::ColorRef text_colour = platform::rgb(0, 0, 0);
    std::shared_ptr<const platform::Font> font;  // null: the system font
  };

  // Creates the bubble owned by `owner` at (x, y); false when the window
  // cannot be made.
  bool create(platform::WindowHandle owner, platform::Point at, const Look& look, std::u16string_view text, bool shown);
  void set_text(std::u16string_view text);
  void set_background(platform::ColorRef colour);
  void set_text_colour(platform::ColorRef colour);
  void move_to(platform::Point at);
  // The window's width and height, border included.
  platform::Point size() const;
  void show(bool shown);
  void destroy();

  // The bubble's colours on `dc`; its background brush.
  static const platform::Brush* on_ctl_color(platform::DeviceContext& dc, void* bubble);

  platform::WindowHandle window() const { return window_; }
  const WrappedText& layout() const { return layout_; }

 private:
  static platform::MessageResult procedure(platform::WindowHandle window, std::uint32_t message,
                                           platform::WParam wparam, platform::LParam lparam);
  void lay_out();
  void paint();
  void repaint_now();

  platform::WindowSystem& windows_;
  CtlColorRegistry& colours_;
  platform::WindowHandle window_;
  int max_width_ = 150;
  int max_height_ = 100;
  platform::ColorRef background_ = platform::rgb(255, 255, 255);
  platform::Brush brush_ = platform::solid_brush(background_);
  platform::ColorRef text_colour_ = platform::rgb(0, 0, 0);
  std::u16string text_;
  WrappedText layout_;
};

}  // namespace ductra
