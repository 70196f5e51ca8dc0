// The controller's settings kept in the device's registry: the application's
// settings record (app/common/settings.h) behind the controller's view of it.
// The settings sheet works on record() directly.
#pragma once

#include "app/common/settings.h"
#include "app/shell/controller_parts.h"
#include "appplatform/registry.h"

namespace ductra {

class RegistrySettings final : public ControllerSettings {
 public:
  explicit RegistrySettings(const platform::Registry& registry) : registry_(registry) {}

  Settings& record() { return settings_; }

  void set_default_settings() override { settings_.set_defaults(); }
  void load_settings() override { settings_.load(registry_); }
  void save_settings() override { settings_.save(registry_); }
  int time_out() const override { return settings_.time_out; }
  int pen_width() const override { return settings_.pen_width; }
  std::uint32_t pen_color() const override { return settings_.pen_color; }
  int use_prompt() const override { return settings_.use_prompt; }
  int recognize_mode() const override { return settings_.recognize_mode; }
  bool space_after_result() const override { return settings_.space_after_result != 0; }
  bool large_moving_icon() const override { return settings_.large_moving_icon != 0; }
  std::uint32_t language() const override { return settings_.language; }

 private:
  const platform::Registry& registry_;
  Settings settings_;
};

}  // namespace ductra
