// The letter evaluation of one stroke group on a small database trained
// through the engine's exports from UNIPEN writers, reached through the
// kernel's element recognition.
#include "engine/segmentation/letter_evaluation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/records/letter_fields.h"
#include "tests/support/trained_letters.h"

namespace inkrec {
namespace {

using testing::read_letter_samples;
using testing::TrainedLetters;
using testing::WrittenSample;

constexpr std::uint32_t kDebugOff = 0;

std::vector<WrittenSample> held_out_samples() {
  std::vector<WrittenSample> held_out;
  for (const WrittenSample& sample : read_letter_samples()) {
    if (!sample.training) held_out.push_back(sample);
  }
  return held_out;
}

const Variant* variant_with_id(DataStore& store, std::uint16_t id) {
  for (std::uint32_t i = 0; i < store.variant_count(); ++i) {
    if (store.variant_at(i)->id == id) return store.variant_at(i);
  }
  return nullptr;
}

// Answers the kernel's questions before and after a group's evaluation as
// told, and runs an action when asked the first.
class Hook final : public KernelObserver {
 public:
  void before_word_search(Kernel&) override {}
  void after_segments(Kernel&) override {}
  int extended_output(Kernel&, int size, int) override {
    ++asked;
    asked_size = size;
    if (on_extended) on_extended();
    return extended;
  }
  int full_debug_output(Kernel&) override { return full; }

  int extended = 0;
  int full = 0;
  int asked = 0;
  int asked_size = 0;
  std::function<void()> on_extended;
};

// The place of the sample's own character among the readings (0 the
// first); -1 when it is not among them.
int rank_of(char16_t code, const AnswerList& readings) {
  for (std::uint32_t i = 0; i < readings.answers().size(); ++i) {
    if (readings.answers()[i].codes[0] == code) return static_cast<int>(i);
  }
  return -1;
}

// Every reading of the letter list comes from a variant with a code: its
// key, and the variant's shape id as its sub-key.
void expect_variant_readings(DataStore& store, const AnswerList& letters) {
  for (const Answer& reading : letters.answers()) {
    const Variant* variant = variant_with_id(store, reading.key);
    ASSERT_NE(variant, nullptr);
    EXPECT_NE(variant->menuc, 0);
    EXPECT_EQ(answer_shape_id(reading), variant->shape_id);
    EXPECT_EQ(reading.codes[0], variant->menuc);
    EXPECT_EQ(reading.total(), reading.components[0] + reading.components[2]);
    EXPECT_LE(reading.total(), Answer::kPerfectScore);
    EXPECT_NE(reading.state, Answer::kStateRejected);  // only what the classification kept
  }
}

// Digits and letters of writers held out of the training, each read with
// its own charset active: the letter list holds readings of variants only,
// nothing goes to the mark list or the full lists, and the writer's
// character comes first (all but one: this "7" reads as "9" by 6137 to
// 6092) and never below third.
TEST(LetterEvaluationTest, AnotherWritersLetterRanksItsOwnCharacterFirst) {
  TrainedLetters letters;
  const std::vector<WrittenSample> held_out = held_out_samples();
  ASSERT_EQ(held_out.size(), 19u);
  std::string not_first;
  for (const WrittenSample& sample : held_out) {
    SCOPED_TRACE(std::string(1, static_cast<char>(sample.code)) + " of " + sample.writer);
    letters.activate_charset_of(sample.code);
    CandidateLists out;
    ASSERT_EQ(letters.evaluate(sample.strokes, out, {}, kDebugOff), kOk);
    EXPECT_GT(letters.last_inked_cells(), 0);
    expect_variant_readings(letters.store(), out[0]);
    EXPECT_TRUE(out[1].answers().empty());  // no special marks in the database
    EXPECT_TRUE(out[2].answers().empty());  // no extended output asked for
    EXPECT_TRUE(out[3].answers().empty());
    const int rank = rank_of(sample.code, out[0]);
    EXPECT_GE(rank, 0);
    EXPECT_LE(rank, 2);
    if (rank != 0) not_first += static_cast<char>(sample.code);
  }
  EXPECT_EQ(not_first, "7");
}

// Reading the cell weights is no change of the database: a change would
// make the kernel collect its active variants again for every group.
TEST(LetterEvaluationTest, EvaluatingAGroupLeavesTheDatabaseUnchanged) {
  TrainedLetters letters;
  const WrittenSample sample = held_out_samples().front();
  letters.activate_charset_of(sample.code);
  CandidateLists first;
  ASSERT_EQ(letters.evaluate(sample.strokes, first, {}, kDebugOff), kOk);
  const std::uint64_t generation = letters.store().generation();
  CandidateLists again;
  ASSERT_EQ(letters.evaluate(sample.strokes, again, {}, kDebugOff), kOk);
  EXPECT_EQ(letters.store().generation(), generation);
  ASSERT_FALSE(again[0].answers().empty());
  EXPECT_EQ(again[0].answers()[0], first[0].answers()[0]);
}

WrittenSample held_out_sample(char16_t code) {
  for (const WrittenSample& sample : held_out_samples()) {
    if (sample.code == code) return sample;
  }
  ADD_FAILURE() << "no held-out sample of " << static_cast<char>(code);
  return {};
}

// A reading put in the output before the evaluation.
Answer placeholder() {
  Answer answer = Answer::from_code(u'?');
  answer.set_component(0, 1234);
  return answer;
}

TEST(LetterEvaluationTest, TheStopFlagSetFromAnotherThreadEndsItWith4034) {
  TrainedLetters letters;
  Hook hook;
  letters.kernel().set_observer(&hook);
  const WrittenSample sample = held_out_sample(u'3');
  letters.activate_charset_of(sample.code);
  // The hook is asked just before the candidates are judged; another
  // thread sets the stop flag then.
  bool armed = false;
  hook.on_extended = [&] {
    if (armed) std::thread([&] { letters.kernel().set_stop_flag(); }).join();
  };
  CandidateLists out;
  ASSERT_EQ(out[0].insert(placeholder()), kOk);
  EXPECT_EQ(letters.evaluate(sample.strokes, out, {}, kDebugOff, [&] { armed = true; }), kStopped);
  EXPECT_TRUE(out[0].answers().empty());  // emptied, and nothing judged
  EXPECT_GT(hook.asked_size, 0);

  // Set before the evaluation starts: nothing is measured or written.
  hook.on_extended = nullptr;
  CandidateLists untouched;
  ASSERT_EQ(untouched[0].insert(placeholder()), kOk);
  EXPECT_EQ(letters.evaluate(sample.strokes, untouched, {}, kDebugOff,
                             [&] { letters.kernel().set_stop_flag(); }),
            kStopped);
  ASSERT_EQ(untouched[0].answers().size(), 1u);
  EXPECT_EQ(untouched[0].answers()[0].codes[0], u'?');
  EXPECT_EQ(letters.last_inked_cells(), 0);
}

TEST(LetterEvaluationTest, NoActiveCharsetGives4007AndWritesNothing) {
  TrainedLetters letters;
  ASSERT_EQ(crSetActiveCharSets(nullptr, 0), kOk);
  CandidateLists out;
  ASSERT_EQ(out[0].insert(placeholder()), kOk);
  EXPECT_EQ(letters.evaluate(held_out_sample(u'5').strokes, out), kNoActiveCharSet);
  ASSERT_EQ(out[0].answers().size(), 1u);
  EXPECT_EQ(out[0].answers()[0].codes[0], u'?');
  EXPECT_EQ(letters.last_inked_cells(), 0);
}

TEST(LetterEvaluationTest, ACandidateWithoutShapeOrEtalonIsPassedOverAndCounted) {
  TrainedLetters letters;
  const WrittenSample sample = held_out_sample(u'1');
  letters.activate_charset_of(sample.code);
  const Variant* one = nullptr;
  for (std::uint32_t i = 0; i < letters.store().variant_count(); ++i) {
    if (letters.store().variant_at(i)->menuc == u'1') one = letters.store().variant_at(i);
  }
  ASSERT_NE(one, nullptr);
  Variant without_shape = *one;
  without_shape.id = 60000;
  without_shape.shape_id = 30000;
  Variant without_etalon = *one;
  without_etalon.id = 60001;
  without_etalon.etalon_id = 30000;
  DynArray<Variant>& variants = letters.store().knowledge_base().variants();
  ASSERT_EQ(variants.push_back(without_shape), kOk);
  ASSERT_EQ(variants.push_back(without_etalon), kOk);
  CandidateLists out;
  std::uint32_t skipped_before = 0;
  ASSERT_EQ(letters.evaluate(sample.strokes, out, {}, kDebugOff,
                             [&] { skipped_before = letters.work().skipped_candidates; }),
            kOk);
  EXPECT_EQ(letters.work().skipped_candidates - skipped_before, 2u);
  ASSERT_FALSE(out[0].answers().empty());
  EXPECT_EQ(out[0].answers()[0].codes[0], u'1');
  for (const Answer& reading : out[0].answers()) EXPECT_LT(reading.key, 60000);
}

// A part of a composite character (a detail: a variant without a code,
// here one drawn like a "7") read on a "1": its reading goes to the mark
// list and stands there although the "1" reads far better, since a part is
// judged among the marks, not against the letters (a dot that reads better
// as a full stop is still the dot of an "i" or a ":").
TEST(LetterEvaluationTest, APartOfACompositeIsJudgedAmongTheMarksOnly) {
  TrainedLetters letters;
  const WrittenSample sample = held_out_sample(u'1');
  letters.activate_charset_of(sample.code);
  const Variant* seven = nullptr;
  for (std::uint32_t i = 0; i < letters.store().variant_count(); ++i) {
    if (letters.store().variant_at(i)->menuc == u'7') seven = letters.store().variant_at(i);
  }
  ASSERT_NE(seven, nullptr);
  Variant detail = *seven;
  detail.id = 60002;
  detail.menuc = 0;
  ASSERT_EQ(letters.store().knowledge_base().variants().push_back(detail), kOk);
  CandidateLists out;
  ASSERT_EQ(letters.evaluate(sample.strokes, out, {}, kDebugOff), kOk);
  ASSERT_FALSE(out[0].answers().empty());
  ASSERT_EQ(out[1].answers().size(), 1u);
  const Answer& part = out[1].answers()[0];
  EXPECT_EQ(part.key, detail.id);
  EXPECT_GT(out[0].answers()[0].total(), part.total() + 500);
  EXPECT_EQ(part.state, Answer::kStateFirst);
}

// A held-out "1" and a flat dash written right of it at its middle.
std::vector<test::Points> one_and_dash() {
  std::vector<test::Points> ink = held_out_sample(u'1').strokes;
  std::int16_t right = 0, top = 32767, bottom = -32768;
  for (const PackedPoint p : ink[0]) {
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  test::Points dash;
  const auto y = static_cast<std::int16_t>((top + bottom) / 2);
  for (int x = right + 30; x <= right + 70; x += 2) dash.push_back({static_cast<std::int16_t>(x), y});
  ink.push_back(dash);
  return ink;
}

bool holds_dot_mark(const AnswerList& list, std::uint16_t variant_id) {
  return std::any_of(list.answers().begin(), list.answers().end(), [&](const Answer& a) {
    return a.key == variant_id && answer_shape_id(a) == 828 && a.codes[0] == 0;
  });
}

// The dash alone as a group: the special mark goes to the mark list (its
// terms in components 0, 2, 3 and 6), readings with codes to the letter
// list; the full lists only when the hook asks for extended output, and
// the whole lists in the debug mode when it asks for full output.
TEST(LetterEvaluationTest, TheFourListsAndTheHooksTwoQuestions) {
  TrainedLetters letters;
  Hook hook;
  letters.kernel().set_observer(&hook);
  const std::uint32_t active[] = {testing::kDigitsCharset, testing::kPunctuationCharset};
  ASSERT_EQ(crSetActiveCharSets(active, 2), kOk);
  const std::vector<test::Points> ink = one_and_dash();
  const std::vector<std::uint32_t> dash = {1};

  CandidateLists plain;
  ASSERT_EQ(letters.evaluate(ink, plain, dash, kDebugOff), kOk);
  ASSERT_EQ(letters.work().bodies[1].stroke_index, 1);
  ASSERT_EQ(plain[1].answers().size(), 1u);
  const Answer& mark = plain[1].answers()[0];
  EXPECT_TRUE(holds_dot_mark(plain[1], letters.dot_variant_id()));
  EXPECT_EQ(mark.total(), mark.components[0] + mark.components[2] + mark.components[3] +
                              mark.components[6]);
  EXPECT_GE(mark.total(), 2);
  for (const Answer& reading : plain[0].answers()) EXPECT_NE(reading.codes[0], 0);
  EXPECT_TRUE(plain[2].answers().empty());
  EXPECT_TRUE(plain[3].answers().empty());

  hook.extended = 1;
  CandidateLists extended;
  ASSERT_EQ(letters.evaluate(ink, extended, dash, kDebugOff), kOk);
  EXPECT_TRUE(holds_dot_mark(extended[3], letters.dot_variant_id()));
  EXPECT_GE(extended[2].answers().size(), extended[0].answers().size());
  EXPECT_FALSE(extended[2].answers().empty());
  EXPECT_TRUE(extended[2].unlimited());
  for (const Answer& reading : extended[2].answers()) EXPECT_NE(reading.codes[0], 0);

  // Without the debug mode the letter list keeps what the classification
  // kept; with it and the fifth question answered, every reading found.
  hook.extended = 0;
  hook.full = 1;
  CandidateLists full;
  ASSERT_EQ(letters.evaluate(ink, full, dash, 1), kOk);
  EXPECT_GT(full[0].answers().size(), plain[0].answers().size());
  EXPECT_TRUE(std::any_of(full[0].answers().begin(), full[0].answers().end(),
                          [](const Answer& a) { return a.state == Answer::kStateRejected; }));
  EXPECT_TRUE(std::none_of(plain[0].answers().begin(), plain[0].answers().end(),
                           [](const Answer& a) { return a.state == Answer::kStateRejected; }));
}

// Byte 23 of the request (body and link) admits the cursive variants.
TEST(LetterEvaluationTest, TheBodyAndLinkByteAdmitsCursiveVariants) {
  TrainedLetters letters;
  const WrittenSample sample = held_out_sample(u'3');
  letters.activate_charset_of(sample.code);
  DynArray<Variant>& variants = letters.store().knowledge_base().variants();
  Variant* three = std::find_if(variants.begin(), variants.end(),
                                [](const Variant& v) { return v.menuc == u'3'; });
  ASSERT_NE(three, variants.end());
  three->cursive_flag = 1;
  for (const std::uint8_t body_and_link : {0, 1}) {
    letters.request.cursive_split = body_and_link;
    CandidateLists out;
    ASSERT_EQ(letters.evaluate(sample.strokes, out, {}, kDebugOff), kOk);
    EXPECT_EQ(rank_of(u'3', out[0]) >= 0, body_and_link == 1) << int(body_and_link);
  }
}

TEST(LetterEvaluationTest, AWordsLettersKeepTheirMarginFromTheBestLetterNotADigit) {
  struct Case {
    const char* what;
    std::vector<std::pair<char16_t, std::int32_t>> readings;  // best first
    char16_t reference;  // 0 for none
    bool second_letter_kept;
  };
  const std::vector<Case> cases = {
      {"a digit reading far better than the letters", {{u'9', 9600}, {u'a', 8400}, {u'q', 8300}},
       u'a', true},
      {"a letter first", {{u'a', 9600}, {u'9', 9000}, {u'o', 8400}}, u'a', false},
      {"digits only", {{u'9', 9600}, {u'4', 9000}}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AnswerList letters;
    for (const auto& [code, total] : c.readings) {
      Answer answer = Answer::from_code(code);
      answer.key = code;  // a list holds one answer a key
      answer.components[Answer::kLetterScore] = total;
      ASSERT_EQ(letters.insert(answer), kOk);
    }
    const Answer* reference = word_letter_reference(letters);
    EXPECT_EQ(reference == nullptr ? u'\0' : static_cast<char16_t>(reference->codes[0]),
              c.reference);
    if (reference == nullptr) continue;
    letters.classify(nullptr, reference, nullptr, 0, AnswerList::kWordLetterMargin);
    ASSERT_EQ(letters.answers().size(), 3u);
    EXPECT_EQ(letters.answers()[2].state != Answer::kStateRejected, c.second_letter_kept);
  }
}

}  // namespace
}  // namespace inkrec
