#include "engine/records/letter_classes.h"

#include <gtest/gtest.h>

namespace inkrec {
namespace {

TEST(LetterClassesTest, FixedLettersThenPropertyBits) {
  const PropertyFlags none;
  const PropertyFlags all(0x1F0000);
  struct Case {
    std::uint32_t code;
    int count;
    bool c16_none, c16_all, c17_none, c17_all, c18_none, c18_all, c19_none, c19_all, c20_none,
        c20_all;
  };
  const Case cases[] = {
      {'L', 2, true, true, false, false, true, false, true, true, false, true},
      {'l', 2, true, true, false, false, true, false, true, true, false, true},
      {'S', 2, false, false, true, false, true, true, false, true, false, false},
      {'s', 2, false, false, true, false, true, true, false, true, false, false},
      {'e', 2, false, false, true, true, true, false, false, false, false, true},
      {'n', 2, false, false, true, true, true, false, false, false, false, true},
      {'n', 1, false, false, false, false, true, false, false, false, false, false},
      {'t', 2, false, true, true, false, true, true, false, true, false, true},
      {'g', 1, false, true, false, false, false, false, false, true, true, true},
      {'F', 2, false, true, false, false, false, false, false, true, false, true},
      {'h', 2, false, true, false, false, true, false, true, true, false, true},
      {'a', 2, false, true, true, false, true, false, false, true, false, true},
      {'a', 1, false, true, false, false, true, false, false, true, false, false},
      // Past ASCII only the property bits count, even where the low bits
      // are those of a fixed letter ('L' + 128, 'l' + 256, 'S' + 128).
      {0xCC, 2, false, true, true, false, true, false, false, true, false, true},
      {0x16C, 2, false, true, true, false, true, false, false, true, false, true},
      {0xD3, 2, false, true, true, false, true, false, false, true, false, true},
  };
  for (const Case& c : cases) {
    const std::uint32_t code = c.code;
    SCOPED_TRACE(testing::Message() << code << " count " << c.count);
    EXPECT_EQ(letter_class_16(code, none), c.c16_none);
    EXPECT_EQ(letter_class_16(code, all), c.c16_all);
    EXPECT_EQ(letter_class_17(code, none, c.count), c.c17_none);
    EXPECT_EQ(letter_class_17(code, all, c.count), c.c17_all);
    EXPECT_EQ(letter_class_18(code, none), c.c18_none);
    EXPECT_EQ(letter_class_18(code, all), c.c18_all);
    EXPECT_EQ(letter_class_19(code, none), c.c19_none);
    EXPECT_EQ(letter_class_19(code, all), c.c19_all);
    EXPECT_EQ(letter_class_20(code, none, c.count), c.c20_none);
    EXPECT_EQ(letter_class_20(code, all, c.count), c.c20_all);
  }
}

struct TestReading {
  std::uint16_t codes[3];
  std::uint16_t saved_codes[3];
  std::uint32_t mask;
};

TEST(LetterClassesTest, ReadingsUseTheSavedCodeForIndexMinusOne) {
  const TestReading reading{{'e', 0, 0}, {'h', 0, 0}, 0};
  EXPECT_TRUE(letter_class_17(reading, 0, 2));    // 'e'
  EXPECT_FALSE(letter_class_17(reading, -1, 2));  // 'h'
  EXPECT_TRUE(letter_class_19(reading, -1));
  EXPECT_FALSE(letter_class_19(reading, 3));
  EXPECT_FALSE(letter_class_16(reading));  // always the current code
  const TestReading flagged{{'a', 0, 0}, {'a', 0, 0}, 0x100000};
  EXPECT_TRUE(letter_class_20(flagged, 0, 2));
  EXPECT_TRUE(letter_class_18(flagged, 0));
  const TestReading bit18{{'a', 0, 0}, {'a', 0, 0}, 0x40000};
  EXPECT_FALSE(letter_class_18(bit18, 0));
}

}  // namespace
}  // namespace inkrec
