#include "app/program/application_parts.h"

#include "app/common/localizer.h"
#include "app/shell/activity_event.h"
#include "appplatform/system_facts.h"

namespace ductra {

ApplicationParts::ApplicationParts(platform::WindowSystem& windows, const platform::DeviceRoot& root,
                                   const platform::RuntimeDir& runtime, Engine& engine)
    : registry_(root),
      settings_(registry_),
      segmenter_(engine, errors_),
      configurations_(engine, registry_, localizer(), windows, small_windows_, segmenter_,
                      platform::SystemFacts::from_environment().language_id),
      words_(configurations_),
      prompt_stroke_(runtime),
      results_(DeliveryParts{windows, engine, settings_, localizer(), words_, prompt_stroke_, segmenter_,
                             bubble_, platform::SystemFacts::from_environment().decimal_separator}),
      errors_(registry_, settings_, configurations_),
      ink_layers_(windows, runtime, errors_),
      input_panel_(registry_, localizer()),
      activity_event_(open_activity_event(registry_, runtime)) {}

ControllerParts ApplicationParts::controller_parts() {
  return ControllerParts{settings_, ink_layers_, small_windows_, configurations_, input_panel_,
                         results_,  segmenter_,  sheet_,         errors_,         activity_event_};
}

}  // namespace ductra
