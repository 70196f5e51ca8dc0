// The calculator of the calculator mode: evaluates a recognised text as an
// arithmetic expression in double precision, completes the text with "="
// and gives the value as text.
//
// It is lenient where handwriting is read wrong: blanks and control
// characters are ignored, "," and "." both separate decimals, U+00D7
// multiplies and ":" divides, "?" ends an expression like "=", and "/",
// "(" or ")" right after a decimal separator is the digit 1. "*" and "/"
// bind tighter than "+" and "-", all four to the left, unary minus
// tightest.
//
// The text is the caller's buffer and is changed in place: cut right after
// its first "=" or "?" (found in the text, though the lexer walks a copy
// without blanks), or given a "=" when there is room; "." and "," become
// the separator in the text and in the output. The value is written with
// at most six decimals, trailing zeros dropped; one too large for that is
// written in exponent form. Statuses, never exceptions.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ductra {

enum CalculatorCode : int {
  kCalcOk = 0,
  kCalcIllegal = 1,             // a token that cannot start an operand, or one left after the expression
  kCalcCloseExpected = 2,       // ")" expected
  kCalcDivisionByZero = 3,
  kCalcIncomplete = 4,          // the text ends where an operand is needed
  kCalcCloseWithoutOpen = 5,    // ")" without "("
  kCalcOutOfMemory = -1,
  kCalcNoText = -2,             // no text, or a capacity below 1
};

class Calculator {
 public:
  // The string ids of the error texts: 240 to 244 for codes 1 to 5, 245 for any other.
  static int error_string(int code);

  // `text`: the expression, terminated within the span (whose size is the
  // buffer's capacity); `output`: receives the value, terminated, cut to
  // its size. Every path past the argument check fills the output.
  int evaluate(std::span<char16_t> text, char16_t separator, std::span<char16_t> output);

 private:
  enum Token : int {
    kUnknown = 0,
    kEnd = 2,
    kNumber = 3,
    kPlus = 4,
    kMinus = 5,
    kTimes = 6,
    kDivide = 7,
    kOpen = 8,
    kClose = 9,
    kEquals = 10,
  };

  void copy_without_blanks(std::span<const char16_t> text);
  void next_token();
  void read_number();
  double parse_primary(bool advance, int& error);
  double parse_term(bool advance, int& error);
  double parse_sum(bool advance, int& error);
  void complete_text(std::span<char16_t> text) const;

  Token token_ = kUnknown;
  double value_ = 0;
  // The expression without blanks, terminated, and where each of its units
  // stands in the text.
  std::vector<char16_t> work_;
  std::vector<std::size_t> text_position_;
  std::size_t cursor_ = 0;
  std::int32_t end_mark_ = -1;
};

}  // namespace ductra
