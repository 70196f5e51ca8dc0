#include "engine/foundation/error_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace inkrec {
namespace {

struct ErrorTextCase {
  int code;
  int status;
  std::u16string text;
};

class ErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(ErrorTextTest, LooksUpMessage) {
  const ErrorTextCase& c = GetParam();
  char16_t buffer[kErrorTextBufferUnits];
  std::fill(std::begin(buffer), std::end(buffer), u'x');
  EXPECT_EQ(get_error_text(c.code, buffer), c.status);
  EXPECT_EQ(std::u16string(buffer), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorTextTest,
    ::testing::Values(
        ErrorTextCase{-1, 0, u"Нехватка памяти"},
        ErrorTextCase{-2, 0, u"Передан нулевой указатель"},
        ErrorTextCase{-3, 0, u"Недокументированная ошибка"},
        ErrorTextCase{0, -3, u""},
        ErrorTextCase{999, -3, u""},
        ErrorTextCase{15000, -3, u""},
        ErrorTextCase{INT_MIN, -3, u""},
        ErrorTextCase{14999, -4, u""},
        ErrorTextCase{1005, -4, u""},
        ErrorTextCase{4001, 0, u"Не инициализирован основной класс ядра"},
        ErrorTextCase{-4001, 0, u"Не инициализирован основной класс ядра"},
        ErrorTextCase{3017, 0, u"Неправильный режим или недопустимая операция для данного режима"},
        ErrorTextCase{11013, 0, u"Неправильный номер слова"},
        ErrorTextCase{11008, 0, u"Неправильный номер слова"},
        ErrorTextCase{13002, 0, u"арсет с данным ID уже существует."},
        ErrorTextCase{14010, 0, u"Не удалось построить индекс."}));

TEST(ErrorTextNullTest, NullBufferIsBadArgument) { EXPECT_EQ(get_error_text(4001, nullptr), -2); }

TEST(ErrorTextLengthTest, EveryMessageFitsTheBuffer) {
  char16_t buffer[kErrorTextBufferUnits];
  for (int code = 1000; code < 15000; ++code) {
    if (get_error_text(code, buffer) != 0) continue;
    EXPECT_LT(std::u16string(buffer).size(), kErrorTextBufferUnits) << code;
  }
  ASSERT_EQ(get_error_text(8002, buffer), 0);
  EXPECT_EQ(std::u16string(buffer).substr(0, 16), u"Попытка добавить");
}

}  // namespace
}  // namespace inkrec
