#include "device/desktop_typing.h"

#include "appplatform/text.h"

extern "C" {
#include <xdo.h>
}

namespace ductra::device {
namespace {

constexpr std::uint8_t kBackspaceKey = 8;
// Between the keys libxdo types, in microseconds.
constexpr useconds_t kKeyDelay = 2000;

// The UTF-16 units of one character (a pair above the basic plane).
std::u16string units_of(char32_t character) {
  if (character < 0x10000) return std::u16string(1, static_cast<char16_t>(character));
  const char32_t above = character - 0x10000;
  return {static_cast<char16_t>(0xD800 + (above >> 10)), static_cast<char16_t>(0xDC00 + (above & 0x3FF))};
}

}  // namespace

struct DesktopTyping::Xdo {
  xdo_t* xdo = nullptr;
  ~Xdo() {
    if (xdo != nullptr) xdo_free(xdo);
  }
};

const char* desktop_key_of(char32_t character) {
  switch (character) {
    case U'\t':
      return "Tab";
    case U'\r':
    case U'\n':
      return "Return";
    case U'\b':
      return "BackSpace";
    default:
      return nullptr;
  }
}

DesktopTyping::DesktopTyping() = default;
DesktopTyping::~DesktopTyping() = default;

bool DesktopTyping::open(const char* display_name, std::string* error) {
  auto xdo = std::make_unique<Xdo>();
  xdo->xdo = xdo_new(display_name);
  if (xdo->xdo == nullptr) {
    *error = "cannot reach the display to type on it";
    return false;
  }
  std::lock_guard lock(mutex_);
  xdo_ = std::move(xdo);
  return true;
}

void DesktopTyping::send_string(std::u16string_view text) {
  typed_.send_string(text);
  type_text(platform::to_utf8(text));
}

void DesktopTyping::send_key(std::uint8_t virtual_key, bool up) {
  typed_.send_key(virtual_key, up);
  if (!up && virtual_key == kBackspaceKey) press("BackSpace");
}

void DesktopTyping::send_character(std::uint32_t virtual_key, char32_t character, bool up) {
  typed_.send_character(virtual_key, character, up);
  if (up) return;
  if (const char* key = desktop_key_of(character)) {
    press(key);
  } else {
    type_text(platform::to_utf8(units_of(character)));
  }
}

void DesktopTyping::type_text(const std::string& utf8) {
  std::lock_guard lock(mutex_);
  if (xdo_ && !utf8.empty()) xdo_enter_text_window(xdo_->xdo, CURRENTWINDOW, utf8.c_str(), kKeyDelay);
}

void DesktopTyping::press(const char* key_name) {
  std::lock_guard lock(mutex_);
  if (xdo_) xdo_send_keysequence_window(xdo_->xdo, CURRENTWINDOW, key_name, kKeyDelay);
}

}  // namespace ductra::device
