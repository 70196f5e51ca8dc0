#include "appplatform/text.h"

#include <cstdint>

namespace ductra::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void put_utf8(char32_t c, std::string& out) {
  const auto byte = [&out](std::uint32_t b) { out.push_back(static_cast<char>(b)); };
  if (c < 0x80) {
    byte(c);
  } else if (c < 0x800) {
    byte(0xC0 | (c >> 6));
    byte(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    byte(0xE0 | (c >> 12));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  } else {
    byte(0xF0 | (c >> 18));
    byte(0x80 | ((c >> 12) & 0x3F));
    byte(0x80 | ((c >> 6) & 0x3F));
    byte(0x80 | (c & 0x3F));
  }
}

// The code point of the UTF-8 sequence at text[at], moving `at` past it.
char32_t take_utf8(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  const int tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (tail < 0 || lead >= 0xF8) return kReplacement;
  char32_t c = lead & (0x3F >> tail);
  for (int k = 0; k < tail; ++k) {
    if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[tail] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  return c;
}

}  // namespace

std::string to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    put_utf8(c, out);
  }
  return out;
}

std::u16string to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = take_utf8(text, at);
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

char16_t fold_case(char16_t unit) {
  const auto shifted = [unit](int by) { return static_cast<char16_t>(unit + by); };
  if (unit >= u'A' && unit <= u'Z') return shifted(32);
  if (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) return shifted(32);  // Latin-1 capitals
  if (unit >= 0x391 && unit <= 0x3AB && unit != 0x3A2) return shifted(32);  // Greek capitals
  if (unit >= 0x410 && unit <= 0x42F) return shifted(32);  // Cyrillic А..Я
  if (unit >= 0x400 && unit <= 0x40F) return shifted(80);  // Cyrillic Ѐ..Џ
  return unit;
}

bool equal_ignoring_case(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold_case(a[i]) != fold_case(b[i])) return false;
  }
  return true;
}

}  // namespace ductra::platform
