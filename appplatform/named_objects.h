// Events and semaphores by name within this process.
//
// A name stands for one object while anyone holds it; the object goes, and
// its name is free again, when the last holder lets go. Creating by a name
// that is taken gives the existing object and says so (its kind must match;
// the arguments of the second create are then ignored). An empty name makes
// an unnamed object.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "appplatform/event.h"
#include "appplatform/semaphore.h"

namespace ductra::platform {

enum class CreateStatus {
  created,
  already_exists,        // the object is the one created earlier by that name
  name_used_by_another_kind,
  invalid_arguments,
};

template <typename T>
struct Created {
  std::shared_ptr<T> object;  // null unless created or already_exists
  CreateStatus status = CreateStatus::invalid_arguments;
};

Created<Event> create_event(std::u16string_view name, EventReset reset, bool initially_signalled);
Created<Semaphore> create_semaphore(std::u16string_view name, std::int32_t initial, std::int32_t maximum);

}  // namespace ductra::platform
