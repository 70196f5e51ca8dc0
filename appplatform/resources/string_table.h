// A string table: UTF-16 strings by 16-bit id, fixed once built.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace ductra::platform {

class StringTable {
 public:
  StringTable() = default;
  explicit StringTable(std::map<std::uint16_t, std::u16string> strings) : strings_(std::move(strings)) {}

  // The string of an id; null when the table has none or an empty one.
  const std::u16string* find(std::uint32_t id) const;
  // Copies the string into the buffer, cut to fit and terminated; returns the
  // units copied (without the terminator), 0 when the string is missing or
  // empty or the buffer holds no unit besides the terminator.
  int load(std::uint32_t id, std::span<char16_t> buffer) const;
  std::size_t size() const { return strings_.size(); }
  const std::map<std::uint16_t, std::u16string>& entries() const { return strings_; }

 private:
  std::map<std::uint16_t, std::u16string> strings_;
};

}  // namespace ductra::platform
