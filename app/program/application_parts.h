// The parts of one run of the application, built on the device it runs on
// and the engine it has loaded once the shell window exists (the small
// windows are made over it), and gathered as the controller takes them.
// They outlive the controller.
#pragma once

#include <memory>

#include "app/configurations/recognition_configurations.h"
#include "app/delivery/result_delivery.h"
#include "app/delivery/shared_prompt_stroke_signal.h"
#include "app/ink/ink_layer.h"
#include "app/program/configuration_words.h"
#include "app/program/intelligent_mode_segmenter.h"
#include "app/program/program_dialogs.h"
#include "app/program/shell_error_host.h"
#include "app/program/word_dialog_host.h"
#include "app/settings/settings_sheet.h"
#include "app/shell/device_screen.h"
#include "app/shell/registry_settings.h"
#include "app/shell/screen_info.h"
#include "app/shell/sip_input_panel.h"
#include "app/windows/shell_small_windows.h"
#include "appplatform/program_map.h"
#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_event.h"
#include "appplatform/system_facts.h"

namespace ductra {

// What the program has of its device.
struct ProgramDevice {
  platform::WindowSystem& windows;
  const platform::DeviceRoot& root;
  const platform::RuntimeDir& runtime;
  const platform::Registry& registry;
  const platform::ProgramMap& programs;
  const platform::SystemFacts& facts;
};

class ApplicationParts {
 public:
  // Everything given must outlive the parts; `errors` saves the
  // configurations made here while they live.
  ApplicationParts(const ProgramDevice& device, Engine& engine, platform::WindowHandle shell_window,
                   RegistrySettings& settings, ShellErrorHost& errors);
  ~ApplicationParts();
  ApplicationParts(const ApplicationParts&) = delete;
  ApplicationParts& operator=(const ApplicationParts&) = delete;

  ControllerParts controller_parts();

 private:
  RegistrySettings& settings_;
  ShellErrorHost& errors_;
  DeviceScreen screen_;
  ScreenInfo screen_info_;
  ShellSmallWindows small_windows_;
  IntelligentModeSegmenter segmenter_;
  RecognitionConfigurations configurations_;
  ProgramWordDialogHost word_host_;
  ConfigurationWords words_;
  SharedPromptStrokeSignal prompt_stroke_;
  ResultDelivery results_;
  ScreenInkLayers ink_layers_;
  SipInputPanel input_panel_;
  std::shared_ptr<platform::SharedEvent> activity_event_;
  HelpLauncher help_;
  ProgramDialogs dialogs_;
  PageServices services_;
  SettingsSheet sheet_;
  ControllerSheet controller_sheet_;
};

}  // namespace ductra
