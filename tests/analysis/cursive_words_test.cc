// The split over real cursive handwriting: the words of the fixture
// "unipen_cursive_words.txt" split without error and keep the invariants
// after every pass.

#include "tests/support/cursive_words.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/status.h"

namespace inkrec {
namespace {

using testing::SplitBench;
using testing::WrittenWord;

class InvariantWatcher final : public KernelObserver {
 public:
  InvariantWatcher(LineWork& work, const std::string& word) : work_(work), word_(word) {}

  void before_word_search(Kernel&) override {}
  void after_segments(Kernel&) override {}
  void after_split_pass(Kernel&, const DynArray<FigureRecord>& links,
                        std::u16string_view pass) override {
    const std::string violation = testing::piece_violations(work_);
    EXPECT_EQ(violation, "") << word_ << " after " << std::string(pass.begin(), pass.end());
    if (pass == u"create") created += links.size();
  }

  std::uint32_t created = 0;

 private:
  LineWork& work_;
  const std::string& word_;
};

// The split of every word under the given letters (none, Latin, Cyrillic
// with the Russian charset) and skew switch: 0 for each, whole pieces
// after each pass, and links made and kept on a good share of the words.
void split_every_word(std::u16string_view letters, std::uint32_t charset, bool skew_allowed) {
  const std::vector<WrittenWord> words = testing::read_cursive_words();
  ASSERT_GE(words.size(), 250u);
  std::uint32_t created = 0;
  std::uint32_t kept = 0;
  int words_with_links = 0;
  for (const WrittenWord& word : words) {
    SplitBench bench(letters, charset);
    bench.set_switches(true, skew_allowed);
    InvariantWatcher watcher(bench.work(), word.label);
    bench.kernel().set_observer(&watcher);
    ASSERT_EQ(bench.load_ink(word.ink), kOk) << word.label;
    ASSERT_EQ(bench.build_records(testing::guess_line_shape(word.ink)), kOk) << word.label;
    RecognitionContext context = bench.context();
    ASSERT_EQ(split_into_bodies_and_links(context), kOk) << word.label;
    EXPECT_EQ(testing::piece_violations(bench.work()), "") << word.label;
    created += watcher.created;
    kept += bench.work().links.size();
    words_with_links += bench.work().links.empty() ? 0 : 1;
  }
  EXPECT_GT(words_with_links, static_cast<int>(words.size()) / 2);
  EXPECT_GT(kept, words.size());
  EXPECT_LT(kept, created);
}

TEST(CursiveWords, SplitWithoutCharsets) { split_every_word({}, 5, true); }

TEST(CursiveWords, SplitWithLatinLetters) {
  split_every_word(u"abcdefghijklmnopqrstuvwxyz", 5, true);
}

TEST(CursiveWords, SplitWithRussianLettersAndNoSkew) {
  split_every_word(u"\u0430\u0431\u0432\u0438\u043B\u043C\u043D\u043E\u044F", 4, false);
}

}  // namespace
}  // namespace inkrec
