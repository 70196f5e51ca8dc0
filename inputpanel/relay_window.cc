#include "inputpanel/relay_window.h"

#include "appplatform/relay_protocol.h"
#include "inputpanel/unit_delivery.h"

namespace ductra::quillpad {
namespace {

using platform::LParam;
using platform::WParam;

constexpr std::uint32_t kRelayStyle = 0x50800000;  // child, visible, bordered
constexpr int kRelayWidth = 240;
constexpr std::uintptr_t kWhiteBrush = 0;
constexpr WParam kHighestIndicator = 2;

}  // namespace

RelayWindow::RelayWindow(platform::WindowSystem& windows, int dots_per_inch)
    : windows_(windows), dots_per_inch_(dots_per_inch) {}

RelayWindow::~RelayWindow() {
  unregister_sip_window();
  set_callback(nullptr);
}

bool RelayWindow::register_sip_window_class() {
  if (!class_registered_) {
    class_registered_ = windows_.register_class(
        {std::u16string(platform::kRelayWindowClass), &RelayWindow::procedure, 0, kWhiteBrush});
  }
  return class_registered_;
}

bool RelayWindow::create_sip_window(platform::WindowHandle panel) {
  platform::CreateWindowParams params;
  params.class_name = platform::kRelayWindowClass;
  params.title = platform::kRelayWindowTitle;
  params.style = kRelayStyle;
  params.width = kRelayWidth;
  params.height = 0;
  params.parent = panel;
  window_ = windows_.create_window(params);
  if (!window_) return false;
  windows_.set_user_data(window_, reinterpret_cast<std::uintptr_t>(this));
  return windows_.is_window(window_);
}

bool RelayWindow::ensure_sip_window(platform::WindowHandle panel) {
  if (window_ && windows_.is_window(window_)) return true;
  return register_sip_window_class() && create_sip_window(panel);
}

void RelayWindow::destroy_sip_window() {
  if (window_ && windows_.is_window(window_)) windows_.destroy_window(window_);
  window_ = {};
}

void RelayWindow::unregister_sip_window() {
  destroy_sip_window();
  if (class_registered_) windows_.unregister_class(platform::kRelayWindowClass);
  class_registered_ = false;
}

void RelayWindow::set_callback(platform::IIMCallback* callback) {
  if (callback != nullptr) callback->AddRef();
  if (callback_ != nullptr) callback_->Release();
  callback_ = callback;
}

platform::MessageResult RelayWindow::procedure(platform::WindowHandle window, std::uint32_t message, WParam wparam,
                                               LParam lparam) {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  auto* relay = reinterpret_cast<RelayWindow*>(windows.user_data(window));
  if (relay == nullptr) return windows.default_procedure(window, message, wparam, lparam);
  switch (message) {
    case platform::WM_QUILLPAD_CHAR:
      relay->on_char(wparam, lparam);
      return 0;
    case platform::WM_QUILLPAD_STATE:
      relay->report_state(wparam);
      return 0;
    default:
      return windows.default_procedure(window, message, wparam, lparam);
  }
}

void RelayWindow::on_char(WParam kind, LParam unit) {
  if (kind == platform::kRelayFlush) {
    flush();
    return;
  }
  if (queue_.full()) flush();
  queue_.push(static_cast<char16_t>(unit));
}

void RelayWindow::flush() {
  if (callback_ != nullptr) deliver_units(queue_.units(), *callback_);
  queue_.clear();
}

void RelayWindow::report_state(WParam indicator) {
  if (indicator > kHighestIndicator) return;
  SipImageLists* images = image_lists();
  if (images == nullptr || callback_ == nullptr) return;
  images->select(static_cast<int>(kHighestIndicator - indicator));
  platform::ImInfo info = image_info();
  info.flags = sip_info_.flags;
  callback_->SetImInfo(&info);
}

SipImageLists* RelayWindow::image_lists() {
  if (!images_) images_ = SipImageLists::create(dots_per_inch_);
  return images_.get();
}

platform::ImInfo RelayWindow::image_info() {
  platform::ImInfo info;
  if (const SipImageLists* images = image_lists()) {
    info.narrow_images = &images->narrow();
    info.wide_images = &images->wide();
    info.narrow_index = images->current();
    info.wide_index = images->current();
  }
  return info;
}

}  // namespace ductra::quillpad
