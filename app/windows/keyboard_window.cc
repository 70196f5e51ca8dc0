#include "app/windows/keyboard_window.h"
#include "app/windows/window_owner.h"

#include <array>
#include <string>
#include <utility>

#include "app/shell/shell_messages.h"
#include "app/windows/key_symbols.h"
#include "app/windows/window_paint.h"
#include "appplatform/draw/color.h"
#include "appplatform/draw/font.h"

namespace ductra {
namespace {

using platform::MessageResult;
using platform::Point;
using platform::Rect;

constexpr std::array<char16_t, KeyboardWindow::kKeysPerRow> kKeyCharacters = {u'.', u',', u' ', u':', u'\'', u'\b'};
constexpr int kSpaceKey = 2;
constexpr int kBackspaceKey = 5;
constexpr platform::ColorRef kRowColour = platform::rgb(32, 32, 255);
constexpr platform::ColorRef kLineColour = platform::rgb(238, 238, 255);
constexpr platform::ColorRef kWhite = platform::rgb(255, 255, 255);
constexpr int kLineWidth = 2;
constexpr int kSpaceInset = 8;
constexpr int kArrowInset = 4;

// The left edge of key i's cell.
int cell_left(int i, int width, int keys) { return i * (width - 4) / keys + 2; }

}  // namespace

KeyboardWindow::KeyboardWindow(platform::WindowSystem& windows, platform::WindowHandle shell_window,
                               const ScreenInfo& screen)
    : windows_(windows), shell_window_(shell_window), screen_(screen) {}

KeyboardWindow::~KeyboardWindow() { destroy(); }

bool KeyboardWindow::create() {
  windows_.register_class({kKeyRowClass, &owner_procedure<KeyboardWindow>, 0, 0});
  const int width = windows_.system_metric(platform::SM_CXSCREEN);
  const int height = windows_.system_metric(platform::SM_CYSCREEN);
  key_height_ = screen_.bottom_bar_height();
  key_width_ = width / keys_per_row_;
  platform::CreateWindowParams params;
  params.ex_style = platform::WS_EX_NOACTIVATE | platform::WS_EX_TOPMOST;
  params.class_name = kKeyRowClass;
  params.style = platform::WS_POPUP;
  params.x = 0;
  params.y = height - rows_ * key_height_ - key_height_;
  params.width = width;
  params.height = rows_ * key_height_;
  params.parent = windows_.find_window(std::u16string_view(u"HHTaskBar"), std::nullopt);
  window_ = windows_.create_window(params);
  if (!window_) return false;
  windows_.set_user_data(window_, reinterpret_cast<std::uintptr_t>(this));
  enabled_ = true;
  return true;
}

void KeyboardWindow::destroy() {
  if (!window_) return;
  windows_.set_user_data(window_, 0);
  windows_.destroy_window(window_);
  window_ = {};
  pressed_ = repeating_ = false;
}

void KeyboardWindow::show(bool enabled, bool shown) {
  enabled_ = enabled;
  if (!window_) return;
  windows_.show_window(window_, enabled && shown ? platform::SW_SHOWNA : platform::SW_HIDE);
  repaint_now();
}

int KeyboardWindow::key_at(Point client) const {
  return client.x / key_width_ + (client.y / key_height_) * keys_per_row_;
}

char16_t KeyboardWindow::key_character(int index) {
  return index >= 1 && index < kKeysPerRow ? kKeyCharacters[static_cast<std::size_t>(index)] : u'.';
}

MessageResult KeyboardWindow::handle(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
  switch (message) {
    case platform::WM_SETTINGCHANGE:
      if (wparam == platform::SETTINGCHANGE_RESET) {
        on_rotation();
      } else {
        paint();
      }
      return 0;
    case platform::WM_PAINT:
      paint();
      return 0;
    case platform::WM_LBUTTONDOWN:
      on_press(platform::param_point(lparam));
      return 0;
    case platform::WM_MOUSEMOVE:
      on_move(platform::param_point(lparam));
      return 0;
    case platform::WM_LBUTTONUP:
      on_release(platform::param_point(lparam));
      return 0;
    default:
      return windows_.default_procedure(window_, message, wparam, lparam);
  }
}

void KeyboardWindow::on_press(Point at) {
  pressed_ = true;
  windows_.set_capture(window_);
  if (key_at(at) == kBackspaceKey) {
    repeating_ = true;
    post(WM_DUCTRA_REPEAT_START, 0);
  }
}

void KeyboardWindow::on_move(Point at) {
  if (pressed_ && !inside(at)) end_repeat();
}

void KeyboardWindow::on_release(Point at) {
  const bool was_pressed = std::exchange(pressed_, false);
  if (inside(at)) post(WM_DUCTRA_KEY, key_character(key_at(at)));
  repeating_ = false;
  post(WM_DUCTRA_REPEAT_STOP, 0);
  if (was_pressed) windows_.release_capture();
}

void KeyboardWindow::end_repeat() {
  if (!std::exchange(repeating_, false)) return;
  post(WM_DUCTRA_REPEAT_STOP, 0);
}

void KeyboardWindow::on_rotation() {
  const int width = windows_.system_metric(platform::SM_CXSCREEN);
  const int height = windows_.system_metric(platform::SM_CYSCREEN);
  key_width_ = width / keys_per_row_;
  windows_.move_window(window_, 0, height - screen_.bottom_bar_height() - rows_ * key_height_, width,
                       rows_ * key_height_, true);
  repaint_now();
}

void KeyboardWindow::paint() {
  WindowPaint canvas(windows_, window_);
  platform::DeviceContext& dc = canvas.dc();
  const Rect client = canvas.client();
  const int width = client.width(), height = client.height();
  dc.fill_rect(client, platform::solid_brush(kRowColour));
  dc.select_pen(platform::solid_pen(kLineWidth, kLineColour));
  dc.select_brush(platform::Brush{kRowColour, true});
  dc.rectangle(0, 0, width, height);
  for (int i = 1; i < keys_per_row_; ++i) {
    const int x = cell_left(i, width, keys_per_row_);
    dc.move_to(x, 0);
    dc.line_to(x, height);
  }
  dc.set_bk_mode(platform::TRANSPARENT);
  dc.select_pen(platform::solid_pen(kLineWidth, kWhite));
  dc.set_text_color(kWhite);
  dc.select_font(platform::create_font({3 * height / 4, platform::FW_BOLD, false, false, u"Tahoma"}));
  for (int i = 0; i < keys_per_row_; ++i) {
    const Rect cell{cell_left(i, width, keys_per_row_), 0, cell_left(i + 1, width, keys_per_row_), height};
    if (i == kSpaceKey) {
      draw_space_symbol(dc, cell, kSpaceInset, height / 8);
    } else if (i == kBackspaceKey) {
      draw_backspace_arrow(dc, cell, kArrowInset);
    } else {
      const char16_t character = key_character(i);
      dc.text_out((cell.left + cell.right) / 2, 0, std::u16string_view(&character, 1), platform::ETO_CLIPPED, &cell);
    }
  }
}

void KeyboardWindow::repaint_now() {
  windows_.invalidate_rect(window_, std::nullopt, true);
  windows_.update_window(window_);
}

bool KeyboardWindow::inside(Point client) const {
  const auto area = windows_.client_rect(window_);
  return area && area->contains(client);
}

void KeyboardWindow::post(std::uint32_t message, platform::WParam wparam) {
  windows_.post_message(shell_window_, message, wparam, 0);
}

}  // namespace ductra
