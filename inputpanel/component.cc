#include "inputpanel/component.h"

#include "appplatform/system_facts.h"

namespace ductra::quillpad {
namespace {

Component& process_component() {
  static Component component(ComponentDevice{platform::DeviceRoot::from_environment(),
                                             platform::ProgramMap::standard(platform::application_host_program())});
  return component;
}

}  // namespace

Component& Component::of_this_process() { return process_component(); }

RelayWindow& Component::relay() {
  if (!relay_) {
    relay_ = std::make_unique<RelayWindow>(platform::WindowSystem::current(),
                                           platform::SystemFacts::from_environment().pixels_per_inch);
  }
  return *relay_;
}

}  // namespace ductra::quillpad
