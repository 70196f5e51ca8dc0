#include "engine/foundation/utf.h"

#include <cstdint>

namespace inkrec {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void append_utf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void append_utf16(char32_t c, std::u16string& out) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

bool is_high_surrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one UTF-8 sequence at text[i], advancing i past it.
char32_t decode_utf8(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
  } else {
    return kReplacement;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size()) return kReplacement;
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (next & 0x3F);
    ++i;
  }
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (c < kLeast[extra] || c > 0x10FFFF || is_high_surrogate(c) || is_low_surrogate(c)) {
    return kReplacement;
  }
  return c;
}

}  // namespace

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (is_high_surrogate(c) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (is_high_surrogate(c) || is_low_surrogate(c)) {
      c = kReplacement;
    }
    append_utf8(c, out);
  }
  return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) append_utf16(decode_utf8(text, i), out);
  return out;
}

std::u16string_view wide_view(const char16_t* text) {
  return text == nullptr ? std::u16string_view{} : std::u16string_view{text};
}

}  // namespace inkrec
