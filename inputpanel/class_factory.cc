#include "inputpanel/class_factory.h"

#include <new>

#include "appplatform/component_protocol.h"
#include "inputpanel/application_starter.h"
#include "inputpanel/quillpad.h"

namespace ductra::quillpad {
namespace {

// A new object answers the query and is released once, so the caller holds
// its only reference (or, when the query failed, it is gone).
template <typename Object>
platform::HResult hand_over(Object* made, const platform::Guid& iid, void** out) {
  if (made == nullptr) {
    if (out != nullptr) *out = nullptr;
    return platform::E_OUTOFMEMORY;
  }
  const platform::HResult result = made->QueryInterface(iid, out);
  made->Release();
  return result;
}

}  // namespace

using platform::HResult;

HResult CFactory::QueryInterface(const platform::Guid& iid, void** out) {
  if (out == nullptr) return platform::E_POINTER;
  *out = nullptr;
  if (!(iid == platform::IID_IUnknown) && !(iid == platform::IID_IClassFactory)) return platform::E_NOINTERFACE;
  *out = static_cast<platform::IClassFactory*>(this);
  AddRef();
  return platform::S_OK;
}

std::uint32_t CFactory::Release() {
  const std::uint32_t left = count_.release();
  if (left != 0) return left;
  if (platform::WindowSystem* windows = platform::WindowSystem::current_if_any()) {
    if (const platform::WindowHandle shell = find_shell_window(*windows)) {
      windows->post_message(shell, platform::WM_QUILLPAD_RELEASED, 0, 0);
    }
  }
  delete this;  // the factory frees itself with its last reference
  return 0;
}

HResult CFactory::CreateInstance(platform::IUnknown* outer, const platform::Guid& iid, void** out) {
  if (outer != nullptr) {
    if (out != nullptr) *out = nullptr;
    return platform::CLASS_E_NOAGGREGATION;
  }
  return hand_over(new (std::nothrow) CQuillpad(component_), iid, out);
}

HResult CFactory::LockServer(std::int32_t lock) {
  component_.lock_server(lock != 0);
  return platform::S_OK;
}

HResult get_class_object(Component& component, const platform::Guid& clsid, const platform::Guid& iid, void** out) {
  if (!(clsid == platform::kQuillpadClassId)) {
    if (out != nullptr) *out = nullptr;
    return platform::CLASS_E_CLASSNOTAVAILABLE;
  }
  return hand_over(new (std::nothrow) CFactory(component), iid, out);
}

HResult can_unload_now(const Component& component) {
  return component.can_unload() ? platform::S_OK : platform::S_FALSE;
}

}  // namespace ductra::quillpad
