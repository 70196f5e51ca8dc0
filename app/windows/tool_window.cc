#include "app/windows/tool_window.h"
#include "app/windows/window_owner.h"

#include <algorithm>
#include <cstdlib>

#include "app/shell/shell_messages.h"
#include "app/windows/tool_faces.h"
#include "app/windows/window_paint.h"
#include "appplatform/clock.h"
#include "appplatform/draw/display.h"
#include "appplatform/hold_gesture.h"
#include "appplatform/resources/builtin_resources.h"

namespace ductra {
namespace {

using platform::MessageResult;
using platform::Point;
using platform::Rect;

constexpr char16_t kNoLabelUnit = 0xFFFF;
constexpr std::size_t kLabelUnits = 3;
constexpr platform::ColorRef kGrey = platform::rgb(170, 170, 170);
// WM_DUCTRA_TOGGLE_KEYBOARD and WM_DUCTRA_NEXT_CONFIGURATION carry the
// button's press (513) or release (514) in lParam.
constexpr platform::LParam kButtonPressed = 513;
constexpr platform::LParam kButtonReleased = 514;
constexpr std::uint32_t kPlaceFlags = platform::SWP_NOSIZE | platform::SWP_NOACTIVATE;

std::array<char16_t, 4> unset_label() { return {kNoLabelUnit, kNoLabelUnit, kNoLabelUnit, 0}; }

std::u16string_view shown_part(std::u16string_view label) { return label.substr(0, std::min(label.size(), kLabelUnits)); }

bool same_label(const std::array<char16_t, 4>& stored, std::u16string_view label) {
  return std::u16string_view(stored.data()) == shown_part(label);
}

}  // namespace

ToolWindow::ToolWindow(ToolWindowHost host) : host_(host), label_(unset_label()) {}

ToolWindow::~ToolWindow() { destroy(); }

int ToolWindow::icon_size() const { return tool_icon_size(size_index_); }

ToolScreen ToolWindow::screen_now() const {
  ToolScreen screen;
  screen.width = host_.windows.system_metric(platform::SM_CXSCREEN);
  screen.height = host_.windows.system_metric(platform::SM_CYSCREEN);
  screen.bottom_bar_height = host_.screen.bottom_bar_height();
  screen.display_scale = std::max(host_.screen.logical_pixels_x() / 96, 1);
  screen.os_major_version = host_.os_major_version;
  const platform::WindowHandle sip_button = host_.windows.find_window(std::u16string_view(u"MS_SIPBUTTON"), std::nullopt);
  if (const auto rect = sip_button ? host_.windows.window_rect(sip_button) : std::nullopt) {
    screen.sip_button_left = rect->left;
  }
  return screen;
}

bool ToolWindow::create_from_settings(const Settings& settings) {
  const bool landscape = host_.windows.system_metric(platform::SM_CYSCREEN) <
                         host_.windows.system_metric(platform::SM_CXSCREEN);
  return landscape ? init(settings.large_moving_icon != 0, settings.icon_landscape_x, settings.icon_landscape_y)
                   : init(settings.large_moving_icon != 0, settings.icon_portrait_x, settings.icon_portrait_y);
}

bool ToolWindow::init(bool movable, int x, int y) {
  destroy();
  movable_ = movable;
  label_ = unset_label();
  default_icon_ = platform::load_builtin_icon(tool_default_icon_id(screen_now().display_scale, movable_));
  if (!create(x, y)) return false;
  icon_ = default_icon_;
  repaint_now();
  return true;
}

bool ToolWindow::create(int x, int y) {
  host_.windows.register_class({kToolWindowClass, &owner_procedure<ToolWindow>, 0, 0});
  const ToolScreen screen = screen_now();
  size_index_ = tool_size_index(screen.bottom_bar_height, movable_);
  const int s = icon_size();
  const Point place =
      movable_ && tool_position_usable(screen, x, y) ? Point{x, y} : tool_default_position(screen, s);
  platform::CreateWindowParams params;
  params.ex_style = platform::WS_EX_NOACTIVATE | platform::WS_EX_TOPMOST;
  params.class_name = kToolWindowClass;
  params.style = platform::WS_POPUP | platform::WS_VISIBLE;
  params.x = place.x;
  params.y = place.y;
  params.width = tool_collapsed_width(s);
  params.height = s;
  params.parent = host_.windows.find_window(std::u16string_view(u"HHTaskBar"), std::nullopt);
  window_ = host_.windows.create_window(params);
  if (!window_) return false;
  host_.windows.set_user_data(window_, reinterpret_cast<std::uintptr_t>(this));
  visible_ = true;
  timer_ = host_.windows.set_timer(window_, kTopmostTimer, kTopmostMs);
  return true;
}

void ToolWindow::destroy() {
  if (window_) {
    if (timer_ != 0) host_.windows.kill_timer(window_, kTopmostTimer);
    host_.windows.set_user_data(window_, 0);
    host_.windows.destroy_window(window_);
  }
  window_ = {};
  timer_ = 0;
  visible_ = pressed_ = dragging_ = false;
  icon_.reset();
  default_icon_.reset();
}

void ToolWindow::update(std::u16string_view label, bool show) {
  if (!window_) return;
  if (!movable_) {
    const Point place = tool_default_position(screen_now(), icon_size());
    host_.windows.move_window(window_, place.x, place.y, tool_collapsed_width(icon_size()), icon_size(), true);
  }
  set_visible(show);
  if (!show || same_label(label_, label)) return;
  const std::u16string_view shown = shown_part(label);
  label_ = {};
  std::ranges::copy(shown, label_.begin());
  icon_ = shown.empty() ? default_icon_ : render_label_icon(shown, size_index_);
  repaint_now();
}

void ToolWindow::set_visible(bool show) {
  if (!window_) return;
  fit_to_state();
  if (show == visible_) return;
  host_.windows.show_window(window_, show ? platform::SW_SHOWNA : platform::SW_HIDE);
  visible_ = show;
}

void ToolWindow::refresh() {
  if (!window_) return;
  fit_to_state();
  repaint_now();
}

// A movable window keeps its top edge: expanded it starts at the left edge
// of the screen, collapsed where it stands.
void ToolWindow::fit_to_state() {
  if (!movable_) return;
  const auto rect = host_.windows.window_rect(window_);
  if (!rect) return;
  const int s = icon_size();
  if (expanded_) {
    host_.windows.move_window(window_, 0, rect->top, tool_expanded_width(s), s, true);
  } else {
    host_.windows.move_window(window_, rect->left, rect->top, tool_collapsed_width(s), s, true);
  }
}

void ToolWindow::save_position(Settings& settings, bool after_rotation) const {
  if (!movable_ || !window_) return;
  const Point corner = top_left();
  const bool landscape = host_.windows.system_metric(platform::SM_CYSCREEN) <
                         host_.windows.system_metric(platform::SM_CXSCREEN);
  if (landscape != after_rotation) {
    settings.icon_landscape_x = corner.x;
    settings.icon_landscape_y = corner.y;
  } else {
    settings.icon_portrait_x = corner.x;
    settings.icon_portrait_y = corner.y;
  }
}

Point ToolWindow::top_left() const {
  const auto rect = window_ ? host_.windows.window_rect(window_) : std::nullopt;
  return rect ? Point{rect->left, rect->top} : Point{};
}

MessageResult ToolWindow::handle(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
  switch (message) {
    case platform::WM_TIMER:
      if (wparam == kTopmostTimer) {
        host_.windows.set_window_pos(window_, platform::HWND_TOPMOST, 0, 0, 0, 0,
                                     platform::SWP_NOMOVE | platform::SWP_NOSIZE | platform::SWP_NOACTIVATE);
      }
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
    case platform::WM_LBUTTONDBLCLK:
      return 0;
    case platform::WM_PAINT:
      paint();
      return 0;
    default:
      return host_.windows.default_procedure(window_, message, wparam, lparam);
  }
}

void ToolWindow::on_press(Point at) {
  start_ = at;
  press_repeats_ = false;
  if (movable_) {
    press_time_ = platform::tick_count();
    press_repeats_ = tool_press_repeats(at.x, icon_size());
    if (press_repeats_) post(WM_DUCTRA_REPEAT_START, 0, 0);
  } else if (platform::recognize_gesture(window_, at, platform::SHRG_RETURNCMD) == platform::GN_CONTEXTMENU) {
    request_options_menu();
    return;
  }
  begin_press();
}

void ToolWindow::begin_press() {
  host_.windows.set_capture(window_);
  pressed_ = true;
  drag_rect_ = host_.windows.window_rect(window_).value_or(Rect{});
  toggle_focus_rect();
}

void ToolWindow::on_move(Point at) {
  if (!pressed_ || !movable_) return;
  const int dx = at.x - start_.x, dy = at.y - start_.y;
  if (!dragging_ && std::abs(dx) > kDragThreshold && std::abs(dy) > kDragThreshold) dragging_ = true;
  if (dragging_) {
    toggle_focus_rect();
    drag_rect_ = host_.windows.window_rect(window_).value_or(Rect{}).offset(dx, dy);
    toggle_focus_rect();
  } else if (!press_repeats_ && platform::tick_count() - press_time_ > kHoldMs) {
    // One menu per hold: the press ends before the menu takes the pen.
    end_press();
    request_options_menu();
  }
}

void ToolWindow::on_release(Point at) {
  post(WM_DUCTRA_REPEAT_STOP, 0, 0);
  if (!pressed_) return;
  const bool was_dragging = dragging_;
  end_press();
  if (was_dragging) {
    drop_at(at);
  } else {
    tap_at(at);
  }
}

void ToolWindow::end_press() {
  toggle_focus_rect();
  pressed_ = dragging_ = false;
  host_.windows.release_capture();
}

// The window's new top-left corner: moved by the drag, kept wholly on the
// screen.
void ToolWindow::drop_at(Point at) {
  const Rect rect = host_.windows.window_rect(window_).value_or(Rect{});
  const int width = host_.windows.system_metric(platform::SM_CXSCREEN);
  const int height = host_.windows.system_metric(platform::SM_CYSCREEN);
  int x = std::max(rect.left + at.x - start_.x, 0);
  int y = std::max(rect.top + at.y - start_.y, 0);
  if (x + rect.width() > width) x = width - rect.width();
  if (y + rect.height() > height) y = height - rect.height();
  host_.windows.set_window_pos(window_, platform::HWND_TOPMOST, x, y, 0, 0, kPlaceFlags);
}

void ToolWindow::tap_at(Point at) {
  const auto client = host_.windows.client_rect(window_);
  if (!client || !client->contains(at)) return;
  switch (tool_tap_at(at.x, icon_size())) {
    case ToolTap::toggle_keys:
      post(WM_DUCTRA_TOGGLE_KEYBOARD, 0, kButtonReleased);
      break;
    case ToolTap::next_configuration:
      post(WM_DUCTRA_NEXT_CONFIGURATION, 0, kButtonPressed);
      post(WM_DUCTRA_NEXT_CONFIGURATION, 0, kButtonReleased);
      break;
    case ToolTap::full_stop:
      post(WM_DUCTRA_KEY, u'.', 0);
      break;
    case ToolTap::comma:
      post(WM_DUCTRA_KEY, u',', 0);
      break;
    case ToolTap::backspace:
      post(WM_DUCTRA_KEY, u'\b', 0);
      break;
    case ToolTap::space:
      post(WM_DUCTRA_KEY, u' ', 0);
      break;
    case ToolTap::nothing:
      break;
  }
}

void ToolWindow::request_options_menu() {
  NotifyHeader header{window_, 0, kNotifyTapAndHold};
  host_.windows.send_message(host_.shell_window, platform::WM_NOTIFY, 0, reinterpret_cast<platform::LParam>(&header));
}

void ToolWindow::toggle_focus_rect() {
  platform::DeviceContext screen = platform::display_context();
  screen.draw_focus_rect(drag_rect_);
}

void ToolWindow::paint() {
  WindowPaint canvas(host_.windows, window_);
  platform::DeviceContext& dc = canvas.dc();
  const int s = icon_size();
  dc.fill_rect(canvas.client(), platform::solid_brush(kGrey));
  if (auto tab = render_tab(s, movable_, expanded_)) {
    dc.bit_blt(0, 0, tab->width(), tab->height(), platform::DeviceContext(tab), 0, 0);
  }
  const int icon_left = tool_tab_width(s);
  if (icon_) {
    // An icon of another size than the square is centred on it and cut to it.
    const Rect old_clip = dc.clip();
    dc.set_clip(platform::intersect(old_clip, {icon_left, 0, icon_left + s, s}));
    icon_->draw(dc, icon_left + (s - icon_->width()) / 2, (s - icon_->height()) / 2);
    dc.set_clip(old_clip);
  }
  if (!expanded_) return;
  const int key_left[] = {5 * s / 3, 8 * s / 3, 11 * s / 3, 14 * s / 3};
  if (auto face = render_label_icon(u".", size_index_)) face->draw(dc, key_left[0], 0);
  if (auto face = render_label_icon(u",", size_index_)) face->draw(dc, key_left[1], 0);
  const std::pair<DrawnKey, int> drawn[] = {{DrawnKey::backspace, key_left[2]}, {DrawnKey::space, key_left[3]}};
  for (const auto& [key, left] : drawn) {
    if (auto face = render_drawn_key(key, size_index_)) dc.bit_blt(left, 0, s, s, platform::DeviceContext(face), 0, 0);
  }
}

void ToolWindow::repaint_now() {
  if (!window_) return;
  host_.windows.invalidate_rect(window_, std::nullopt, true);
  host_.windows.update_window(window_);
}

void ToolWindow::post(std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
  host_.windows.post_message(host_.shell_window, message, wparam, lparam);
}

}  // namespace ductra
