#include "app/windows/prompt_window.h"
#include "app/windows/window_owner.h"

#include <algorithm>

#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_painting.h"
#include "appplatform/dialog/standard_controls.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/draw/display.h"

namespace ductra {
namespace {

using platform::MessageResult;

constexpr int kStartSide = 16;
// The window is the text plus 4 pixels across and 2 down, border included.
constexpr int kPadWidth = 4;
constexpr int kPadHeight = 2;
constexpr int kTextLeft = 1;
constexpr int kStandardDots = 96;
constexpr std::uint32_t kResizeFlags = platform::SWP_NOMOVE | platform::SWP_NOACTIVATE | platform::SWP_NOZORDER;

int scale_of(int dots) { return std::max(dots / kStandardDots, 1); }

}  // namespace

PromptWindow::PromptWindow(platform::WindowSystem& windows, CtlColorRegistry& colours)
    : windows_(windows), colours_(colours) {}

PromptWindow::~PromptWindow() { destroy(); }

bool PromptWindow::create(platform::WindowHandle owner, platform::Point at, const Look& look, std::u16string_view text,
                          bool shown) {
  destroy();
  platform::register_standard_controls(windows_);
  platform::CreateWindowParams params;
  params.ex_style = platform::WS_EX_NOACTIVATE | platform::WS_EX_TOPMOST;
  params.class_name = u"STATIC";
  params.style = platform::WS_POPUP | platform::WS_BORDER;
  params.width = kStartSide;
  params.height = kStartSide;
  params.parent = owner;
  window_ = windows_.create_window(params);
  if (!window_) return false;
  windows_.set_user_data(window_, reinterpret_cast<std::uintptr_t>(this));
  windows_.set_procedure(window_, &PromptWindow::procedure);
  windows_.show_window(window_, platform::SW_HIDE);
  move_to(at);
  max_width_ = look.max_width;
  max_height_ = look.max_height;
  set_background(look.background);
  set_text(text);
  const std::shared_ptr<const platform::Font> font = look.font ? look.font : platform::system_font();
  windows_.send_message(window_, platform::WM_SETFONT, reinterpret_cast<platform::WParam>(&font), 0);
  lay_out();
  set_text_colour(look.text_colour);
  show(shown);
  colours_.add(window_, &PromptWindow::on_ctl_color, this);
  return true;
}

void PromptWindow::set_text(std::u16string_view text) {
  if (!window_) return;
  windows_.set_window_text(window_, text);
  lay_out();
}

void PromptWindow::set_background(platform::ColorRef colour) {
  background_ = colour;
  brush_ = platform::solid_brush(colour);
  repaint_now();
}

void PromptWindow::set_text_colour(platform::ColorRef colour) {
  text_colour_ = colour;
  repaint_now();
}

void PromptWindow::move_to(platform::Point at) {
  if (!window_) return;
  windows_.set_window_pos(window_, {}, at.x, at.y, 0, 0,
                          platform::SWP_NOSIZE | platform::SWP_NOACTIVATE | platform::SWP_NOZORDER);
}

platform::Point PromptWindow::size() const {
  const auto rect = window_ ? windows_.window_rect(window_) : std::nullopt;
  return rect ? platform::Point{rect->width(), rect->height()} : platform::Point{};
}

void PromptWindow::show(bool shown) {
  if (window_) windows_.show_window(window_, shown ? platform::SW_SHOWNA : platform::SW_HIDE);
}

void PromptWindow::destroy() {
  if (!window_) return;
  colours_.remove(window_);
  windows_.set_user_data(window_, 0);
  windows_.destroy_window(window_);
  window_ = {};
}

const platform::Brush* PromptWindow::on_ctl_color(platform::DeviceContext& dc, void* bubble) {
  const auto* self = static_cast<const PromptWindow*>(bubble);
  dc.set_text_color(self->text_colour_);
  dc.set_bk_color(self->background_);
  return &self->brush_;
}

void PromptWindow::lay_out() {
  if (!window_) return;
  const std::u16string text = windows_.window_text(window_);
  text_ = text.substr(0, std::min(text.size(), kMeasuredUnits));
  platform::DeviceContext dc = platform::window_context(window_);
  dc.select_font(platform::child_font(window_));
  layout_ = wrap_text(
      text_, [&dc](std::u16string_view part) { return dc.text_extent(part).extents; }, max_width_, max_height_,
      dc.text_metrics().height);
  const int scale = scale_of(dc.device_caps(platform::LOGPIXELSX));
  windows_.set_window_pos(window_, {}, 0, 0, scale * (layout_.width + kPadWidth), scale * (layout_.height + kPadHeight),
                          kResizeFlags);
  repaint_now();
}

MessageResult PromptWindow::procedure(platform::WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                      platform::LParam lparam) {
  platform::WindowSystem& system = platform::WindowSystem::current();
  PromptWindow* self = window_owner<PromptWindow>(system, window);
  if (message == platform::WM_PAINT && self != nullptr) {
    self->paint();
    return 0;
  }
  return platform::static_procedure(window, message, wparam, lparam);
}

void PromptWindow::paint() {
  platform::ControlCanvas canvas =
      platform::begin_control_paint(window_, platform::WM_CTLCOLORSTATIC, brush_);
  const int line_height = canvas.dc.text_metrics().height;
  int top = 0;
  for (const WrappedLine& line : layout_.lines) {
    canvas.dc.text_out(kTextLeft, top, std::u16string_view(text_).substr(line.start, line.length));
    top += line_height;
  }
  if (const auto rect = windows_.window_rect(window_)) {
    platform::DeviceContext frame =
        platform::display_context({rect->left, rect->top}, {0, 0, rect->width(), rect->height()});
    platform::draw_frame(frame, {0, 0, rect->width(), rect->height()}, platform::sys_color(platform::COLOR_WINDOWFRAME));
  }
}

void PromptWindow::repaint_now() {
  if (!window_) return;
  windows_.invalidate_rect(window_, std::nullopt, true);
  windows_.update_window(window_);
}

}  // namespace ductra
