// CFactory, the component's class factory, and the library's two entry
// points built on it: the factory of the component's class, and whether the
// library may be unloaded.
//
// A caller may rely on this:
// - get_class_object gives a factory holding exactly the caller's one
//   reference, CLASS_E_CLASSNOTAVAILABLE for another class, E_NOINTERFACE
//   (out cleared) for an interface a factory lacks, E_OUTOFMEMORY when no
//   factory can be made.
// - The factory's last release posts WM_QUILLPAD_RELEASED to the
//   application's shell window when one exists.
// - can_unload_now is S_FALSE while an input-method object lives or the
//   server is locked, S_OK otherwise.
#pragma once

#include "appplatform/com/interfaces.h"
#include "inputpanel/component.h"
#include "inputpanel/reference_count.h"

namespace ductra::quillpad {

class CFactory final : public platform::IClassFactory {
 public:
  explicit CFactory(Component& component) : component_(component) {}
  CFactory(const CFactory&) = delete;
  CFactory& operator=(const CFactory&) = delete;

  platform::HResult QueryInterface(const platform::Guid& iid, void** out) override;
  std::uint32_t AddRef() override { return count_.add(); }
  std::uint32_t Release() override;

  // `outer` must be null: the component cannot be aggregated.
  platform::HResult CreateInstance(platform::IUnknown* outer, const platform::Guid& iid, void** out) override;
  platform::HResult LockServer(std::int32_t lock) override;

 private:
  Component& component_;
  ReferenceCount count_;
};

platform::HResult get_class_object(Component& component, const platform::Guid& clsid, const platform::Guid& iid,
                                   void** out);
platform::HResult can_unload_now(const Component& component);

}  // namespace ductra::quillpad
