// Formatting of localised texts that hold printf-style conversions.
//
// A format may use "%s" (a text), "%d" (a whole number), "%g" or "%.Ng"
// (a number with N significant digits, N up to 17) and "%%". The
// conversions must match the arguments one for one, in kind and number;
// any other conversion, a flag or a width makes the format unusable, so a
// translated text can never read an argument it was not given. The result
// is bounded: it is cut to the caller's limit, never written past it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace ductra {

struct FormatArg {
  std::variant<std::u16string_view, std::int64_t, double> value;

  FormatArg(std::u16string_view text) : value(text) {}
  FormatArg(const char16_t* text) : value(std::u16string_view(text)) {}
  FormatArg(int number) : value(std::int64_t{number}) {}
  FormatArg(std::int64_t number) : value(number) {}
  FormatArg(double number) : value(number) {}
};

// The formatted text, at most `max_units` units; nothing when the format's
// conversions do not match the arguments. Numbers of "%g" are written with
// `decimal_separator`.
std::optional<std::u16string> format_message(std::u16string_view format, std::span<const FormatArg> args,
                                             std::size_t max_units, char16_t decimal_separator = u'.');

}  // namespace ductra
