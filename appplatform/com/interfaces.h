// The component interfaces input methods are built on. Each is a table of
// entry points in the order declared here (the C++ virtual table of a
// class with only pure virtual functions and no destructor among them), so
// a component library built apart from the device calls and is called
// through the same slots. Objects are reference counted: AddRef and
// Release give the new count and Release at 0 frees the object.
// QueryInterface answers S_OK with an added reference, or E_NOINTERFACE with
// the out pointer cleared.
#pragma once

#include <cstdint>

#include "appplatform/com/guid.h"
#include "appplatform/com/hresult.h"
#include "appplatform/com/panel_records.h"
#include "appplatform/window_types.h"

namespace ductra::platform {

// Interface identifiers of this platform.
inline constexpr Guid IID_IUnknown{0x6D1C0000, 0x4A51, 0x4D2B, {0x9A, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
inline constexpr Guid IID_IClassFactory{0x6D1C0000, 0x4A51, 0x4D2B, {0x9A, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};
inline constexpr Guid IID_IInputMethod{0x6D1C0000, 0x4A51, 0x4D2B, {0x9A, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03}};
inline constexpr Guid IID_IIMCallback{0x6D1C0000, 0x4A51, 0x4D2B, {0x9A, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04}};

// Interfaces are never deleted through a pointer to them: Release does it.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

struct IUnknown {
  virtual HResult QueryInterface(const Guid& iid, void** out) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;
};

struct IClassFactory : IUnknown {
  // `outer` must be null (no aggregation): CLASS_E_NOAGGREGATION otherwise.
  virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** out) = 0;
  virtual HResult LockServer(std::int32_t lock) = 0;
};

// What the manager gives an input method to deliver keys and text through.
struct IIMCallback : IUnknown {
  virtual HResult SetImInfo(const ImInfo* info) = 0;
  // flags: 0 key down, 2 key up.
  virtual HResult SendVirtualKey(std::uint8_t virtual_key, std::uint32_t flags) = 0;
  virtual HResult SendCharEvents(std::uint32_t virtual_key, std::uint32_t key_flags, std::uint32_t count,
                                 const std::uint32_t* shift_states, const std::uint32_t* characters) = 0;
  virtual HResult SendString(const char16_t* text, std::uint32_t length) = 0;
};

struct IInputMethod : IUnknown {
  virtual HResult Select(WindowHandle panel) = 0;
  virtual HResult Deselect() = 0;
  virtual HResult Showing() = 0;
  virtual HResult Hiding() = 0;
  virtual HResult GetInfo(ImInfo* info) = 0;
  virtual HResult ReceiveSipInfo(const SipInfo* info) = 0;
  virtual HResult RegisterCallback(IIMCallback* callback) = 0;
  virtual HResult GetImData(std::uint32_t size, void* data) = 0;
  virtual HResult SetImData(std::uint32_t size, void* data) = 0;
  virtual HResult UserOptionsDlg(WindowHandle parent) = 0;
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// The entry point a component library exports (extern "C"
// DllGetClassObject): the factory of class `clsid` as interface `iid`, or
// CLASS_E_CLASSNOTAVAILABLE.
using GetClassObjectFunction = HResult (*)(const Guid& clsid, const Guid& iid, void** out);

}  // namespace ductra::platform
