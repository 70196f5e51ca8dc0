// Where typed text goes on the desktop: the X11 window that has the
// keyboard focus, through libxdo. Strings are typed as Unicode text; the
// backspace key, tab and enter are pressed as BackSpace, Tab and Return.
// What was typed is also kept line by line, as PrintedText keeps it, so a
// replay can say what it typed. Any thread (calls are serialised).
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "appplatform/com/input_panel_manager.h"
#include "device/printed_text.h"

namespace ductra::device {

class DesktopTyping final : public platform::KeySink {
 public:
  DesktopTyping();
  ~DesktopTyping() override;
  DesktopTyping(const DesktopTyping&) = delete;
  DesktopTyping& operator=(const DesktopTyping&) = delete;

  // False, with the reason in *error, when the display cannot be reached.
  bool open(const char* display_name, std::string* error);

  void send_string(std::u16string_view text) override;
  void send_key(std::uint8_t virtual_key, bool up) override;
  void send_character(std::uint32_t virtual_key, char32_t character, bool up) override;

  PrintedText& typed() { return typed_; }

 private:
  void type_text(const std::string& utf8);
  void press(const char* key_name);

  struct Xdo;
  std::mutex mutex_;
  std::unique_ptr<Xdo> xdo_;
  PrintedText typed_;
};

// The key libxdo presses for a character the component sends as a key
// (tab, carriage return, line feed), or null for a character typed as text.
const char* desktop_key_of(char32_t character);

}  // namespace ductra::device
