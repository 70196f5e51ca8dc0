// The platform's activity event, which the controller sets while the user
// writes so the device does not dim or sleep: the event named by HKLM
// "System\GWE" "ActivityEvent", created or opened as the device's processes
// share it. Null when the value is missing, is not a string or does not fit
// in 256 bytes.
#pragma once

#include <memory>

#include "appplatform/registry.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/shared_event.h"

namespace ductra {

inline constexpr std::u16string_view kActivityEventKey = u"System\\GWE";
inline constexpr std::u16string_view kActivityEventValue = u"ActivityEvent";
inline constexpr std::uint32_t kActivityEventNameBytes = 256;

std::shared_ptr<platform::SharedEvent> open_activity_event(const platform::Registry& registry,
                                                           const platform::RuntimeDir& runtime);

}  // namespace ductra
