#include "app/shell/activity_event.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <string>

namespace ductra {

std::shared_ptr<platform::SharedEvent> open_activity_event(const platform::Registry& registry,
                                                           const platform::RuntimeDir& runtime) {
  std::array<std::byte, kActivityEventNameBytes> bytes{};
  std::uint32_t size = 0;
  platform::ValueType type = platform::ValueType::none;
  if (registry.read_value(platform::Hive::local_machine, kActivityEventKey, kActivityEventValue, &type, bytes,
                          &size) != platform::Status::ok ||
      type != platform::ValueType::string) {
    return nullptr;
  }
  std::u16string name(size / sizeof(char16_t), u'\0');
  std::memcpy(name.data(), bytes.data(), name.size() * sizeof(char16_t));
  name.resize(std::char_traits<char16_t>::length(name.c_str()));
  std::unique_ptr<platform::SharedEvent> event;
  platform::SharedEvent::create(runtime, name, platform::EventReset::automatic, false, &event);
  return event;
}

}  // namespace ductra
