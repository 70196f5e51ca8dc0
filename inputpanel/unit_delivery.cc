#include "inputpanel/unit_delivery.h"

#include <algorithm>

#include "appplatform/wait.h"

namespace ductra::quillpad {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kCarriageReturn = 13;
constexpr std::uint32_t kKeyDown = 0;
constexpr std::uint32_t kKeyUp = 2;
constexpr std::uint32_t kCharacterDown = 0x80;
constexpr std::uint32_t kCharacterUp = 0x10000;

bool is_key(char16_t unit) { return unit == kBackspace || unit == kTab || unit == kCarriageReturn; }

void press_backspace(platform::IIMCallback& callback) {
  callback.SendVirtualKey(kBackspace, kKeyDown);
  callback.SendVirtualKey(kBackspace, kKeyUp);
}

void press_character_key(char16_t unit, platform::IIMCallback& callback) {
  const std::uint32_t character = unit;
  for (const std::uint32_t state : {kCharacterDown, kCharacterUp}) {
    callback.SendCharEvents(unit, state, 1, &state, &character);
  }
}

}  // namespace

void deliver_units(std::span<const char16_t> units, platform::IIMCallback& callback) {
  auto next = units.begin();
  while (next != units.end()) {
    const char16_t unit = *next;
    if (unit == kBackspace) {
      press_backspace(callback);
      ++next;
    } else if (is_key(unit)) {
      press_character_key(unit, callback);
      ++next;
    } else {
      const auto run_end = std::find_if(next, units.end(), is_key);
      callback.SendString(&*next, static_cast<std::uint32_t>(run_end - next));
      platform::sleep_for(kRunPauseMs);
      next = run_end;
    }
  }
}

}  // namespace ductra::quillpad
