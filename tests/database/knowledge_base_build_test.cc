// Etalons built from the samples of shapes, trained with real correction
// samples and rebuilt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/analysis/figure_rafs.h"
#include "engine/analysis/raf_sample_cells.h"
#include "engine/database/knowledge_base.h"
#include "engine/foundation/status.h"
#include "tests/support/letter_shapes.h"
#include "tests/support/raf_figures.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using Cells = std::vector<std::uint8_t>;

class KnowledgeBaseBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_.set_sample_cells(&sample_cells_);
    for (const char letter : {'L', 'V', 'N'}) {
      Shape shape = test::letter_shape(letter);
      shape.info.id = static_cast<std::uint16_t>(shapes_.size() + 1);
      ASSERT_EQ(shapes_.add(std::move(shape)), kOk);
    }
    Shape bare;
    bare.info.id = 4;
    ASSERT_EQ(shapes_.add(std::move(bare)), kOk);  // without samples
  }

  // Adds a variant of the shape (special without an etalon); its id.
  std::uint16_t add(std::uint16_t shape_id, bool special = false) {
    Variant record;
    record.shape_id = shape_id;
    record.special_recognition = special ? kSpecialRecognition : 0;
    EXPECT_EQ(base_.add_variant(record), kOk);
    return base_.variants().back().id;
  }

  Cells cells_of(std::uint16_t variant_id) const {
    const Etalon* etalon = base_.find_etalon_by_variant(variant_id);
    return etalon == nullptr ? Cells{} : Cells(etalon->cells.begin(), etalon->cells.end());
  }

  // A correction sample written as the letter, and the cells it falls into.
  Tag4Record correction(char letter, DynArray<std::uint16_t>& hits, int p1 = 1, int p2 = 1) {
    Tag4Record sample;
    sample.strokes = std::move(test::letter_sample(letter, 5).strokes);
    const std::uint32_t words[7] = {0,
                                    static_cast<std::uint32_t>(p1),
                                    static_cast<std::uint32_t>(p2),
                                    0xFFFFFFFF,
                                    0xFFFFFFFF,
                                    0xFFFFFFFF,
                                    0xFFFFFFFF};
    std::copy(std::begin(words), std::end(words), sample.words);
    SampleFeatureWork work;
    work.rafs = &rafs_;
    EXPECT_EQ(work.context.reset(test::total_cells(rafs_)), kOk);
    const int offsets[] = {0};
    std::int32_t step = -1;
    EXPECT_EQ(train_on_sample(work, sample.strokes, offsets, &step, -1, -1, -1, nullptr), kOk);
    sample.words[6] = static_cast<std::uint32_t>(step);
    hits.assign(work.hit_lists[0]);
    return sample;
  }

  ShapeTable shapes_;
  DynArray<Raf> rafs_ = test::full_raf_list();
  RafSampleCells sample_cells_;
  KnowledgeBase base_{shapes_, rafs_};
  testing::TempDir dir_;
  std::string log_ = dir_.file("ets.txt");
};

TEST_F(KnowledgeBaseBuildTest, WithoutSampleCellsNoEtalonIsBuilt) {
  base_.set_sample_cells(nullptr);
  Variant record;
  record.shape_id = 1;
  EXPECT_EQ(base_.add_variant(record), kKbUnexpectedInterface);
  EXPECT_TRUE(base_.variants().empty());
  EXPECT_TRUE(base_.etalons().empty());
}

TEST_F(KnowledgeBaseBuildTest, TheFirstVariantGetsIdOneAndEtalonOneBuiltFromItsShape) {
  ASSERT_EQ(add(1), 1);
  ASSERT_EQ(base_.variants()[0].etalon_id, 1);
  const Etalon& etalon = *base_.find_etalon_by_variant(1);
  EXPECT_EQ(etalon.id, 1);
  EXPECT_EQ(etalon.reference_count_, 1);
  EXPECT_EQ(etalon.cells.size(), base_.total_cells());
  // Two samples, each at three angles.
  EXPECT_EQ(etalon.stats.positive_count, 6);
  EXPECT_GE(etalon.stats.min_hits, 3);
  EXPECT_GE(etalon.stats.max_hits, etalon.stats.min_hits);
  EXPECT_GT(etalon.stats.max_level, kCellLevelZero);
  EXPECT_LE(etalon.stats.max_level, kCellLevelZero + 6);
  EXPECT_EQ(etalon.stats.min_level, kCellLevelZero);
  EXPECT_GT(etalon.stats.norm, 0u);
  EXPECT_TRUE(etalon.corrections.empty());

  // The same shape builds the same cells; another shape other cells.
  ASSERT_EQ(add(1), 2);
  ASSERT_EQ(add(2), 3);
  EXPECT_EQ(cells_of(2), cells_of(1));
  EXPECT_NE(cells_of(3), cells_of(1));
  EXPECT_EQ(base_.find_variant(3)->etalon_id, 3);
  EXPECT_EQ(base_.reindex(true), kOk);
}

TEST_F(KnowledgeBaseBuildTest, AddingAndSettingVariantsNeedAShapeWithSamples) {
  ASSERT_EQ(add(4, true), 1);  // a special variant needs no samples
  EXPECT_EQ(base_.variants()[0].etalon_id, kNoEtalon);
  Variant record;
  record.shape_id = 4;
  EXPECT_EQ(base_.add_variant(record), kKbShapeWithoutSamples);
  record.shape_id = 9;
  EXPECT_EQ(base_.add_variant(record), kKbNoShape);
  record.special_recognition = kSpecialRecognition;
  EXPECT_EQ(base_.add_variant(record), kKbNoShape);
  EXPECT_EQ(base_.variants().size(), 1u);
  EXPECT_TRUE(base_.etalons().empty());

  // A special variant made normal gets an etalon built from its shape.
  ASSERT_EQ(add(2, true), 2);
  Variant made_normal = *base_.find_variant(2);
  made_normal.special_recognition = 0;
  made_normal.menuc = u'V';
  ASSERT_EQ(base_.set_variant(made_normal), kOk);
  EXPECT_EQ(base_.find_variant(2)->menuc, u'V');
  EXPECT_EQ(base_.find_variant(2)->etalon_id, 1);
  EXPECT_EQ(base_.find_etalon_by_variant(2)->stats.positive_count, 6);
  made_normal = *base_.find_variant(1);
  made_normal.special_recognition = 0;
  EXPECT_EQ(base_.set_variant(made_normal), kKbShapeWithoutSamples);
  EXPECT_EQ(base_.etalons().size(), 1u);
}

TEST_F(KnowledgeBaseBuildTest, AFailedBuildChangesNothing) {
  add(1);
  add(2, true);
  const Cells built = cells_of(1);
  // A Raf whose feature has no extractor fails every build.
  rafs_.push_back(Raf{static_cast<std::uint16_t>(base_.total_cells()), 2, 2, 2, 1, 0});
  base_.mark_dirty();
  Variant record;
  record.shape_id = 3;
  EXPECT_EQ(base_.add_variant(record), kRafDescriptionCount);
  Variant made_normal = *base_.find_variant(2);
  made_normal.special_recognition = 0;
  EXPECT_EQ(base_.set_variant(made_normal), kRafDescriptionCount);
  EXPECT_EQ(base_.rebuild_etalons(false, log_), kRafDescriptionCount);
  EXPECT_EQ(base_.rebuild_etalons(true, log_), kRafDescriptionCount);
  EXPECT_EQ(base_.rebuild_etalon(1, true), kRafDescriptionCount);
  EXPECT_EQ(base_.merge_shape_etalons(1), kRafDescriptionCount);
  EXPECT_EQ(base_.variants().size(), 2u);
  EXPECT_TRUE(base_.find_variant(2)->is_special());
  ASSERT_EQ(base_.etalons().size(), 1u);
  EXPECT_EQ(cells_of(1), built);
  EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(KnowledgeBaseBuildTest, RebuildingAfreshGivesOneEtalonPerShape) {
  add(2);
  add(1);
  add(2);
  add(4, true);
  DynArray<std::uint16_t> hits;
  const Tag4Record sample = correction('V', hits);
  ASSERT_EQ(base_.update_variant(1, 1, hits.span(), sample, 1, 1), kOk);
  const Cells of_shape_1 = cells_of(2);

  ASSERT_EQ(base_.rebuild_etalons(false, log_), kOk);
  ASSERT_EQ(base_.etalons().size(), 2u);
  EXPECT_EQ(base_.etalons()[0].id, 1);  // shape 1
  EXPECT_EQ(base_.etalons()[0].reference_count_, 1);
  EXPECT_EQ(base_.etalons()[1].id, 2);  // shape 2, trained no more
  EXPECT_EQ(base_.etalons()[1].reference_count_, 2);
  EXPECT_TRUE(base_.etalons()[1].corrections.empty());
  EXPECT_EQ(base_.find_variant(1)->etalon_id, 2);
  EXPECT_EQ(base_.find_variant(3)->etalon_id, 2);
  EXPECT_EQ(base_.find_variant(4)->etalon_id, kNoEtalon);
  EXPECT_EQ(cells_of(2), of_shape_1);
  EXPECT_EQ(base_.find_etalon_by_variant(1)->stats.positive_count, 6);
  EXPECT_FALSE(std::filesystem::exists(log_));

  // A variant whose shape is gone stops the rebuild; nothing changes.
  base_.variants()[3].special_recognition = 0;
  base_.variants()[3].shape_id = 9;
  EXPECT_EQ(base_.rebuild_etalons(false, log_), kKbNoShape);
  EXPECT_EQ(base_.etalons().size(), 2u);
  EXPECT_EQ(base_.find_variant(1)->etalon_id, 2);
}

TEST_F(KnowledgeBaseBuildTest, RebuildingWithReplayAppliesTheCorrectionsAgainAndLogsChanges) {
  add(1);
  add(2);
  DynArray<std::uint16_t> hits;
  const Tag4Record sample = correction('V', hits, 2, 4);
  ASSERT_EQ(base_.update_variant(2, 1, hits.span(), sample, 2, 4), kOk);
  ASSERT_EQ(base_.update_variant(2, -1, hits.span(), sample, 2, 4), kOk);
  const Cells trained = cells_of(2);

  ASSERT_EQ(base_.rebuild_etalons(true, log_), kOk);
  EXPECT_EQ(cells_of(2), trained);  // the steps replayed
  EXPECT_EQ(base_.find_etalon_by_variant(2)->corrections.size(), 2u);
  EXPECT_TRUE(testing::read_bytes(log_).empty());  // nothing changed

  // Changed cells are logged as old less new, range by range.
  base_.etalons()[0].cells[1] = static_cast<std::uint8_t>(base_.etalons()[0].cells[1] + 3);
  ASSERT_EQ(base_.rebuild_etalons(true, log_), kOk);
  const std::vector<unsigned char> bytes = testing::read_bytes(log_);
  const std::string line(bytes.begin(), bytes.end());
  EXPECT_EQ(line.substr(0, 8), "0\t1\t\t   ");  // position, id, cell 0 unchanged
  EXPECT_EQ(line.substr(8, 3), "  3");
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(std::count(line.begin(), line.end(), '|'), static_cast<long>(rafs_.size()));
  EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1);

  // An etalon no variant uses has no shape to be built from.
  base_.variants()[0].etalon_id = 2;
  EXPECT_EQ(base_.rebuild_etalons(true, log_), kKbNoShape);
}

TEST_F(KnowledgeBaseBuildTest, RebuildingOneEtalon) {
  add(1);
  add(3, true);
  DynArray<std::uint16_t> hits;
  const Tag4Record sample = correction('L', hits);
  const Cells built = cells_of(1);
  ASSERT_EQ(base_.update_variant(1, 1, hits.span(), sample, 1, 1), kOk);
  const Cells trained = cells_of(1);
  ASSERT_NE(trained, built);

  ASSERT_EQ(base_.rebuild_etalon(1, true), kOk);  // the correction is kept
  EXPECT_EQ(cells_of(1), trained);
  EXPECT_EQ(base_.find_etalon_by_variant(1)->corrections.size(), 1u);
  ASSERT_EQ(base_.rebuild_etalon(1, false), kOk);  // and dropped
  EXPECT_EQ(cells_of(1), built);
  EXPECT_TRUE(base_.find_etalon_by_variant(1)->corrections.empty());
  EXPECT_EQ(base_.find_etalon_by_variant(1)->id, 1);

  EXPECT_EQ(base_.rebuild_etalon(2, false), kKbNoEtalon);  // special
  EXPECT_EQ(base_.rebuild_etalon(0x10001, false), kKbNoEtalon);
}

TEST_F(KnowledgeBaseBuildTest, EtalonsOfAShapeAreRebuiltOrMerged) {
  add(1);
  add(1);
  add(2);
  DynArray<std::uint16_t> hits;
  const Tag4Record sample = correction('L', hits);
  ASSERT_EQ(base_.update_variant(2, 1, hits.span(), sample, 1, 1), kOk);
  const Cells trained = cells_of(2);
  base_.etalons()[1].cells[0] = 99;  // as if the shape's ink had changed

  ASSERT_EQ(base_.rebuild_shape_etalons(1), kOk);
  EXPECT_EQ(cells_of(2), trained);
  EXPECT_EQ(base_.rebuild_shape_etalons(9), kKbNoShape);

  ASSERT_EQ(base_.merge_shape_etalons(1), kOk);
  ASSERT_EQ(base_.etalons().size(), 2u);
  EXPECT_EQ(base_.find_variant(1)->etalon_id, 4);
  EXPECT_EQ(base_.find_variant(2)->etalon_id, 4);
  EXPECT_EQ(base_.find_etalon_by_variant(1)->reference_count_, 2);
  EXPECT_TRUE(base_.find_etalon_by_variant(1)->corrections.empty());
  EXPECT_EQ(base_.find_variant(3)->etalon_id, 3);
  EXPECT_EQ(base_.merge_shape_etalons(4), kOk);  // no variants: nothing happens
  EXPECT_EQ(base_.merge_shape_etalons(9), kKbNoShape);

  // An etalon shared with a variant of another shape is not merged away.
  Variant record;
  record.shape_id = 3;
  ASSERT_EQ(base_.variants().push_back(record), kOk);
  base_.variants().back().id = 4;
  base_.variants().back().etalon_id = 4;
  ++base_.etalons()[1].reference_count_;
  ASSERT_EQ(base_.reindex(true), kOk);
  EXPECT_EQ(base_.merge_shape_etalons(1), kKbNoShape);
  EXPECT_EQ(base_.etalons().size(), 2u);
}

}  // namespace
}  // namespace inkrec
