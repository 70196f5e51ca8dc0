// The split into bodies and links as a whole: its two paths, the pass order
// an observer sees, the invariants after every pass, and the piece
// bookkeeping (merges, renumbering, coverage, the insert helpers).

#include "engine/analysis/bodies_and_links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/foundation/status.h"
#include "engine/segmentation/line_letter_search.h"
#include "tests/support/split_ink.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::LineShape;
using testing::SplitBench;
using testing::trochoid_word;

// Records the pass names and checks the pieces after each pass.
class PassWatcher final : public KernelObserver {
 public:
  explicit PassWatcher(LineWork& work) : work_(work) {}

  void before_word_search(Kernel&) override {}
  void after_segments(Kernel&) override {}
  void after_split_pass(Kernel&, const DynArray<FigureRecord>& links,
                        std::u16string_view pass) override {
    names.emplace_back(pass.begin(), pass.end());
    EXPECT_EQ(&links, &work_.links);
    const std::string violation = testing::piece_violations(work_);
    if (!violation.empty())
      violations.push_back(std::string(pass.begin(), pass.end()) + ": " + violation);
    link_counts.push_back(links.size());
  }

  std::vector<std::u16string> names;
  std::vector<std::string> violations;
  std::vector<std::uint32_t> link_counts;

 private:
  LineWork& work_;
};

// Synthetic cursive: loops (e, l), cusps and waves (n, u), upright and
// leaning, with a dot and a bar over the word and a second word after it.
std::vector<Ink> synthetic_words() {
  std::vector<Ink> words;
  for (const double loop : {1.8, 1.2, 1.0, 0.5}) {
    for (const double lean : {0.0, 0.4}) {
      words.push_back({trochoid_word(5, loop, 40, 100, 200, lean)});
    }
  }
  Ink dotted = {trochoid_word(4, 1.6, 40, 100, 200, 0.3),
                {{140, 140}, {141, 141}},
                {{90, 170}, {120, 168}, {150, 167}, {180, 166}, {210, 166}},
                trochoid_word(3, 0.6, 40, 330, 200, 0.3)};
  words.push_back(dotted);
  return words;
}

void load(SplitBench& bench, const Ink& ink) {
  ASSERT_EQ(bench.load_ink(ink), kOk);
  ASSERT_EQ(bench.build_records(testing::guess_line_shape(ink)), kOk);
}

TEST(BodiesAndLinks, NoStrokesLeaveBothArraysEmpty) {
  SplitBench bench;
  ASSERT_EQ(bench.build_records(LineShape()), kOk);
  RecognitionContext context = bench.context();
  EXPECT_EQ(split_into_bodies_and_links(context), kOk);
  EXPECT_TRUE(bench.work().bodies.empty());
  EXPECT_TRUE(bench.work().links.empty());
}

TEST(BodiesAndLinks, WithoutCursiveEachStrokeIsOneWholeBody) {
  SplitBench bench;
  bench.set_switches(false);
  PassWatcher watcher(bench.work());
  bench.kernel().set_observer(&watcher);
  const Ink ink = synthetic_words().back();
  load(bench, ink);
  RecognitionContext context = bench.context();
  ASSERT_EQ(split_into_bodies_and_links(context), kOk);
  const LineWork& work = bench.work();
  ASSERT_EQ(work.bodies.size(), ink.size());
  EXPECT_TRUE(work.links.empty());
  EXPECT_TRUE(watcher.names.empty());
  for (std::uint32_t i = 0; i < work.bodies.size(); ++i) {
    const FigureRecord& body = work.bodies[i];
    EXPECT_EQ(body.number, i);
    EXPECT_EQ(body.stroke_index, i);
    EXPECT_EQ(body.piece, 0);
    EXPECT_EQ(body.piece_key, 0);
    EXPECT_EQ(body.first_point, 0);
    EXPECT_EQ(body.whole_stroke, 1);
    EXPECT_EQ(body.run.points, work.strokes[i].run.points);
    EXPECT_EQ(body.run.count, work.strokes[i].run.count);
    EXPECT_EQ(body.line_index, work.strokes[i].line_index);
  }
}

TEST(BodiesAndLinks, ObserverSeesTheTwentyNamedPassesInOrder) {
  SplitBench bench;
  PassWatcher watcher(bench.work());
  bench.kernel().set_observer(&watcher);
  load(bench, synthetic_words().back());
  RecognitionContext context = bench.context();
  ASSERT_EQ(split_into_bodies_and_links(context), kOk);
  const std::vector<std::u16string> expected = {u"create",
                                                u"remove_point_links",
                                                u"remove_undoubted_links",
                                                u"shorten_links_by_crosses",
                                                u"remove_undoubted_links",
                                                u"shorten_links_for_body_tales_and_sharp",
                                                u"remove_loop_links",
                                                u"shorten_links_for_body_tales_2",
                                                u"make_continuation_for_links",
                                                u"remove_point_bodies",
                                                u"remove_links_above_loops_of_UZD",
                                                u"remove_links_when_start_n_end_match",
                                                u"remove_links_inside_loops",
                                                u"remove_k_links",
                                                u"remove_small_links_ind_down_line",
                                                u"remove_start_point_links",
                                                u"remove_b_links",
                                                u"remove_loops_links",
                                                u"remove_median_body",
                                                u"remove_undoubted_links"};
  EXPECT_EQ(watcher.names, expected);
}

TEST(BodiesAndLinks, EveryPassKeepsThePiecesWholeOnSyntheticCursive) {
  int links_made = 0;
  for (const bool upright_only : {false, true}) {
    for (const Ink& ink : synthetic_words()) {
      SplitBench bench(u"abcdefghijklmnopqrstuvwxyz");
      bench.set_switches(true, !upright_only);
      PassWatcher watcher(bench.work());
      bench.kernel().set_observer(&watcher);
      load(bench, ink);
      RecognitionContext context = bench.context();
      ASSERT_EQ(split_into_bodies_and_links(context), kOk);
      EXPECT_TRUE(watcher.violations.empty()) << watcher.violations.front();
      EXPECT_EQ(testing::piece_violations(bench.work()), "");
      for (std::uint32_t i = 0; i < bench.work().bodies.size(); ++i) {
        EXPECT_EQ(bench.work().bodies[i].number, i);
      }
      links_made += static_cast<int>(watcher.link_counts.front());
    }
  }
  EXPECT_GT(links_made, 20);
}

// One stroke of nine points cut into pieces at the joints.
class PieceBookkeeping : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<PackedPoint> points;
    for (int i = 0; i < 9; ++i) {
      points.push_back({static_cast<std::int16_t>(10 * i), static_cast<std::int16_t>(i % 2 * 20)});
    }
    bench_.add_vertices(points);
    bench_.add_vertices({{200, 0}, {210, 10}, {220, 0}});
    ASSERT_EQ(bench_.build_records(LineShape()), kOk);
  }

  LineWork& work() { return bench_.work(); }

  SplitBench bench_;
};

TEST_F(PieceBookkeeping, RemovingTheOnlyLinkLeavesOneWholeBody) {
  ASSERT_EQ(bench_.cut(0, {3, 5}), kOk);
  ASSERT_EQ(bench_.cut(1, {}), kOk);
  RecognitionContext context = bench_.context();
  ASSERT_EQ(remove_link(context, 0), kOk);
  ASSERT_EQ(work().bodies.size(), 2u);
  EXPECT_TRUE(work().links.empty());
  const FigureRecord& body = work().bodies[0];
  EXPECT_EQ(body.run.count, 4 + 3 + 4 - 2);
  EXPECT_EQ(body.whole_stroke, 1);
  EXPECT_EQ(body.piece, 0);
  EXPECT_EQ(testing::piece_violations(work()), "");
}

TEST_F(PieceBookkeeping, RemovingAFirstLinkRenumbersTheRest) {
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}, {0, 2}), kOk);
  ASSERT_EQ(bench_.cut(1, {}), kOk);
  RecognitionContext context = bench_.context();
  ASSERT_EQ(remove_link(context, 0), kOk);
  EXPECT_EQ(testing::piece_violations(work()), "");
  ASSERT_EQ(work().links.size(), 1u);
  EXPECT_EQ(work().links[0].piece, 1);
  EXPECT_EQ(work().links[0].link_kind, 2);
  EXPECT_EQ(work().bodies[0].whole_stroke, 0);
  EXPECT_EQ(work().bodies[0].run.count, 6);
  EXPECT_EQ(work().bodies[1].piece, 2);
  EXPECT_EQ(work().bodies[2].stroke_index, 1);
  EXPECT_EQ(work().bodies[2].piece, 0);
}

TEST_F(PieceBookkeeping, RemovingABodyBetweenLinksJoinsThem) {
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}), kOk);
  RecognitionContext context = bench_.context();
  ASSERT_EQ(remove_body(context, 1), kOk);
  ASSERT_EQ(work().links.size(), 1u);
  EXPECT_EQ(work().links[0].first_point, 2);
  EXPECT_EQ(work().links[0].run.count, 2 + 2 + 2 - 2 + 1);
  ASSERT_EQ(work().bodies.size(), 2u);
  EXPECT_EQ(work().bodies[1].piece, 2);
  EXPECT_EQ(work().links[0].piece, 1);
}

TEST_F(PieceBookkeeping, RemovingAFirstBodyMovesEveryPieceDown) {
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}), kOk);
  RecognitionContext context = bench_.context();
  ASSERT_EQ(remove_body(context, 0), kOk);
  const FigureRecord& link = work().links[0];
  EXPECT_EQ(link.piece, 0);
  EXPECT_EQ(link.first_point, 0);
  EXPECT_EQ(link.run.points, work().strokes[0].run.points);
  EXPECT_EQ(link.run.count, 4);
  EXPECT_EQ(work().bodies[0].piece, 1);
  EXPECT_EQ(work().links[1].piece, 2);
  EXPECT_EQ(work().bodies[1].piece, 3);
}

TEST_F(PieceBookkeeping, MergesReportMissingPieces) {
  ASSERT_EQ(bench_.cut(0, {2, 3}), kOk);
  RecognitionContext context = bench_.context();
  EXPECT_EQ(remove_link(context, 1), kBadArgument);
  EXPECT_EQ(remove_body(context, 2), kBadArgument);
  EXPECT_EQ(remove_body(context, 1),
            kUndocumented);  // the last body has no link after it
  work().bodies.erase(1, 1);
  EXPECT_EQ(remove_link(context, 0), kBadArgument);
  work().bodies.clear();
  work().links.clear();
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}), kOk);
  work().links.erase(0, 1);
  EXPECT_EQ(remove_body(context, 1), kBadArgument);  // no link before it
}

TEST_F(PieceBookkeeping, PiecesAreFoundByStrokeAndPiece) {
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}), kOk);
  ASSERT_EQ(bench_.cut(1, {}), kOk);
  const DynArray<FigureRecord>& bodies = work().bodies;
  const std::uint32_t none = bodies.size();
  const struct {
    int stroke;
    int piece;
    std::uint32_t index;
  } cases[] = {{0, 0, 0},     {0, 2, 1},     {0, 4, 2},          {1, 0, 3},
               {0, 1, none},  {0, 6, none},  {1, 2, none},       {2, 0, none},
               {-1, 0, none}, {0, -1, none}, {0x10000, 0, none}, {0, 0x10000, none}};
  for (const auto& c : cases) {
    EXPECT_EQ(piece_index(bodies, c.stroke, c.piece), c.index) << c.stroke << "." << c.piece;
  }
  EXPECT_EQ(piece_index(work().links, 0, 3), 1u);
  // The second key must agree too.
  work().bodies[1].piece_key = 9;
  EXPECT_EQ(piece_index(bodies, 0, 2), none);
}

TEST_F(PieceBookkeeping, ShiftsMoveOnlyTheLaterPiecesOfTheStroke) {
  ASSERT_EQ(bench_.cut(0, {2, 3, 5, 6}), kOk);
  ASSERT_EQ(bench_.cut(1, {}), kOk);
  shift_pieces(work().bodies, 0, 0, 2);
  EXPECT_EQ(work().bodies[0].piece, 0);
  EXPECT_EQ(work().bodies[1].piece, 4);
  EXPECT_EQ(work().bodies[1].piece_key, 4);
  EXPECT_EQ(work().bodies[3].piece, 0);
  shift_pieces_closing(work().bodies, 0, -1);
  EXPECT_EQ(work().bodies[0].piece, 0xFFFF);
  EXPECT_EQ(work().bodies[2].piece, 5);
  shift_pieces_closing(work().links, 0, 1);
  EXPECT_EQ(work().links[0].piece, 1);
  EXPECT_EQ(work().links[1].piece, 1);
}

TEST_F(PieceBookkeeping, CoverageNeedsABodyForEveryStrokeAndKnownStrokes) {
  ASSERT_EQ(bench_.cut(0, {2, 3}), kOk);
  RecognitionContext context = bench_.context();
  EXPECT_EQ(check_coverage(context), kUndocumented);  // stroke 1 has no body
  ASSERT_EQ(bench_.cut(1, {}), kOk);
  EXPECT_EQ(check_coverage(context), kOk);
  work().links[0].stroke_index = 2;
  EXPECT_EQ(check_coverage(context), kUndocumented);
  work().links[0].stroke_index = 0;
  work().bodies[2].stroke_index = 7;
  EXPECT_EQ(check_coverage(context), kUndocumented);
}

TEST_F(PieceBookkeeping, InsertHelpersKeepTheRecords) {
  DynArray<FigureRecord> figures;
  EXPECT_EQ(append_stroke_body(figures, nullptr, 0), kBadArgument);
  ASSERT_EQ(append_stroke_body(figures, &work().strokes[1], 1), kOk);
  ASSERT_EQ(append_stroke_body(figures, &work().strokes[0], 0), kOk);
  EXPECT_EQ(figures[1].number, 1);
  EXPECT_EQ(figures[1].stroke_index, 0);
  FigureRecord* fresh = append_new_figure(figures);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->run.count, 0);
  ASSERT_EQ(append_figure(figures, figures[0]), kOk);
  EXPECT_EQ(figures[3].run.points, figures[0].run.points);
  EXPECT_EQ(figures[3].stroke_index, 1);
  FigureRecord moved;
  moved.piece = 9;
  EXPECT_EQ(insert_figure(figures, 6, std::move(moved)), kBadArgument);
  FigureRecord first;
  first.piece = 7;
  ASSERT_EQ(insert_figure(figures, 0, std::move(first)), kOk);
  FigureRecord last;
  last.piece = 8;
  ASSERT_EQ(insert_figure(figures, figures.size(), std::move(last)), kOk);
  EXPECT_EQ(figures[0].piece, 7);
  EXPECT_EQ(figures[1].stroke_index, 1);
  EXPECT_EQ(figures.back().piece, 8);
  EXPECT_EQ(figures.size(), 6u);
}

TEST(BodiesAndLinks, KernelsLetterSearchSplitsItsLineWorkDuringARun) {
  SplitBench bench;
  LineLetterSearch search;
  EXPECT_EQ(search.split_into_bodies_and_links(), kBadArgument);
  ASSERT_EQ(search.begin_run(bench.kernel()), kOk);
  EXPECT_EQ(search.split_into_bodies_and_links(), kOk);
  search.end_run();
  EXPECT_EQ(search.split_into_bodies_and_links(), kBadArgument);
}

}  // namespace
}  // namespace inkrec
