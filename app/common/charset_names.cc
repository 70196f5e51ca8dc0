#include "app/common/charset_names.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace ductra {
namespace {

constexpr std::uint32_t kFirstNamedCharset = 1;
constexpr std::uint32_t kLastNamedCharset = 42;
constexpr std::size_t kNameUnits = 256;
constexpr std::uint32_t kNoCharsetId = static_cast<std::uint32_t>(-127);

std::u16string engine_name(const CharsetLookup& engine, std::uint32_t id) {
  crCharSet record{};
  record.id = kNoCharsetId;
  if (engine(id, &record) != 0) return {};
  const auto end = std::find(std::begin(record.name), std::end(record.name), u'\0');
  return std::u16string(std::begin(record.name), end);
}

}  // namespace

int charset_name_base(int kind) {
  switch (kind) {
    case 0:
      return 6100;
    case 1:
      return 6200;
    case 2:
      return 6300;
    default:
      return kNoCharsetNameBase;
  }
}

std::u16string charset_display_name(const Localizer& localizer, const CharsetLookup& engine, std::uint32_t id,
                                    int kind) {
  const int base = charset_name_base(kind);
  if (base != kNoCharsetNameBase && id >= kFirstNamedCharset && id <= kLastNamedCharset) {
    std::array<char16_t, kNameUnits> name{};
    if (localizer.get_string(static_cast<std::uint32_t>(base) + id, name)) return name.data();
  }
  return engine_name(engine, id);
}

}  // namespace ductra
