#include "app/common/hyperlink.h"

#include <mutex>
#include <string>

#include "app/common/localizer.h"
#include "appplatform/dialog/child_record.h"
#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/dialog/window_context.h"
#include "appplatform/draw/font.h"
#include "appplatform/window_system.h"

namespace ductra {
namespace {

using platform::MessageResult;
using platform::WindowHandle;
using platform::WindowSystem;

constexpr std::uint32_t WM_GETDLGCODE = 0x0087;
constexpr MessageResult DLGC_WANTALLKEYS = 0x0004;
constexpr platform::ColorRef kLinkColour = platform::rgb(0, 0, 192);

// What every link shares.
struct LinkShared {
  std::mutex mutex;
  platform::WindowProcedure replaced = nullptr;
  Hyperlink::UrlOpener opener;
};

LinkShared& shared() {
  static LinkShared links;
  return links;
}

MessageResult pass_on(WindowHandle window, std::uint32_t message, platform::WParam wparam, platform::LParam lparam) {
  platform::WindowProcedure replaced = nullptr;
  {
    std::scoped_lock lock(shared().mutex);
    replaced = shared().replaced;
  }
  return replaced != nullptr ? replaced(window, message, wparam, lparam)
                             : WindowSystem::current().default_procedure(window, message, wparam, lparam);
}

void open_link(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  const auto url_id = static_cast<std::uint32_t>(system.user_data(window));
  const std::u16string url = url_id == 0 ? system.window_text(window) : localizer().string(url_id);
  Hyperlink::UrlOpener opener;
  {
    std::scoped_lock lock(shared().mutex);
    opener = shared().opener;
  }
  if (opener) opener(url);
}

std::shared_ptr<const platform::Font> underlined(const std::shared_ptr<const platform::Font>& font) {
  platform::LogFont description = font ? font->description() : platform::LogFont{};
  description.underline = true;
  return platform::create_font(description);
}

// The focus rectangle hugs the text: its width plus 2, its height plus 1,
// centred in the control.
platform::Rect focus_rect(const platform::Rect& client, platform::TextSize text) {
  const int width = text.cx + 2, height = text.cy + 1;
  const int left = client.left + (client.width() - width) / 2;
  const int top = client.top + (client.height() - height) / 2;
  return {left, top, left + width, top + height};
}

void paint(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  system.end_paint(window, system.begin_paint(window));
  platform::DeviceContext dc = platform::window_context(window);
  const platform::Rect client = system.client_rect(window).value_or(platform::Rect{});
  dc.fill_rect(client, platform::sys_color_brush(platform::COLOR_STATIC));
  dc.set_bk_mode(platform::TRANSPARENT);
  dc.set_text_color(kLinkColour);
  dc.select_font(underlined(platform::child_font(window)));
  const std::u16string text = system.window_text(window);
  platform::Rect area = client;
  dc.draw_text(text, area, platform::DT_SINGLELINE | platform::DT_CENTER | platform::DT_VCENTER | platform::DT_NOPREFIX);
  if (system.focus() == window) dc.draw_focus_rect(focus_rect(client, dc.text_extent(text).size));
}

void repaint_now(WindowHandle window) {
  WindowSystem& system = WindowSystem::current();
  system.invalidate_rect(window, std::nullopt, true);
  system.update_window(window);
}

}  // namespace

void Hyperlink::attach(WindowHandle dialog, int control_id, std::uint32_t text_id, std::uint32_t url_id,
                       UrlOpener opener) {
  WindowSystem& system = WindowSystem::current();
  const WindowHandle control = platform::dialog_item(dialog, control_id);
  if (!control) return;
  system.set_window_text(control, localizer().string(text_id));
  const platform::WindowProcedure replaced = system.set_procedure(control, &Hyperlink::window_proc);
  {
    std::scoped_lock lock(shared().mutex);
    if (replaced != &Hyperlink::window_proc) shared().replaced = replaced;
    shared().opener = std::move(opener);
  }
  system.set_user_data(control, url_id);
  system.invalidate_rect(control, std::nullopt, true);
}

MessageResult Hyperlink::window_proc(WindowHandle window, std::uint32_t message, platform::WParam wparam,
                                     platform::LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case platform::WM_SETFOCUS:
    case platform::WM_KILLFOCUS:
      repaint_now(window);
      break;
    case platform::WM_PAINT:
      paint(window);
      return 0;  // the static control would paint its plain text over the link
    case WM_GETDLGCODE:
      if (wparam == platform::VK_RETURN) return DLGC_WANTALLKEYS;
      break;
    case platform::WM_KEYDOWN:
      if (wparam == platform::VK_RETURN) open_link(window);
      break;
    case platform::WM_LBUTTONDOWN:
      system.set_capture(window);
      break;
    case platform::WM_LBUTTONUP:
      if (system.capture() == window) open_link(window);
      break;
    default:
      break;
  }
  return pass_on(window, message, wparam, lparam);
}

}  // namespace ductra
