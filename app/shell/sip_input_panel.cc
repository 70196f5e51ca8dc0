#include "app/shell/sip_input_panel.h"

#include "app/common/input_method.h"
#include "app/common/ui_helpers.h"
#include "appplatform/com/input_panel_calls.h"

namespace ductra {

std::optional<InputPanel::State> SipInputPanel::query_panel() {
  const std::optional<ImState> state = query_im_state();
  if (!state) return std::nullopt;
  return State{state->ours, state->shown};
}

bool SipInputPanel::panel_is_shown() { return sip_is_shown(platform::sip_get_info); }

void SipInputPanel::show_panel(bool on) { show_sip(on); }

void SipInputPanel::select_default_input_method() { select_default_im(registry_, SipShow::unchanged); }

void SipInputPanel::set_language(std::uint32_t language) { localizer_.set_language(language); }

}  // namespace ductra
