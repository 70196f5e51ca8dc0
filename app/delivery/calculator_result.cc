#include "app/delivery/calculator_result.h"

#include <array>
#include <algorithm>

namespace ductra {
namespace {

// A result holds at most 255 units and its terminator.
constexpr std::size_t kResultUnits = 256;

bool is_single_key(std::u16string_view result) {
  return result.size() == 1 && (result[0] == u'\b' || result[0] == u'\n' || result[0] == u'\r');
}

bool takes_space(std::u16string_view text) {
  if (text.empty() || text.size() >= kResultUnits - 1) return false;
  const char16_t last = text.back();
  return last != u' ' && last != u'\r' && last != u'\n' && last != u'\b';
}

}  // namespace

CalculatedResult calculate_result(Calculator& calculator, std::u16string_view result, char16_t separator,
                                  const Localizer& strings) {
  if (is_single_key(result)) return {std::u16string(result), {}, false};
  std::array<char16_t, kResultUnits> expression{};
  result.copy(expression.data(), std::min(result.size(), kResultUnits - 1));
  std::array<char16_t, kResultUnits> value{};
  const int code = calculator.evaluate(expression, separator, value);
  const std::u16string completed(expression.data());
  CalculatedResult calculated;
  if (code != kCalcOk) {
    calculated.bubble = completed + u"\n" + strings.string(static_cast<std::uint32_t>(Calculator::error_string(code)));
    calculated.failed = true;
    return calculated;
  }
  calculated.text = value.data();
  if (!calculated.text.empty()) calculated.bubble = completed + calculated.text;
  if (takes_space(calculated.text)) calculated.text += u' ';
  return calculated;
}

}  // namespace ductra
