// Where typed text goes on a device without a display: standard output.
// Strings are written as UTF-8; a backspace removes the last character of
// the line being typed, tab and enter are written as themselves. Each
// finished line (take_line) is what was typed since the last one. Any
// thread.
#pragma once

#include <mutex>
#include <string>

#include "appplatform/com/input_panel_manager.h"

namespace ductra::device {

class PrintedText final : public platform::KeySink {
 public:
  void send_string(std::u16string_view text) override;
  void send_key(std::uint8_t virtual_key, bool up) override;
  void send_character(std::uint32_t virtual_key, char32_t character, bool up) override;

  // What was typed since the last call, and whether anything was.
  std::u16string take_line();
  bool has_text() const;

 private:
  mutable std::mutex mutex_;
  std::u16string line_;
  bool typed_ = false;
};

}  // namespace ductra::device
