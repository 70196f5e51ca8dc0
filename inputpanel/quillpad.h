// CQuillpad, the component's input method: the input-panel manager makes it
// through the class factory and calls it on the manager's thread.
//
// It takes no panel area: the user writes anywhere and the application
// (another process) recognises the ink. The object tells the application's
// shell window about the panel (showing and hiding posted; the options and
// deselection sent, so they wait for the application), starts the
// application when the panel shows or the options are asked for and it does
// not run, and gives the relay window the panel's callback and state.
//
// A caller may rely on this:
// - Select makes sure the relay window exists as a child of the panel
//   (E_FAIL when it cannot be made).
// - Deselect asks the application to end, gives a process this object
//   started one second to do so, then destroys the relay window and
//   unregisters its class.
// - Showing and UserOptionsDlg answer S_FALSE, sending nothing, when the
//   application cannot be started or its shell window still cannot be found.
// - Records are checked before they are read: a null pointer gives E_POINTER,
//   a record of the wrong size E_INVALIDARG.
#pragma once

#include "appplatform/com/interfaces.h"
#include "appplatform/process.h"
#include "inputpanel/component.h"
#include "inputpanel/reference_count.h"

namespace ductra::quillpad {

// How long Deselect gives the application it started to end.
inline constexpr std::uint32_t kDeselectWaitMs = 1000;

class CQuillpad final : public platform::IInputMethod {
 public:
  explicit CQuillpad(Component& component);
  ~CQuillpad();
  CQuillpad(const CQuillpad&) = delete;
  CQuillpad& operator=(const CQuillpad&) = delete;

  platform::HResult QueryInterface(const platform::Guid& iid, void** out) override;
  std::uint32_t AddRef() override { return count_.add(); }
  std::uint32_t Release() override;

  platform::HResult Select(platform::WindowHandle panel) override;
  platform::HResult Deselect() override;
  platform::HResult Showing() override;
  platform::HResult Hiding() override;
  platform::HResult GetInfo(platform::ImInfo* info) override;
  platform::HResult ReceiveSipInfo(const platform::SipInfo* info) override;
  platform::HResult RegisterCallback(platform::IIMCallback* callback) override;
  platform::HResult GetImData(std::uint32_t size, void* data) override;
  platform::HResult SetImData(std::uint32_t size, void* data) override;
  platform::HResult UserOptionsDlg(platform::WindowHandle parent) override;

 private:
  Component& component_;
  ReferenceCount count_;
  platform::WindowHandle panel_;
  platform::Process application_;  // the application this object started
};

}  // namespace ductra::quillpad
