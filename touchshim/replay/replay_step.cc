#include "touchshim/replay/replay_step.h"

#include <array>
#include <charconv>

namespace ductra::tapshim {

namespace {

constexpr std::uint32_t kLargestNumber = 65535;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed_front(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

// The next decimal number of `text`, which moves past it.
bool take_number(std::string_view* text, std::uint32_t* value) {
  *text = trimmed_front(*text);
  const char* end = text->data() + text->size();
  const auto [rest, error] = std::from_chars(text->data(), end, *value);
  if (error != std::errc() || *value > kLargestNumber || (rest != end && !is_blank(*rest))) return false;
  text->remove_prefix(static_cast<std::size_t>(rest - text->data()));
  return true;
}

}  // namespace

ReplayLine parse_replay_line(std::string_view line, ReplayStep* step) {
  line = trimmed_front(line);
  if (line.empty() || line.front() == '#') return ReplayLine::skipped;
  std::array<std::uint32_t, 4> numbers{};
  for (std::uint32_t& number : numbers) {
    if (!take_number(&line, &number)) return ReplayLine::malformed;
  }
  if (!trimmed_front(line).empty()) return ReplayLine::malformed;
  *step = {numbers[0], numbers[1], static_cast<std::int32_t>(numbers[2]), static_cast<std::int32_t>(numbers[3])};
  return ReplayLine::sample;
}

}  // namespace ductra::tapshim
