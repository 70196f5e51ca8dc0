#include "app/calculator/calculator.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/app/failing_allocations.h"

namespace ductra {
namespace {

struct Evaluation {
  int code = 0;
  std::u16string text;    // the text as the calculator left it
  std::u16string output;
};

Evaluation evaluate(std::u16string_view expression, char16_t separator = u'.', std::size_t capacity = 256) {
  std::u16string text(capacity, u'\0');
  expression.copy(text.data(), std::min(expression.size(), capacity));
  std::array<char16_t, 256> output{};
  output.fill(u'#');
  Calculator calculator;
  Evaluation result;
  result.code = calculator.evaluate(text, separator, output);
  result.text = text.c_str();
  result.output = output.data();
  return result;
}

// The table of cases: code, completed text and value, with the string the
// application shows for an error.
TEST(CalculatorTest, TableOfCases) {
  struct Case {
    std::u16string expression;
    int code;
    std::u16string text;
    std::u16string output;
  };
  const Case cases[] = {
      {u"2+3", 0, u"2+3=", u"5"},
      {u"7 : 2", 0, u"7 : 2=", u"3.5"},
      {u"3\u00D74", 0, u"3\u00D74=", u"12"},
      {u"10/4", 0, u"10/4=", u"2.5"},
      {u"1/3", 0, u"1/3=", u"0.333333"},
      {u"3./4", 0, u"3./4=", u"3.14"},
      {u"5.)", 0, u"5.)=", u"5.1"},
      {u"2+3=9", 0, u"2+3=", u"5"},
      {u"2 + 3 = 9", 0, u"2 + 3 =", u"5"},
      {u" 6 * 7 ? and more", 0, u" 6 * 7 ?", u"42"},
      {u"2-3-4", 0, u"2-3-4=", u"-5"},
      {u"2+3*4", 0, u"2+3*4=", u"14"},
      {u"--2", 0, u"--2=", u"2"},
      {u"-(2+3)*2", 0, u"-(2+3)*2=", u"-10"},
      {u",5", 0, u".5=", u"0.5"},
      {u"10.0", 0, u"10.0=", u"10"},
      {u"2*(3+4", 2, u"2*(3+4=", u"2"},
      {u"(2+3))", 5, u"(2+3))=", u"5"},
      {u"2+", 4, u"2+=", u"3"},
      {u"*2", 1, u"*2=", u"1"},
      {u"1/0", 3, u"1/0=", u"1"},
      {u"2a", 1, u"2a=", u"2"},
      {u"+2", 1, u"+2=", u"1"},
  };
  for (const Case& c : cases) {
    const Evaluation e = evaluate(c.expression);
    const std::string what(c.expression.begin(), c.expression.end());
    EXPECT_EQ(e.code, c.code) << what;
    EXPECT_EQ(e.text, c.text) << what;
    EXPECT_EQ(e.output, c.output) << what;
  }
}

TEST(CalculatorTest, EachErrorHasItsText) {
  const std::pair<int, int> strings[] = {{1, 240}, {2, 241}, {3, 242}, {4, 243}, {5, 244}, {-1, 245}, {-2, 245}};
  for (const auto& [code, id] : strings) EXPECT_EQ(Calculator::error_string(code), id) << code;
}

TEST(CalculatorTest, TheSeparatorOfTheLocaleIsWrittenIntoTheTextAndTheValue) {
  const Evaluation e = evaluate(u"2.5*2,5", u',');
  EXPECT_EQ(e.code, 0);
  EXPECT_EQ(e.text, u"2,5*2,5=");
  EXPECT_EQ(e.output, u"6,25");
}

TEST(CalculatorTest, BlanksOnlyLeaveTheTextAloneAndTheValueEmpty) {
  const Evaluation e = evaluate(u"  \t ");
  EXPECT_EQ(e.code, 0);
  EXPECT_EQ(e.text, u"  \t ");
  EXPECT_EQ(e.output, u"");
}

TEST(CalculatorTest, BadArgumentsAndAFailedCopyAreStatuses) {
  Calculator calculator;
  std::array<char16_t, 8> output{};
  EXPECT_EQ(calculator.evaluate({}, u'.', output), kCalcNoText);
  std::u16string text = u"2+2";
  text.resize(8);
  {
    testing::FailingAllocations failing(0);
    EXPECT_EQ(calculator.evaluate(text, u'.', output), kCalcOutOfMemory);
  }
  EXPECT_EQ(calculator.evaluate(text, u'.', output), kCalcOk) << "the calculator is usable again";
  EXPECT_EQ(std::u16string(output.data()), u"4");
}

// The text's buffer is full: no "=" fits, and the work copy still has room
// for its own terminator. A value too large for six decimals in 255 units
// is written in exponent form, and the output is cut to its size.
TEST(CalculatorTest, FullBuffersAndHugeValuesStayInBounds) {
  std::u16string full = u"12+30";
  Calculator calculator;
  std::array<char16_t, 3> small{};
  EXPECT_EQ(calculator.evaluate(full, u'.', small), kCalcOk);
  EXPECT_EQ(full, u"12+30") << "no room for \"=\"";
  EXPECT_EQ(std::u16string(small.data()), u"42");

  const std::u16string factor(100, u'9');
  const Evaluation e = evaluate(factor + u"*" + factor + u"*" + factor, u'.', 400);
  EXPECT_EQ(e.code, 0);
  EXPECT_EQ(e.output, u"1e+300") << "written in exponent form";
  const Evaluation many_digits = evaluate(std::u16string(200, u'1'), u'.', 400);
  EXPECT_EQ(many_digits.output.size(), 127u) << "127 digits are kept";
}

}  // namespace
}  // namespace ductra
