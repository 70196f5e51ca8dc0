#include "appplatform/com/guid.h"

#include <optional>

namespace ductra::platform {
namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";
constexpr std::size_t kTextLength = 38;
// Where each of the 16 bytes starts in the text, in the order data1 (high
// byte first), data2, data3, data4.
constexpr std::size_t kBytePositions[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
constexpr std::size_t kDashPositions[4] = {9, 14, 19, 24};

std::array<std::uint8_t, 16> bytes_of(const Guid& g) {
  std::array<std::uint8_t, 16> b{};
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(g.data1 >> (24 - 8 * i));
  b[4] = static_cast<std::uint8_t>(g.data2 >> 8);
  b[5] = static_cast<std::uint8_t>(g.data2);
  b[6] = static_cast<std::uint8_t>(g.data3 >> 8);
  b[7] = static_cast<std::uint8_t>(g.data3);
  for (int i = 0; i < 8; ++i) b[8 + i] = g.data4[i];
  return b;
}

Guid guid_of(const std::array<std::uint8_t, 16>& b) {
  Guid g;
  for (int i = 0; i < 4; ++i) g.data1 = (g.data1 << 8) | b[i];
  g.data2 = static_cast<std::uint16_t>((b[4] << 8) | b[5]);
  g.data3 = static_cast<std::uint16_t>((b[6] << 8) | b[7]);
  for (int i = 0; i < 8; ++i) g.data4[i] = b[8 + i];
  return g;
}

std::optional<std::uint8_t> hex_value(char16_t c) {
  if (c >= u'0' && c <= u'9') return static_cast<std::uint8_t>(c - u'0');
  if (c >= u'a' && c <= u'f') return static_cast<std::uint8_t>(c - u'a' + 10);
  if (c >= u'A' && c <= u'F') return static_cast<std::uint8_t>(c - u'A' + 10);
  return std::nullopt;
}

}  // namespace

std::u16string guid_to_string(const Guid& guid) {
  std::u16string text(kTextLength, u'-');
  text.front() = u'{';
  text.back() = u'}';
  const auto bytes = bytes_of(guid);
  for (int i = 0; i < 16; ++i) {
    text[kBytePositions[i]] = kDigits[bytes[i] >> 4];
    text[kBytePositions[i] + 1] = kDigits[bytes[i] & 0xF];
  }
  return text;
}

HResult guid_from_string(std::u16string_view text, Guid& out) {
  if (text.size() != kTextLength || text.front() != u'{' || text.back() != u'}') return CO_E_CLASSSTRING;
  for (std::size_t dash : kDashPositions) {
    if (text[dash] != u'-') return CO_E_CLASSSTRING;
  }
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 16; ++i) {
    const auto high = hex_value(text[kBytePositions[i]]);
    const auto low = hex_value(text[kBytePositions[i] + 1]);
    if (!high || !low) return CO_E_CLASSSTRING;
    bytes[i] = static_cast<std::uint8_t>((*high << 4) | *low);
  }
  out = guid_of(bytes);
  return S_OK;
}

}  // namespace ductra::platform
