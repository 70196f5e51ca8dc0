// A key sink for tests whose component types nothing: every key is dropped.
#pragma once

#include <cstdint>
#include <string_view>

#include "appplatform/com/input_panel_manager.h"

namespace ductra::testing {

class NoKeys final : public platform::KeySink {
 public:
  void send_string(std::u16string_view) override {}
  void send_key(std::uint8_t, bool) override {}
  void send_character(std::uint32_t, char32_t, bool) override {}
};

}  // namespace ductra::testing
