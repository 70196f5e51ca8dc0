#include "tools/compgen/design_text.h"

#include <array>
#include <charconv>

namespace compgen {

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::optional<std::uint16_t> parse_hex(std::string_view token) {
  token = trim(token);
  if (!starts_with(token, "0x")) return std::nullopt;
  unsigned value = 0;
  const char* end = token.data() + token.size();
  auto [ptr, error] = std::from_chars(token.data() + 2, end, value, 16);
  if (error != std::errc() || ptr != end || value > 0xFFFF || token.size() == 2) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

// Splits at ", " outside backticks.
std::vector<std::string_view> comma_items(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '`') quoted = !quoted;
    if (!quoted && text[i] == ',') {
      items.push_back(trim(text.substr(start, i - start)));
      start = i + 1;
    }
  }
  items.push_back(trim(text.substr(start)));
  return items;
}

std::string numbered(std::string_view prefix, int number) {
  std::string name(prefix);
  if (number < 10) name += '0';
  name += std::to_string(number);
  return name;
}

}  // namespace

std::string_view trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> table_cells(std::string_view row) {
  row = trim(row);
  if (starts_with(row, "|")) row.remove_prefix(1);
  if (!row.empty() && row.back() == '|') row.remove_suffix(1);
  std::vector<std::string_view> cells;
  while (true) {
    const std::size_t bar = row.find('|');
    cells.push_back(trim(row.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    row.remove_prefix(bar + 1);
  }
  return cells;
}

std::vector<std::string> backticked(std::string_view text) {
  std::vector<std::string> names;
  while (true) {
    const std::size_t open = text.find('`');
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('`', open + 1);
    if (close == std::string_view::npos) break;
    names.emplace_back(text.substr(open + 1, close - open - 1));
    text.remove_prefix(close + 1);
  }
  return names;
}

std::optional<Codes> hex_codes(std::string_view text) {
  Codes codes;
  text = trim(text);
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(kBlanks);
    std::optional<std::uint16_t> code = parse_hex(text.substr(0, end));
    if (!code) return std::nullopt;
    codes.push_back(*code);
    if (end == std::string_view::npos) break;
    text = trim(text.substr(end));
  }
  return codes;
}

std::optional<std::vector<Codes>> brace_sets(std::string_view text) {
  std::vector<Codes> sets;
  while (true) {
    const std::size_t open = text.find('{');
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('}', open);
    if (close == std::string_view::npos) return std::nullopt;
    Codes codes;
    for (std::string_view item : comma_items(text.substr(open + 1, close - open - 1))) {
      std::optional<std::uint16_t> code = parse_hex(item);
      if (!code) return std::nullopt;
      codes.push_back(*code);
    }
    sets.push_back(std::move(codes));
    text.remove_prefix(close + 1);
  }
  return sets;
}

std::u16string unicode_escapes(std::string_view text) {
  std::u16string characters;
  for (std::size_t at = text.find("U+"); at != std::string_view::npos; at = text.find("U+", at + 2)) {
    unsigned value = 0;
    const char* begin = text.data() + at + 2;
    const char* end = text.data() + std::min(text.size(), at + 6);
    auto [ptr, error] = std::from_chars(begin, end, value, 16);
    if (error == std::errc() && ptr == end && end - begin == 4) {
      characters.push_back(static_cast<char16_t>(value));
    }
  }
  return characters;
}

std::optional<char16_t> first_character(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (byte(0) < 0x80) return static_cast<char16_t>(byte(0));
  if ((byte(0) & 0xE0) == 0xC0 && text.size() >= 2) {
    return static_cast<char16_t>(((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F));
  }
  if ((byte(0) & 0xF0) == 0xE0 && text.size() >= 3) {
    return static_cast<char16_t>(((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) |
                                 (byte(2) & 0x3F));
  }
  return std::nullopt;
}

std::optional<int> count_word(std::string_view word) {
  static constexpr std::array<std::string_view, 21> kWords = {
      "zero",    "one",     "two",       "three",    "four",     "five",    "six",
      "seven",   "eight",   "nine",      "ten",      "eleven",   "twelve",  "thirteen",
      "fourteen", "fifteen", "sixteen",  "seventeen", "eighteen", "nineteen", "twenty"};
  for (std::size_t i = 0; i < kWords.size(); ++i) {
    if (word == kWords[i]) return static_cast<int>(i);
  }
  int value = 0;
  auto [ptr, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || ptr != word.data() + word.size()) return std::nullopt;
  return value;
}

int trailing_number(std::string_view name) {
  std::size_t digits = name.size();
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  if (digits == name.size()) return -1;
  int value = 0;
  std::from_chars(name.data() + digits, name.data() + name.size(), value);
  return value;
}

std::optional<std::vector<std::string>> constant_list(std::string_view text) {
  std::vector<std::string> names;
  text = trim(text);
  if (!text.empty() && text.back() == '.') text.remove_suffix(1);
  if (text == "none" || text.empty()) return names;
  for (std::string_view item : comma_items(text)) {
    const std::vector<std::string> quoted = backticked(item);
    if (quoted.size() == 1 && item == "`" + quoted[0] + "`") {
      names.push_back(quoted[0]);
    } else if (quoted.size() == 2 && item.find("` to `") != std::string_view::npos) {
      const std::string_view first = quoted[0];
      const std::string_view prefix = first.substr(0, first.size() - 2);
      const int from = trailing_number(quoted[0]);
      const int to = trailing_number(quoted[1]);
      if (from < 0 || to < from || !starts_with(quoted[1], prefix)) return std::nullopt;
      for (int n = from; n <= to; ++n) names.push_back(numbered(prefix, n));
    } else if (quoted.empty() && item.find(" of the ") != std::string_view::npos) {
      const std::size_t blank = item.find(' ');
      const std::optional<int> count = count_word(item.substr(0, blank));
      const std::string_view unit = item.substr(item.find(" of the ") + 8);
      if (!count) return std::nullopt;
      for (int n = 0; n < *count; ++n) names.push_back("<" + std::string(unit) + ">");
    } else {
      return std::nullopt;
    }
  }
  return names;
}

}  // namespace compgen
