#include "inputpanel/quillpad.h"

#include "appplatform/component_protocol.h"
#include "inputpanel/application_starter.h"
#include "inputpanel/panel_placement.h"

namespace ductra::quillpad {

using platform::HResult;

CQuillpad::CQuillpad(Component& component) : component_(component) { component_.object_made(); }

CQuillpad::~CQuillpad() { component_.object_gone(); }

HResult CQuillpad::QueryInterface(const platform::Guid& iid, void** out) {
  if (out == nullptr) return platform::E_POINTER;
  *out = nullptr;
  if (!(iid == platform::IID_IUnknown) && !(iid == platform::IID_IInputMethod)) return platform::E_NOINTERFACE;
  *out = static_cast<platform::IInputMethod*>(this);
  AddRef();
  return platform::S_OK;
}

std::uint32_t CQuillpad::Release() {
  const std::uint32_t left = count_.release();
  if (left == 0) delete this;  // the object frees itself with its last reference
  return left;
}

HResult CQuillpad::Select(platform::WindowHandle panel) {
  panel_ = panel;
  return component_.relay().ensure_sip_window(panel) ? platform::S_OK : platform::E_FAIL;
}

HResult CQuillpad::Deselect() {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  if (const platform::WindowHandle shell = find_shell_window(windows)) {
    windows.send_message(shell, platform::WM_QUILLPAD_DESELECT, 0, 0);
  }
  if (application_.is_open()) {
    application_.wait(kDeselectWaitMs);
    application_.close();
  }
  component_.release_relay();
  return platform::S_OK;
}

HResult CQuillpad::Showing() {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  collapse_panel(windows, panel_);
  const platform::WindowHandle shell = find_or_start_application(windows, component_.device(), application_);
  if (!shell) return platform::S_FALSE;
  return windows.post_message(shell, platform::WM_QUILLPAD_SHOWING, 0, 0) == platform::MessageStatus::delivered
             ? platform::S_OK
             : platform::S_FALSE;
}

HResult CQuillpad::Hiding() {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  if (const platform::WindowHandle shell = find_shell_window(windows)) {
    windows.post_message(shell, platform::WM_QUILLPAD_HIDING, 0, 0);
  }
  return platform::S_OK;
}

HResult CQuillpad::GetInfo(platform::ImInfo* info) {
  if (info == nullptr) return platform::E_POINTER;
  if (info->cb_size != sizeof(platform::ImInfo)) return platform::E_INVALIDARG;
  RelayWindow& relay = component_.relay();
  const std::optional<platform::Rect> rect = platform::WindowSystem::current().window_rect(relay.window());
  if (!rect) return platform::E_FAIL;
  *info = relay.image_info();
  info->sip_rect = *rect;
  return platform::S_OK;
}

HResult CQuillpad::ReceiveSipInfo(const platform::SipInfo* info) {
  if (info == nullptr) return platform::E_POINTER;
  if (info->cb_size != sizeof(platform::SipInfo)) return platform::E_INVALIDARG;
  component_.relay().set_sip_info(*info);
  return platform::S_OK;
}

HResult CQuillpad::RegisterCallback(platform::IIMCallback* callback) {
  component_.relay().set_callback(callback);
  return platform::S_OK;
}

HResult CQuillpad::GetImData(std::uint32_t, void*) { return platform::S_OK; }

HResult CQuillpad::SetImData(std::uint32_t, void*) { return platform::S_OK; }

HResult CQuillpad::UserOptionsDlg(platform::WindowHandle) {
  platform::WindowSystem& windows = platform::WindowSystem::current();
  const platform::WindowHandle shell = find_or_start_application(windows, component_.device(), application_);
  if (!shell) return platform::S_FALSE;
  return windows.send_message(shell, platform::WM_QUILLPAD_OPTIONS, 0, 0).status == platform::MessageStatus::delivered
             ? platform::S_OK
             : platform::S_FALSE;
}

}  // namespace ductra::quillpad
