#include "app/common/message_format.h"

#include <cstdio>
#include <vector>

namespace ductra {
namespace {

constexpr int kMaxPrecision = 17;

enum class Kind { text, whole, real };

// One conversion of a format: where it starts and ends, and what it reads.
struct Conversion {
  std::size_t begin = 0;
  std::size_t end = 0;
  Kind kind = Kind::text;
  int precision = -1;  // -1: none given
};

bool is_digit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

// Reads the conversion that starts with '%' at `at`; nothing when it is not
// one this formatter knows ("%%" is not a conversion and is left out).
std::optional<Conversion> read_conversion(std::u16string_view format, std::size_t at) {
  Conversion conversion;
  conversion.begin = at;
  std::size_t i = at + 1;
  if (i < format.size() && format[i] == u'.') {
    ++i;
    int precision = 0;
    std::size_t digits = 0;
    while (i < format.size() && is_digit(format[i]) && digits < 2) {
      precision = precision * 10 + (format[i] - u'0');
      ++i;
      ++digits;
    }
    if (digits == 0 || precision > kMaxPrecision) return std::nullopt;
    conversion.precision = precision;
  }
  if (i >= format.size()) return std::nullopt;
  switch (format[i]) {
    case u's':
      conversion.kind = Kind::text;
      break;
    case u'd':
      conversion.kind = Kind::whole;
      break;
    case u'g':
      conversion.kind = Kind::real;
      break;
    default:
      return std::nullopt;
  }
  if (conversion.precision >= 0 && conversion.kind != Kind::real) return std::nullopt;
  conversion.end = i + 1;
  return conversion;
}

// Every conversion of the format in order; nothing when one is malformed.
std::optional<std::vector<Conversion>> read_conversions(std::u16string_view format) {
  std::vector<Conversion> conversions;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%') continue;
    if (i + 1 < format.size() && format[i + 1] == u'%') {
      ++i;
      continue;
    }
    const std::optional<Conversion> conversion = read_conversion(format, i);
    if (!conversion) return std::nullopt;
    conversions.push_back(*conversion);
    i = conversion->end - 1;
  }
  return conversions;
}

Kind kind_of(const FormatArg& arg) {
  if (std::holds_alternative<std::u16string_view>(arg.value)) return Kind::text;
  if (std::holds_alternative<std::int64_t>(arg.value)) return Kind::whole;
  return Kind::real;
}

std::u16string ascii_to_utf16(const char* text) {
  std::u16string out;
  for (; *text != 0; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
  return out;
}

std::u16string render(const Conversion& conversion, const FormatArg& arg, char16_t decimal_separator) {
  char buffer[64];
  if (const auto* text = std::get_if<std::u16string_view>(&arg.value)) return std::u16string(*text);
  if (const auto* whole = std::get_if<std::int64_t>(&arg.value)) {
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(*whole));
  } else {
    const int precision = conversion.precision >= 0 ? conversion.precision : 6;
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, std::get<double>(arg.value));
    std::u16string number = ascii_to_utf16(buffer);
    for (char16_t& unit : number) {
      if (unit == u'.') unit = decimal_separator;
    }
    return number;
  }
  return ascii_to_utf16(buffer);
}

// Appends the units of `text` that still fit.
void append_bounded(std::u16string& out, std::u16string_view text, std::size_t max_units) {
  const std::size_t room = max_units > out.size() ? max_units - out.size() : 0;
  out.append(text.substr(0, room));
}

// The literal text between conversions, with "%%" made '%'.
void append_literal(std::u16string& out, std::u16string_view literal, std::size_t max_units) {
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == u'%' && i + 1 < literal.size() && literal[i + 1] == u'%') ++i;
    append_bounded(out, literal.substr(i, 1), max_units);
  }
}

}  // namespace

std::optional<std::u16string> format_message(std::u16string_view format, std::span<const FormatArg> args,
                                             std::size_t max_units, char16_t decimal_separator) {
  const std::optional<std::vector<Conversion>> conversions = read_conversions(format);
  if (!conversions || conversions->size() != args.size()) return std::nullopt;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((*conversions)[i].kind != kind_of(args[i])) return std::nullopt;
  }
  std::u16string out;
  std::size_t literal_begin = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const Conversion& conversion = (*conversions)[i];
    append_literal(out, format.substr(literal_begin, conversion.begin - literal_begin), max_units);
    append_bounded(out, render(conversion, args[i], decimal_separator), max_units);
    literal_begin = conversion.end;
  }
  append_literal(out, format.substr(literal_begin), max_units);
  return out;
}

}  // namespace ductra
