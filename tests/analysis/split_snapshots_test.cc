// The whole pass order on cursive words: synthetic words give the chain
// their shape calls for (one link per connection, rising from the base
// line), and the links after every pass of a few written words are kept as
// a regression fixture, "split_snapshots.txt". Setting the environment
// variable INKREC_WRITE_SPLIT_SNAPSHOTS writes the fixture afresh.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/analysis/bodies_and_links.h"
#include "engine/foundation/status.h"
#include "tests/support/cursive_words.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::SplitBench;
using testing::trochoid_word;

class SnapshotWatcher final : public KernelObserver {
 public:
  void before_word_search(Kernel&) override {}
  void after_segments(Kernel&) override {}
  void after_split_pass(Kernel&, const DynArray<FigureRecord>& links,
                        std::u16string_view pass) override {
    text << std::string(pass.begin(), pass.end()) << ": " << testing::describe_links(links) << '\n';
  }

  std::ostringstream text;
};

struct Split {
  int status = 0;
  std::string snapshot;  // the links after each pass and at the end
  LineWork* work = nullptr;
};

Split split(SplitBench& bench, const Ink& ink) {
  Split result;
  SnapshotWatcher watcher;
  bench.kernel().set_observer(&watcher);
  if ((result.status = bench.load_ink(ink)) != kOk) return result;
  if ((result.status = bench.build_records(testing::guess_line_shape(ink))) != kOk) return result;
  RecognitionContext context = bench.context();
  result.status = split_into_bodies_and_links(context);
  watcher.text << "final: " << testing::describe_links(bench.work().links) << '\n';
  result.snapshot = watcher.text.str();
  result.work = &bench.work();
  return result;
}

TEST(SplitChains, TrochoidWordsLinkEveryTurnToTheNext) {
  for (const double loop : {1.8, 1.0, 0.5}) {
    for (const double lean : {0.0, 0.3}) {
      const int turns = 4;
      SplitBench bench(u"abcdefghijklmnopqrstuvwxyz");
      const Split result = split(bench, {trochoid_word(turns, loop, 40, 100, 200, lean)});
      ASSERT_EQ(result.status, kOk);
      const DynArray<FigureRecord>& links = result.work->links;
      ASSERT_EQ(links.size(), turns - 1u) << "loop " << loop << " lean " << lean;
      for (const FigureRecord& link : links) {
        const PackedPoint start = start_of(link);
        const PackedPoint end = end_of(link);
        EXPECT_GT(start.y, 200 - 20) << "loop " << loop;  // in the lower half of the band
        EXPECT_LT(end.y, start.y);
        EXPECT_GT(end.x, start.x);
      }
    }
  }
}

std::string fixture_path() { return std::string(INKREC_TEST_DATA_DIR) + "/split_snapshots.txt"; }

// The snapshots of the synthetic words and the first written words of the
// cursive fixture, each under a "== name" line.
std::string take_snapshots() {
  struct Named {
    std::string name;
    Ink ink;
  };
  std::vector<Named> words = {
      {"loops", {trochoid_word(4, 1.8, 40, 100, 200, 0.3)}},
      {"cusps", {trochoid_word(4, 1.0, 40, 100, 200, 0.3)}},
      {"waves with a dot", {trochoid_word(4, 0.5, 40, 100, 200), {{140, 140}, {141, 141}}}},
  };
  const std::vector<testing::WrittenWord> written = testing::read_cursive_words();
  for (std::size_t i = 0; i < 8 && i < written.size(); ++i) {
    words.push_back({written[i].label + " " + std::to_string(i + 1), written[i].ink});
  }
  std::ostringstream out;
  for (const Named& word : words) {
    SplitBench bench(u"abcdefghijklmnopqrstuvwxyz");
    const Split result = split(bench, word.ink);
    out << "== " << word.name << '\n';
    if (result.status != kOk) out << "status " << result.status << '\n';
    out << result.snapshot;
  }
  return out.str();
}

TEST(SplitChains, LinksAfterEveryPassMatchTheSnapshots) {
  const std::string snapshots = take_snapshots();
  if (std::getenv("INKREC_WRITE_SPLIT_SNAPSHOTS") != nullptr) {
    std::ofstream(fixture_path()) << snapshots;
    GTEST_SKIP() << "wrote " << fixture_path();
  }
  std::ifstream in(fixture_path());
  std::stringstream expected;
  expected << in.rdbuf();
  ASSERT_FALSE(expected.str().empty()) << fixture_path();
  std::istringstream want(expected.str());
  std::istringstream got(snapshots);
  std::string a;
  std::string b;
  std::string word;
  for (int line = 1; std::getline(want, a); ++line) {
    if (a.rfind("== ", 0) == 0) word = a;
    ASSERT_TRUE(std::getline(got, b)) << "missing from line " << line;
    ASSERT_EQ(b, a) << word << ", line " << line;
  }
  EXPECT_FALSE(std::getline(got, b)) << "more than the fixture: " << b;
}

}  // namespace
}  // namespace inkrec
