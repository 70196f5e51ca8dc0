// Switching input methods: showing or hiding the input panel, making this
// application's own input method (the component) or the user's default one
// current, asking whether ours is current and the panel shown, and a scope
// that keeps the panel hidden while a modal dialog is up.
//
// Each is a thin call of the device's input-panel manager; what this file
// fixes is which input method each chooses and the order of the calls.
// Failures are answered false and change nothing further. Any thread may
// call them (the engine thread selects the default input method when it
// ends on an error): the manager serialises them on its own thread.
#pragma once

#include <optional>

#include "appplatform/com/guid.h"
#include "appplatform/registry.h"

namespace ductra {

// What to do with the panel after a switch.
enum class SipShow { unchanged = 0, show = 1, hide = 2 };

// The user's default input method is read from at most this many bytes.
inline constexpr std::size_t kDefaultImBytes = 256;

bool show_sip(bool on);

// Makes `clsid` current, then (unless `show` is unchanged) shows or hides
// the panel; a failed switch leaves the panel alone. True when all of it
// was done.
bool set_current_im(const platform::Guid& clsid, SipShow show);

// set_current_im with the input method recorded as the user's own (HKCU
// "ControlPanel\Sip" "DefaultIm", a class identifier in its text form);
// false, doing nothing, when it cannot be read or is not an identifier.
bool select_default_im(const platform::Registry& registry, SipShow show);

// set_current_im with the component's class.
bool select_own_im(SipShow show);

struct ImState {
  bool ours = false;   // the component is the current input method
  bool shown = false;  // the panel is shown
};

// Nothing when either question cannot be asked.
std::optional<ImState> query_im_state();

// Hides the panel for its lifetime and shows it again at the end.
class SipHiddenScope {
 public:
  SipHiddenScope() { show_sip(false); }
  ~SipHiddenScope() { show_sip(true); }
  SipHiddenScope(const SipHiddenScope&) = delete;
  SipHiddenScope& operator=(const SipHiddenScope&) = delete;
};

}  // namespace ductra
