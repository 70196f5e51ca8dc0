// The calculator mode's rule for a recognised result, in place of the
// trailing space: a result that is one backspace, line feed or carriage
// return is typed as it is; any other is evaluated (calculator.h). After an
// error nothing is typed and the bubble shows the expression, a line break
// and the error's text in red; after a success the value is typed and the
// bubble shows the completed expression with the value, in black. A value
// gets a space unless it ends in a space, line feed, carriage return or
// backspace, or already holds 255 units.
#pragma once

#include <string>
#include <string_view>

#include "app/calculator/calculator.h"
#include "app/common/localizer.h"

namespace ductra {

struct CalculatedResult {
  std::u16string text;    // what is typed
  std::u16string bubble;  // what the bubble shows; empty: no bubble
  bool failed = false;
};

CalculatedResult calculate_result(Calculator& calculator, std::u16string_view result, char16_t separator,
                                  const Localizer& strings);

}  // namespace ductra
