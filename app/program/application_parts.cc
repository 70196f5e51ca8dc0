#include "app/program/application_parts.h"

#include "app/common/localizer.h"
#include "app/common/ui_helpers.h"
#include "app/shell/activity_event.h"
#include "app/windows/ctl_color_registry.h"

namespace ductra {

ApplicationParts::ApplicationParts(const ProgramDevice& device, Engine& engine, platform::WindowHandle shell_window,
                                   RegistrySettings& settings, ShellErrorHost& errors)
    : settings_(settings),
      errors_(errors),
      screen_(device.windows, device.root, device.facts.pixels_per_inch),
      screen_info_(screen_),
      small_windows_(SmallWindowsHost{device.windows, shell_window, screen_, screen_info_, settings.record(),
                                      CtlColorRegistry::instance(), device.facts.os_major_version}),
      segmenter_(engine, errors),
      configurations_(engine, device.registry, localizer(), device.windows, small_windows_, segmenter_,
                      device.facts.language_id),
      word_host_(device.registry),
      words_(configurations_, engine, word_host_),
      prompt_stroke_(device.runtime),
      results_(DeliveryParts{device.windows, engine, settings_, localizer(), words_, prompt_stroke_, segmenter_,
                             small_windows_, device.facts.decimal_separator}),
      ink_layers_(device.windows, device.runtime, errors),
      input_panel_(device.registry, localizer()),
      activity_event_(open_activity_event(device.registry, device.runtime)),
      help_(device.root, device.programs, localizer(),
            [&errors](std::uint32_t first) { errors.show_error_box(static_cast<int>(first), 0); }),
      dialogs_(engine, errors, word_host_, services_),
      services_{help_, dialogs_, [&engine](char* buffer, int size) { return engine.version(buffer, size); },
                [&root = device.root, &programs = device.programs](std::u16string_view url) {
                  return open_url(root, programs, url);
                },
                [&engine](std::uint32_t id, crCharSet* record) { return engine.char_set(id, record); }},
      sheet_(services_),
      controller_sheet_(sheet_, settings.record(), configurations_.configurations()) {
  errors_.attach_configurations(&configurations_);
}

ApplicationParts::~ApplicationParts() { errors_.attach_configurations(nullptr); }

ControllerParts ApplicationParts::controller_parts() {
  return ControllerParts{settings_, ink_layers_, small_windows_, configurations_,   input_panel_,
                         results_,  segmenter_,  controller_sheet_, errors_,        activity_event_};
}

}  // namespace ductra
