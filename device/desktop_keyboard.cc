#include "device/desktop_keyboard.h"

namespace ductra::device {
namespace {

using platform::Guid;
using platform::HResult;

class DesktopKeyboard final : public platform::IInputMethod, public platform::IClassFactory {
 public:
  HResult QueryInterface(const Guid& iid, void** out) override {
    if (out == nullptr) return platform::E_POINTER;
    if (iid == platform::IID_IInputMethod || iid == platform::IID_IUnknown) {
      *out = static_cast<platform::IInputMethod*>(this);
    } else if (iid == platform::IID_IClassFactory) {
      *out = static_cast<platform::IClassFactory*>(this);
    } else {
      *out = nullptr;
      return platform::E_NOINTERFACE;
    }
    return platform::S_OK;
  }
  // The one object lives as long as the process.
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }

  HResult CreateInstance(platform::IUnknown* outer, const Guid& iid, void** out) override {
    if (outer != nullptr) return platform::CLASS_E_NOAGGREGATION;
    return QueryInterface(iid, out);
  }
  HResult LockServer(std::int32_t) override { return platform::S_OK; }

  HResult Select(platform::WindowHandle) override { return platform::S_OK; }
  HResult Deselect() override { return platform::S_OK; }
  HResult Showing() override { return platform::S_OK; }
  HResult Hiding() override { return platform::S_OK; }
  HResult GetInfo(platform::ImInfo* info) override {
    return info != nullptr && info->cb_size == sizeof(platform::ImInfo) ? platform::S_OK : platform::E_INVALIDARG;
  }
  HResult ReceiveSipInfo(const platform::SipInfo*) override { return platform::S_OK; }
  HResult RegisterCallback(platform::IIMCallback*) override { return platform::S_OK; }
  HResult GetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult SetImData(std::uint32_t, void*) override { return platform::S_OK; }
  HResult UserOptionsDlg(platform::WindowHandle) override { return platform::S_OK; }
};

DesktopKeyboard keyboard;

}  // namespace

HResult desktop_keyboard_class_object(const Guid& clsid, const Guid& iid, void** out) {
  if (!(clsid == kDesktopKeyboardClassId)) return platform::CLASS_E_CLASSNOTAVAILABLE;
  return keyboard.QueryInterface(iid, out);
}

}  // namespace ductra::device
