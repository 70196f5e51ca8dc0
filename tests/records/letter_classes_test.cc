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

// The set of a reading's classes answers as the classes asked one by one:
// class 16 of the current first code, the others of the code the index
// selects, the counted classes by the count.
TEST(LetterClassesTest, AReadingsClassSetAnswersAsItsClassesOneByOne) {
  const std::uint16_t code_pairs[][2] = {{'L', 'e'}, {'e', 'h'}, {'g', 'g'}, {'S', 's'},
                                         {'N', 'l'}, {0xCC, 'n'}, {'a', 'F'}, {'t', 0x16C}};
  const std::uint32_t masks[] = {0, 0x1F0000, 0x20000, 0x100000, 0x90000};
  for (const auto& codes : code_pairs) {
    for (const std::uint32_t mask : masks) {
      const TestReading reading{{codes[0], 0, 0}, {codes[1], 0, 0}, mask};
      for (const int index : {0, -1}) {
        const LetterClassSet set = letter_class_set(reading, index);
        SCOPED_TRACE(testing::Message() << codes[0] << " " << codes[1] << " mask " << mask
                                        << " index " << index);
        EXPECT_EQ(set.c16(), letter_class_16(reading));
        EXPECT_EQ(set.c18(), letter_class_18(reading, index));
        EXPECT_EQ(set.c19(), letter_class_19(reading, index));
        for (const int count : {0, 1, 2, 5}) {
          EXPECT_EQ(set.c17(count), letter_class_17(reading, index, count)) << count;
          EXPECT_EQ(set.c20(count), letter_class_20(reading, index, count)) << count;
        }
      }
    }
  }
}

}  // namespace
}  // namespace inkrec
