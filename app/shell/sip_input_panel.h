// The controller's view of the input panel on the device: the state of the
// input-method switch (input_method.h), the panel's visibility and the
// localizer's language.
#pragma once

#include "app/common/localizer.h"
#include "app/shell/controller_parts.h"
#include "appplatform/registry.h"

namespace ductra {

class SipInputPanel final : public InputPanel {
 public:
  // `registry` holds the user's default input method.
  SipInputPanel(const platform::Registry& registry, Localizer& localizer)
      : registry_(registry), localizer_(localizer) {}

  std::optional<State> query_panel() override;
  bool panel_is_shown() override;
  void show_panel(bool on) override;
  void select_default_input_method() override;
  void set_language(std::uint32_t language) override;

 private:
  const platform::Registry& registry_;
  Localizer& localizer_;
};

}  // namespace ductra
