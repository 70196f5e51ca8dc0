#include "device/printed_text.h"

#include <utility>

namespace ductra::device {
namespace {

constexpr std::uint8_t kBackspace = 8;

}  // namespace

void PrintedText::send_string(std::u16string_view text) {
  std::lock_guard lock(mutex_);
  line_ += text;
  typed_ = true;
}

void PrintedText::send_key(std::uint8_t virtual_key, bool up) {
  if (up || virtual_key != kBackspace) return;
  std::lock_guard lock(mutex_);
  if (!line_.empty()) line_.pop_back();
  typed_ = true;
}

void PrintedText::send_character(std::uint32_t, char32_t character, bool up) {
  if (up) return;
  std::lock_guard lock(mutex_);
  line_ += static_cast<char16_t>(character);
  typed_ = true;
}

std::u16string PrintedText::take_line() {
  std::lock_guard lock(mutex_);
  typed_ = false;
  return std::exchange(line_, {});
}

bool PrintedText::has_text() const {
  std::lock_guard lock(mutex_);
  return typed_;
}

}  // namespace ductra::device
