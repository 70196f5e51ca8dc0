// A database of a few letters built through the engine's exports, and
// training it from ink of a recognition (crmMakeCorr, crmMakeCorrSpecial)
// with a fake letter search that keeps what the segmentation would.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_records.h"
#include "engine/kernel/crman.h"
#include "engine/kernel/kernel.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/fake_letter_search.h"
#include "tests/support/letter_shapes.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using Cells = std::vector<std::uint8_t>;

constexpr std::uint32_t kEnglish = 5;
constexpr char kLetters[] = {'L', 'V', 'N'};

crDynArray* c_array(DynArray<std::uint32_t>& array) {
  return reinterpret_cast<crDynArray*>(&array);
}
crDynArray* c_array(DynArray<std::uint16_t>& array) {
  return reinterpret_cast<crDynArray*>(&array);
}
const crCorrRequest* as_c_request(const CorrectionRequest& request) {
  return reinterpret_cast<const crCorrRequest*>(&request);
}

class TrainingTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::write_empty_data_file(dir_.file("qlmain.dt")); }
  void TearDown() override { crFreeCrMan(); }

  int start() {
    const std::u16string data = dir_.wide_file("qlmain.dt");
    return crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr);
  }

  // The letters as the settings pages would make them: charset, symbols,
  // the Raf of the four-direction feature, a shape of written samples and
  // a variant of each letter.
  void build_database() {
    crCharSet charset{};
    charset.id = kEnglish;
    std::memcpy(charset.name, u"English", 14);
    ASSERT_EQ(crmAddCharSet(&charset), kOk);
    const crRaf dir4{0, 0, 12, 3, 1, 0};
    ASSERT_EQ(crmAddRaf(&dir4, 0), kOk);
    for (const char letter : kLetters) {
      crSymb symb{};
      symb.code = static_cast<std::uint16_t>(letter);
      ASSERT_EQ(crmAddSymb(&symb), kOk);
      const crCharSetSymb member{kEnglish, symb.code, {}, {}};
      ASSERT_EQ(crmAddCharSetSymb(&member), kOk);
      Shape shape = test::letter_shape(letter, 3);
      ASSERT_EQ(crmAddShape(c_record<crShape>(&shape)), kOk);
      crVariant variant{};
      variant.idSet = kEnglish;
      variant.shape_id = static_cast<std::uint16_t>(store().shape_count());
      variant.menuc = symb.code;
      variant.copybook_representative = 1;
      ASSERT_EQ(crmVariantAdd(&variant, 0), kOk);
    }
  }

  static DataStore& store() { return *crman_if_exists()->data_store(); }
  static Cells cells_of(std::uint16_t variant_id) {
    const Etalon* etalon = store().find_etalon_by_variant(variant_id);
    return etalon == nullptr ? Cells{} : Cells(etalon->cells.begin(), etalon->cells.end());
  }

  testing::TempDir dir_;
};

TEST_F(TrainingTest, ADatabaseBuiltThroughTheExportsIsSavedAndLoadedWithItsEtalons) {
  ASSERT_EQ(start(), kOk);
  build_database();
  std::uint32_t count = 0;
  ASSERT_EQ(crmVariantGetCountAll(&count), kOk);
  ASSERT_EQ(count, 3u);
  std::vector<Cells> built;
  for (std::uint16_t id = 1; id <= 3; ++id) built.push_back(cells_of(id));
  ASSERT_EQ(crSave(), kOk);
  crFreeCrMan();

  ASSERT_EQ(start(), kOk);
  ASSERT_EQ(crmVariantGetCountAll(&count), kOk);
  ASSERT_EQ(count, 3u);
  for (std::uint16_t id = 1; id <= 3; ++id) {
    crVariant variant{};
    ASSERT_EQ(crmVariantGet(id, &variant), kOk);
    EXPECT_EQ(variant.menuc, static_cast<std::uint16_t>(kLetters[id - 1]));
    EXPECT_EQ(variant.etalon_id, id);
    const Etalon* etalon = store().find_etalon_by_variant(id);
    ASSERT_NE(etalon, nullptr) << id;
    EXPECT_EQ(etalon->cells.size(), 36u);
    EXPECT_EQ(etalon->stats.positive_count, 9);  // three samples at three angles
    EXPECT_EQ(cells_of(id), built[id - 1]);
  }
  EXPECT_NE(built[0], built[1]);
  EXPECT_NE(built[1], built[2]);
}

TEST_F(TrainingTest, VariantsAddedThroughTheExportsNeedShapesWithSamples) {
  ASSERT_EQ(start(), kOk);
  build_database();
  crVariant variant{};
  variant.idSet = kEnglish;
  variant.menuc = 'L';
  variant.shape_id = 9;
  EXPECT_EQ(crmVariantAdd(&variant, 0), kKbNoShape);
  Shape bare;
  ASSERT_EQ(crmAddShape(c_record<crShape>(&bare)), kOk);
  variant.shape_id = 4;
  EXPECT_EQ(crmVariantAdd(&variant, 0), kKbShapeWithoutSamples);
  variant.shape_id = 1;
  ASSERT_EQ(crmVariantAdd(&variant, 1), kOk);  // sharing the etalon of variant 1
  EXPECT_EQ(store().find_etalon_by_variant(4), store().find_etalon_by_variant(1));
  EXPECT_EQ(store().find_etalon_by_variant(1)->reference_count_, 2);
  std::uint32_t count = 0;
  ASSERT_EQ(crmVariantGetCountAll(&count), kOk);
  EXPECT_EQ(count, 4u);
}

// A database of the letters, and a kernel in debug mode that recognised
// one written 'L' with the fake letter search.
class CorrectionTest : public TrainingTest {
 protected:
  void SetUp() override {
    TrainingTest::SetUp();
    ASSERT_EQ(start(), kOk);
    build_database();
    void* core = nullptr;
    ASSERT_EQ(crmGetCore(&core), kOk);
    fake_ = &testing::install_fake_letter_search(*static_cast<Kernel*>(core));
    fake_->lines = {testing::FakeLine{{testing::fragment({testing::reading(u'L')})}, {}}};
    fake_->figure_lines = {0};
    ASSERT_EQ(crmSetDebugMode(1), kOk);
    ink_ = test::letter_strokes('L', 300, 400, 12);
    const crStrokeInput stroke{reinterpret_cast<const crPoint*>(ink_[0].data()),
                               static_cast<std::int32_t>(ink_[0].size())};
    ASSERT_EQ(crAddStroke(&stroke, 1, -1, -1), kOk);
    recognize();
    values_[60] = 0xAA;
    values_[61] = 0xBB;
    request_.values = values_;
    request_.figures.push_back(fake_->figure(0));
    request_.figure_indices.push_back(0);
  }

  void recognize() {
    std::u16string buffer(16, u'#');
    crRecognitionParams params{};
    params.third_word = 100;
    params.first_switch = 1;
    params.second_switch = 1;
    params.skew_search = 1;
    params.skew_allowed = 1;
    params.refine_trajectories = 1;
    params.result_buffer = buffer.data();
    params.result_size = static_cast<std::int32_t>(buffer.size());
    ASSERT_EQ(crRecognize(&params), kOk);
  }

  int make_correction(int variant_id, int step = 1, int keep_counts = 0) {
    return crmMakeCorr(c_request(), variant_id, step, keep_counts, 1, 1, c_array(features_),
                       c_array(variants_));
  }
  const crCorrRequest* c_request() const { return as_c_request(request_); }
  static const Tag4Record& last_correction(std::uint16_t variant_id) {
    return store().find_etalon_by_variant(variant_id)->corrections.back();
  }

  testing::FakeLetterSearch* fake_ = nullptr;
  std::vector<test::Points> ink_;
  std::uint16_t values_[62] = {};
  CorrectionRequest request_{{}, nullptr, {}};
  DynArray<std::uint32_t> features_;
  DynArray<std::uint16_t> variants_;
};

TEST_F(CorrectionTest, TrainsTheVariantWithTheInkOfTheNamedFigures) {
  const Cells before = cells_of(1);
  const Cells other = cells_of(2);
  ASSERT_EQ(make_correction(1), kOk);
  EXPECT_NE(cells_of(1), before);
  EXPECT_EQ(store().find_etalon_by_variant(1)->stats.positive_count, 10);
  const Tag4Record& sample = last_correction(1);
  EXPECT_EQ(sample.a, 0xAA);
  EXPECT_EQ(sample.b, 0xBB);
  EXPECT_EQ(sample.words[0], 1u);  // positive
  EXPECT_EQ(sample.words[1], 1u);
  EXPECT_EQ(sample.words[2], 1u);
  for (const int w : {3, 4, 5}) EXPECT_EQ(sample.words[w], 0xFFFFFFFFu);
  EXPECT_GE(static_cast<std::int32_t>(sample.words[6]), 1);  // the step derived
  ASSERT_EQ(sample.strokes.size(),
            1u);  // the whole stroke, as the pane holds it
  EXPECT_EQ(sample.strokes[0].size(), ink_[0].size());
  EXPECT_TRUE(sample.items.empty());
  EXPECT_EQ(cells_of(2), other);

  // The sample replays as it was trained.
  const Cells trained = cells_of(1);
  ASSERT_EQ(crmVariantRebuildEtalon(1, 1), kOk);
  EXPECT_EQ(cells_of(1), trained);
}

TEST_F(CorrectionTest, RefusedCorrectionsChangeNothing) {
  const Cells before = cells_of(1);
  ASSERT_EQ(variants_.push_back(1), kOk);
  EXPECT_EQ(make_correction(-1), kUndocumented);
  variants_.clear();
  EXPECT_EQ(make_correction(-1), kUndocumented);
  EXPECT_EQ(crmMakeCorr(c_request(), 1, 1, 0, 0, 1, nullptr, nullptr),
            kUndocumented);  // p1 0
  EXPECT_EQ(crmMakeCorr(nullptr, 1, 1, 0, 1, 1, nullptr, nullptr), kBadArgument);
  EXPECT_EQ(make_correction(9), kKbVariantNotFound);

  CorrectionRequest other{{}, values_, {}};
  other.figure_indices.push_back(0);
  const crCorrRequest* c_other = as_c_request(other);
  EXPECT_EQ(crmMakeCorr(c_other, 1, 1, 0, 1, 1, nullptr, nullptr),
            kBadArgument);  // no figure
  other.figures.push_back(fake_->figure(0));
  other.figure_indices[0] = 1;
  EXPECT_EQ(crmMakeCorr(c_other, 1, 1, 0, 1, 1, nullptr, nullptr),
            kBadArgument);  // no candidate
  other.values = nullptr;
  other.figure_indices[0] = 0;
  EXPECT_EQ(crmMakeCorr(c_other, 1, 1, 0, 1, 1, nullptr, nullptr), kBadArgument);

  EXPECT_EQ(cells_of(1), before);
  EXPECT_TRUE(store().find_etalon_by_variant(1)->corrections.empty());

  // Once the ink is cleared the figures are gone.
  ASSERT_EQ(crClearPane(), kOk);
  EXPECT_EQ(make_correction(1), kBadArgument);
  EXPECT_EQ(cells_of(1), before);
}

TEST_F(CorrectionTest, AllFeatureCodesCountAsNone) {
  for (std::uint32_t code = 0; code < 17; ++code) ASSERT_EQ(features_.push_back(code), kOk);
  ASSERT_EQ(make_correction(1), kOk);
  EXPECT_TRUE(last_correction(1).items.empty());
  const Cells with_all = cells_of(1);

  features_.clear();
  ASSERT_EQ(features_.push_back(0x10000), kOk);  // "01-Dir4", as its low 16 bits
  ASSERT_EQ(make_correction(2), kOk);
  ASSERT_EQ(last_correction(2).items.size(), 1u);
  EXPECT_EQ(last_correction(2).items[0], 0);
  features_.clear();
  ASSERT_EQ(features_.push_back(3),
            kOk);  // "04-CrossVLines": no such Raf, no cells
  EXPECT_EQ(make_correction(3), kRafTooLittleData);
  EXPECT_EQ(cells_of(1), with_all);
}

TEST_F(CorrectionTest, SharedEtalonsSplitOrTrainTogether) {
  crVariant variant{};
  ASSERT_EQ(crmVariantGet(1, &variant), kOk);
  ASSERT_EQ(crmVariantAdd(&variant, 1), kOk);  // variant 4 shares etalon 1
  ASSERT_EQ(crmVariantAdd(&variant, 1), kOk);  // and variant 5
  const Cells before = cells_of(1);

  ASSERT_EQ(make_correction(4, 1, 1), kOk);  // keep_counts: 4 trains a copy
  EXPECT_EQ(cells_of(1), before);
  EXPECT_NE(cells_of(4), before);
  EXPECT_EQ(store().find_etalon_by_variant(1)->reference_count_, 2);

  ASSERT_EQ(variants_.push_back(1), kOk);
  ASSERT_EQ(variants_.push_back(5), kOk);
  ASSERT_EQ(make_correction(1), kOk);  // both users of etalon 1: in place
  EXPECT_NE(cells_of(1), before);
  EXPECT_EQ(cells_of(5), cells_of(1));
  EXPECT_EQ(store().knowledge_base().etalons().size(), 4u);
  ASSERT_EQ(variants_.push_back(4), kOk);
  EXPECT_EQ(make_correction(1), kKbBadVariantSet);

  variants_.clear();
  ASSERT_EQ(make_correction(5), kOk);  // without keep_counts: the shared etalon
  EXPECT_EQ(cells_of(5), cells_of(1));
}

TEST_F(CorrectionTest, ASpecialCorrectionTrainsAPieceOfOneFigure) {
  const std::int32_t last = fake_->figure(0)->run.count - 1;
  ASSERT_GE(last, 2);
  EXPECT_EQ(crmMakeCorrSpecial(c_request(), 0, 5, 4, 1, 1, 0, 1, 1, nullptr, nullptr),
            kUndocumented);
  EXPECT_EQ(crmMakeCorrSpecial(c_request(), 1, -1, -1, 1, 1, 0, 1, 1, nullptr, nullptr),
            kUndocumented);
  EXPECT_EQ(crmMakeCorrSpecial(c_request(), 0, 0, last + 1, 1, 1, 0, 1, 1, nullptr, nullptr),
            kUndocumented);
  EXPECT_EQ(crmMakeCorrSpecial(c_request(), 0, -1, -1, -1, 1, 0, 1, 1, nullptr, nullptr),
            kUndocumented);
  EXPECT_TRUE(store().find_etalon_by_variant(1)->corrections.empty());

  // -1 and -1: the whole figure as a piece, from its first to its last point.
  ASSERT_EQ(crmMakeCorrSpecial(c_request(), 0, -1, -1, 1, 1, 0, 1, 1, nullptr, nullptr), kOk);
  const PointRun& run = fake_->figure(0)->run;
  const Tag4Record& whole = last_correction(1);
  EXPECT_EQ(whole.words[3], 0u);
  EXPECT_EQ(whole.words[4], 0u);
  EXPECT_EQ(whole.words[5], static_cast<std::uint32_t>(point_number_of(run.points[last])));

  ASSERT_EQ(crmMakeCorrSpecial(c_request(), 0, 1, last, 1, 1, 0, 1, 1, nullptr, nullptr), kOk);
  const Tag4Record& piece = last_correction(1);
  EXPECT_EQ(piece.words[4], static_cast<std::uint32_t>(point_number_of(run.points[1])));
  ASSERT_EQ(piece.strokes.size(), 1u);
  EXPECT_EQ(piece.strokes[0].size(),
            ink_[0].size());  // the sample keeps the whole figure
}

TEST_F(CorrectionTest, FiguresOnOneStrokeMakeOneRunOverBothAndTheInkBetween) {
  Kernel& kernel = *fake_->kernel();
  const std::int32_t vertices = fake_->figure(0)->run.count;
  ASSERT_GE(vertices, 4);
  fake_->add_piece_candidate(0, 0, 0, 2);
  fake_->add_piece_candidate(0, 0, static_cast<std::uint16_t>(vertices - 2), 2);
  CorrectionRequest pieces{{}, values_, {}};
  pieces.figures.push_back(fake_->figure(0));
  pieces.figure_indices.push_back(2);
  pieces.figure_indices.push_back(1);
  Tag4Record sample;
  ASSERT_EQ(kernel.collect_sample_runs(sample, pieces), kOk);
  ASSERT_EQ(sample.strokes.size(), 1u);
  EXPECT_EQ(sample.strokes[0].size(), ink_[0].size());

  // The first piece alone reaches from the first vertex to its second.
  Tag4Record first_only;
  pieces.figure_indices.pop_back();
  pieces.figure_indices[0] = 1;
  ASSERT_EQ(kernel.collect_sample_runs(first_only, pieces), kOk);
  const PointRecord& second_vertex = fake_->figure(0)->run.points[1];
  ASSERT_EQ(first_only.strokes.size(), 1u);
  EXPECT_EQ(first_only.strokes[0].size(),
            static_cast<std::uint32_t>(point_number_of(second_vertex) + 1));
}

}  // namespace
}  // namespace inkrec
