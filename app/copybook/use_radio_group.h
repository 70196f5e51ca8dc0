// The copybook's three radio buttons of a variant's use: "Часто" (often,
// 1118), "Редко" (rarely, 1119) and "Никогда" (never, 1120). UI thread.
#pragma once

#include <cstdint>

#include "appplatform/window_types.h"

namespace ductra {

class UseRadioGroup {
 public:
  UseRadioGroup(platform::WindowHandle often, platform::WindowHandle rarely, platform::WindowHandle never)
      : buttons_{often, rarely, never} {}

  // Checks the button of `use` alone; a use of none of them leaves all
  // three unchecked.
  void show(std::int32_t use) const;

 private:
  platform::WindowHandle buttons_[3];
};

}  // namespace ductra
