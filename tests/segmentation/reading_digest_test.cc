// The digest the word search reads of a group's readings: the totals, and
// which readings the allowed letters refuse before the search tries them.
#include "engine/segmentation/reading_digest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/char_slot_map.h"
#include "engine/records/answer_list.h"
#include "tests/support/word_bench.h"

namespace inkrec {
namespace {

using testing::WordBench;

class DigestBench {
 public:
  DigestBench() {
    for (std::uint32_t c = 0; c < CharSlotMap::kSlotCount; ++c) {
      EXPECT_EQ(code_index.push_back(c), kOk);
    }
    line = bench.add_line({100, 130});
  }

  // The letters a path may take next: each of `codes`.
  CharSlotMap letters(const std::u16string& codes) const {
    CharSlotMap map;
    map.init(&code_index);
    for (const char16_t c : codes) map.mark(c, CharSlotMap::kLetterContinues);
    return map;
  }

  // The answer of the group reading `code`.
  static Answer& answer_for(LetterResult& group, char16_t code) {
    for (Answer& answer : group.answers->answers()) {
      if (answer.codes[0] == code) return answer;
    }
    ADD_FAILURE() << "no reading " << static_cast<int>(code);
    return group.answers->answers()[0];
  }

  static std::uint32_t place_of(const LetterResult& group, char16_t code) {
    const DynArray<Answer>& answers = group.answers->answers();
    for (std::uint32_t a = 0; a < answers.size(); ++a) {
      if (answers[a].codes[0] == code) return a;
    }
    return answers.size();
  }

  WordBench bench;
  DynArray<std::uint32_t> code_index;
  std::uint16_t line = 0;
};

TEST(ReadingDigestTest, ReadingsTheLettersRefuseAreKnownBeforeTheyAreTried) {
  DigestBench digest_bench;
  LetterResult* group = digest_bench.bench.add_result(
      digest_bench.line, 0, 1,
      {{u'a', 9000}, {u'q', 8900}, {u'B', 8800}, {u'C', 8700}, {u'x', 7900}, {u'k', 7800}});
  // 'B' is written alike in both cases, 'C' is not; 'k' reads as two codes.
  Answer& capital_b = DigestBench::answer_for(*group, u'B');
  capital_b.codes[1] = u'b';
  capital_b.codes[2] = u'B';
  Answer& two_codes = DigestBench::answer_for(*group, u'k');
  two_codes.code_count = 2;
  two_codes.code_list[0] = u'l';
  two_codes.code_list[1] = u'c';

  ReadingDigests digests(&digest_bench.code_index);
  const std::span<const DigestedReading> readings = digests.of(*group);
  ASSERT_EQ(readings.size(), group->answers->answers().size());
  const CharSlotMap letters = digest_bench.letters(u"abcx");
  struct Case {
    char16_t code;
    bool may_be_read;
    const char* why;
  };
  const Case cases[] = {
      {u'a', true, "an allowed letter"},
      {u'q', false, "a letter the list refuses"},
      {u'B', true, "a capital standing for its allowed small letter"},
      {u'C', false, "a capital without the small letter's shape"},
      {u'x', true, "an allowed letter far below the first"},
      {u'k', true, "a reading of several codes, judged when tried"},
  };
  for (const Case& c : cases) {
    const std::uint32_t a = DigestBench::place_of(*group, c.code);
    ASSERT_LT(a, readings.size()) << c.why;
    EXPECT_EQ(readings[a].may_be_read(letters), c.may_be_read) << c.why;
    EXPECT_EQ(readings[a].total, group->answers->answers()[a].total()) << c.why;
  }
  // No letter allowed: only the reading of several codes may still be read.
  const CharSlotMap none = digest_bench.letters(u"");
  for (std::uint32_t a = 0; a < readings.size(); ++a) {
    EXPECT_EQ(readings[a].may_be_read(none), a == DigestBench::place_of(*group, u'k')) << a;
  }
}

TEST(ReadingDigestTest, AFirstReadingWithSavedCodesIsAlwaysTriedAndDigestsStayPut) {
  DigestBench digest_bench;
  LetterResult* first = digest_bench.bench.add_result(digest_bench.line, 0, 1,
                                                      {{u'q', 9000}, {u'z', 8800}});
  LetterResult* second = digest_bench.bench.add_result(digest_bench.line, 1, 1, {{u'a', 9000}});
  first->answers->answers()[0].flag = 1;

  ReadingDigests digests(&digest_bench.code_index);
  const std::span<const DigestedReading> readings = digests.of(*first);
  const DigestedReading* kept = readings.data();
  const CharSlotMap letters = digest_bench.letters(u"a");
  EXPECT_TRUE(readings[0].may_be_read(letters));   // its saved codes may read
  EXPECT_FALSE(readings[1].may_be_read(letters));  // only the first reading has them
  // Digesting another group leaves the first group's digest where it was.
  EXPECT_TRUE(digests.of(*second)[0].may_be_read(letters));
  EXPECT_EQ(digests.of(*first).data(), kept);

  // A group without answers has an empty digest.
  LetterResult* empty = digest_bench.bench.add_result(digest_bench.line, 1, 1, {});
  EXPECT_TRUE(digests.of(*empty).empty());
}

// The places of the readings each set of letters lets the group take.
std::vector<std::uint32_t> may_be_read_places(std::span<const DigestedReading> readings,
                                              const CharSlotMap& letters) {
  std::vector<std::uint32_t> places;
  for (std::uint32_t a = 0; a < readings.size(); ++a) {
    if (readings[a].may_be_read(letters)) places.push_back(a);
  }
  return places;
}

TEST(ReadingDigestTest, TheReadableReadingsAreKeptForEachGroupAndLetters) {
  DigestBench digest_bench;
  LetterResult* first = digest_bench.bench.add_result(
      digest_bench.line, 0, 1, {{u'a', 9000}, {u'q', 8900}, {u'x', 8800}, {u'b', 8700}});
  LetterResult* second =
      digest_bench.bench.add_result(digest_bench.line, 1, 1, {{u'x', 9000}, {u'a', 8800}});
  CharSlotMap letters[] = {digest_bench.letters(u"ab"), digest_bench.letters(u"x"),
                           digest_bench.letters(u"")};

  ReadingDigests digests(&digest_bench.code_index);
  for (int round = 0; round < 2; ++round) {
    for (const LetterResult* group : {first, second}) {
      for (const CharSlotMap& map : letters) {
        const ReadableReadings readable = digests.readable(*group, map);
        EXPECT_EQ(readable.readings.data(), digests.of(*group).data());
        EXPECT_EQ(std::vector<std::uint32_t>(readable.places.begin(), readable.places.end()),
                  may_be_read_places(readable.readings, map))
            << round;
      }
    }
  }
  // The same group and letters again: the places found before.
  const std::uint32_t* kept = digests.readable(*first, letters[0]).places.data();
  EXPECT_EQ(digests.readable(*first, letters[0]).places.data(), kept);

  // After clearing, letters made anew where others were are read afresh.
  digests.clear();
  letters[0] = digest_bench.letters(u"qx");
  const ReadableReadings fresh = digests.readable(*first, letters[0]);
  EXPECT_EQ(std::vector<std::uint32_t>(fresh.places.begin(), fresh.places.end()),
            (std::vector<std::uint32_t>{1, 2}));
}

}  // namespace
}  // namespace inkrec
