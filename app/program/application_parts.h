// The parts of one run of the application, built on the device it runs on
// and the engine it has loaded, and gathered as the controller takes them.
// They are made before the shell window and outlive the controller.
#pragma once

#include <memory>

#include "app/configurations/recognition_configurations.h"
#include "app/delivery/result_delivery.h"
#include "app/delivery/shared_prompt_stroke_signal.h"
#include "app/ink/ink_layer.h"
#include "app/program/intelligent_mode_segmenter.h"
#include "app/program/parts_not_yet_built.h"
#include "app/program/shell_error_host.h"
#include "app/shell/registry_settings.h"
#include "app/shell/sip_input_panel.h"
#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_event.h"

namespace ductra {

// The user dictionary a word from the alternatives menu goes to: the one of
// the current configuration's charset. No word dialog exists in this build,
// so a word is never edited.
class ConfigurationWords final : public DictionaryWords {
 public:
  explicit ConfigurationWords(RecognitionConfigurations& configurations) : configurations_(configurations) {}
  std::uint32_t current_charset() override { return configurations_.configurations().current(); }
  std::optional<std::u16string> edit_word(std::u16string_view, std::uint32_t, platform::WindowHandle) override {
    return std::nullopt;
  }

 private:
  RecognitionConfigurations& configurations_;
};

class ApplicationParts {
 public:
  ApplicationParts(platform::WindowSystem& windows, const platform::DeviceRoot& root,
                   const platform::RuntimeDir& runtime, Engine& engine);
  ApplicationParts(const ApplicationParts&) = delete;
  ApplicationParts& operator=(const ApplicationParts&) = delete;

  ControllerParts controller_parts();
  RegistrySettings& settings() { return settings_; }
  ShellErrorHost& errors() { return errors_; }

 private:
  const platform::Registry registry_;
  RegistrySettings settings_;
  NoSmallWindows small_windows_;
  NoPromptBubble bubble_;
  IntelligentModeSegmenter segmenter_;
  NoSettingsSheet sheet_;
  RecognitionConfigurations configurations_;
  ConfigurationWords words_;
  SharedPromptStrokeSignal prompt_stroke_;
  ResultDelivery results_;
  ShellErrorHost errors_;
  ScreenInkLayers ink_layers_;
  SipInputPanel input_panel_;
  std::shared_ptr<platform::SharedEvent> activity_event_;
};

}  // namespace ductra
