#include "appplatform/resources/string_table.h"

#include <algorithm>

namespace ductra::platform {

const std::u16string* StringTable::find(std::uint32_t id) const {
  if (id > 0xFFFF) return nullptr;
  const auto it = strings_.find(static_cast<std::uint16_t>(id));
  return it == strings_.end() || it->second.empty() ? nullptr : &it->second;
}

int StringTable::load(std::uint32_t id, std::span<char16_t> buffer) const {
  if (buffer.empty()) return 0;
  buffer[0] = 0;
  const std::u16string* text = find(id);
  if (!text || buffer.size() < 2) return 0;
  const std::size_t n = std::min(text->size(), buffer.size() - 1);
  std::copy_n(text->begin(), n, buffer.begin());
  buffer[n] = 0;
  return static_cast<int>(n);
}

}  // namespace ductra::platform
