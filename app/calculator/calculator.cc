#include "app/calculator/calculator.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string_view>

namespace ductra {
namespace {

constexpr char16_t kTimesSign = 0x00D7;
constexpr char16_t kLastBlank = 32;
constexpr std::size_t kMostDigits = 127;
constexpr std::size_t kFormatUnits = 256;
constexpr int kFirstErrorString = 240;
constexpr int kUnknownErrorString = 245;

bool is_digit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }
bool is_separator(char16_t unit) { return unit == u'.' || unit == u','; }
bool reads_as_one(char16_t unit) { return unit == u'/' || unit == u'(' || unit == u')'; }

std::size_t length_of(std::span<const char16_t> text) {
  return static_cast<std::size_t>(std::ranges::find(text, u'\0') - text.begin());
}

// Writes the value with six decimals, trailing zeros and a separator left
// last dropped, cut to the output's size less its terminator; a value whose
// six-decimal form would not fit the format buffer is written in exponent
// form instead.
void write_value(double value, std::span<char16_t> output) {
  if (output.empty()) return;
  char buffer[kFormatUnits];
  int written = std::snprintf(buffer, sizeof buffer, "%f", value);
  std::string_view text;
  if (written < 0 || static_cast<std::size_t>(written) >= sizeof buffer) {
    written = std::snprintf(buffer, sizeof buffer, "%g", value);
    text = std::string_view(buffer, static_cast<std::size_t>(std::max(written, 0)));
  } else {
    text = std::string_view(buffer, static_cast<std::size_t>(written));
    if (text.find_first_of(".,") != std::string_view::npos) {
      while (!text.empty() && text.back() == '0') text.remove_suffix(1);
      if (!text.empty() && is_separator(static_cast<char16_t>(text.back()))) text.remove_suffix(1);
    }
  }
  const std::size_t n = std::min(text.size(), output.size() - 1);
  for (std::size_t i = 0; i < n; ++i) output[i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  output[n] = u'\0';
}

void use_separator(std::span<char16_t> text, char16_t separator) {
  for (char16_t& unit : text) {
    if (unit == u'\0') break;
    if (is_separator(unit)) unit = separator;
  }
}

}  // namespace

int Calculator::error_string(int code) {
  return code >= kCalcIllegal && code <= kCalcCloseWithoutOpen ? kFirstErrorString + code - 1 : kUnknownErrorString;
}

int Calculator::evaluate(std::span<char16_t> text, char16_t separator, std::span<char16_t> output) {
  if (text.data() == nullptr || text.empty()) return kCalcNoText;
  try {
    copy_without_blanks(text);
  } catch (const std::bad_alloc&) {
    return kCalcOutOfMemory;
  }
  cursor_ = 0;
  end_mark_ = -1;
  if (work_.front() == u'\0') {
    if (!output.empty()) output[0] = u'\0';
    return kCalcOk;
  }
  int error = kCalcOk;
  const double value = parse_sum(true, error);
  if (error == kCalcOk && token_ != kEnd && token_ != kEquals) {
    error = token_ == kClose ? kCalcCloseWithoutOpen : kCalcIllegal;
  }
  complete_text(text);
  write_value(value, output);
  use_separator(text, separator);
  use_separator(output, separator);
  return error;
}

// The work copy has room for its terminator even when the text fills its
// whole buffer without one.
void Calculator::copy_without_blanks(std::span<const char16_t> text) {
  const std::size_t length = length_of(text);
  work_.clear();
  text_position_.clear();
  work_.reserve(length + 1);
  text_position_.reserve(length + 1);
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] <= kLastBlank) continue;
    work_.push_back(text[i]);
    text_position_.push_back(i);
  }
  work_.push_back(u'\0');
  text_position_.push_back(length);
}

void Calculator::next_token() {
  const char16_t unit = work_[cursor_];
  if (unit == u'\0') {
    token_ = kEnd;
    return;
  }
  if (is_digit(unit) || is_separator(unit)) {
    read_number();
    return;
  }
  ++cursor_;
  switch (unit) {
    case u'=':
    case u'?':
      token_ = kEquals;
      if (end_mark_ < 0) end_mark_ = static_cast<std::int32_t>(text_position_[cursor_ - 1]);
      break;
    case u'+': token_ = kPlus; break;
    case u'-': token_ = kMinus; break;
    case u'*':
    case kTimesSign: token_ = kTimes; break;
    case u'/':
    case u':': token_ = kDivide; break;
    case u'(': token_ = kOpen; break;
    case u')': token_ = kClose; break;
    default: token_ = kUnknown; break;
  }
}

void Calculator::read_number() {
  token_ = kNumber;
  double whole = 0;
  std::size_t digits = 0;
  std::size_t digits_before_separator = 0;
  bool separator_seen = false;
  for (;; ++cursor_) {
    char16_t& unit = work_[cursor_];
    if (separator_seen && is_separator(work_[cursor_ - 1]) && reads_as_one(unit)) {
      unit = u'1';
    }
    if (is_digit(unit)) {
      if (digits < kMostDigits) {
        whole = whole * 10 + (unit - u'0');
        ++digits;
      }
    } else if (is_separator(unit) && !separator_seen) {
      separator_seen = true;
      digits_before_separator = digits;
    } else {
      break;
    }
  }
  for (std::size_t i = digits_before_separator; separator_seen && i < digits; ++i) whole *= 0.1;
  value_ = whole;
}

double Calculator::parse_primary(bool advance, int& error) {
  if (advance) next_token();
  switch (token_) {
    case kEnd:
      error = kCalcIncomplete;
      return 1.0;
    case kNumber: {
      const double number = value_;
      next_token();
      return number;
    }
    case kMinus:
      return -parse_primary(true, error);
    case kOpen: {
      const double sum = parse_sum(true, error);
      if (token_ != kClose) {
        if (error == kCalcOk) error = kCalcCloseExpected;
        return 1.0;
      }
      next_token();
      return sum;
    }
    default:
      error = kCalcIllegal;
      return 1.0;
  }
}

double Calculator::parse_term(bool advance, int& error) {
  double value = parse_primary(advance, error);
  while (error == kCalcOk) {
    if (token_ == kTimes) {
      value = parse_primary(true, error) * value;
    } else if (token_ == kDivide) {
      const double divisor = parse_primary(true, error);
      if (divisor == 0) {
        error = kCalcDivisionByZero;
        break;
      }
      value = value / divisor;
    } else {
      break;
    }
  }
  return value;
}

double Calculator::parse_sum(bool advance, int& error) {
  double value = parse_term(advance, error);
  while (error == kCalcOk) {
    if (token_ == kPlus) {
      value = parse_term(true, error) + value;
    } else if (token_ == kMinus) {
      value = value - parse_term(true, error);
    } else {
      break;
    }
  }
  return value;
}

// Cut right after the first "=" or "?", or append "=" when there is room
// for it and the terminator.
void Calculator::complete_text(std::span<char16_t> text) const {
  if (end_mark_ >= 0) {
    const auto cut = static_cast<std::size_t>(end_mark_) + 1;
    if (cut < text.size()) text[cut] = u'\0';
    return;
  }
  const std::size_t length = length_of(text);
  if (length + 1 < text.size()) {
    text[length] = u'=';
    text[length + 1] = u'\0';
  }
}

}  // namespace ductra
