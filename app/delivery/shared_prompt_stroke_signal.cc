#include "app/delivery/shared_prompt_stroke_signal.h"

#include <memory>

#include "appplatform/pen_ring.h"
#include "appplatform/shared_event.h"
#include "appplatform/wait.h"

namespace ductra {
namespace {

std::unique_ptr<platform::SharedEvent> open_prompt_event(const platform::RuntimeDir& runtime) {
  std::unique_ptr<platform::SharedEvent> event;
  platform::SharedEvent::open(runtime, platform::kPromptStrokeEndedName, &event);
  return event;
}

}  // namespace

void SharedPromptStrokeSignal::reset() {
  if (const auto event = open_prompt_event(runtime_)) event->reset();
}

bool SharedPromptStrokeSignal::wait(std::uint32_t ms) {
  const auto event = open_prompt_event(runtime_);
  return event && platform::wait_for(*event, ms).signalled();
}

}  // namespace ductra
