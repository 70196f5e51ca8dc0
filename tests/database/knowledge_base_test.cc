#include "engine/database/knowledge_base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/database/knowledge_base_io.h"
#include "engine/foundation/file_holder.h"
#include "engine/foundation/status.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;
using testing::write_bytes;
using Bytes = std::vector<unsigned char>;

class KnowledgeBaseFileTest : public ::testing::Test {
 protected:
  Bytes written() {
    write_bytes(path_, {});
    BinaryStream stream;
    EXPECT_TRUE(stream.open(path_.c_str(), 0));
    EXPECT_TRUE(write_knowledge_base(stream, base_));
    stream.close();
    return read_bytes(path_);
  }

  // Reads `bytes` into `loaded_`; the stream's state.
  bool read(const Bytes& bytes) {
    write_bytes(path_, bytes);
    BinaryStream stream;
    stream.open(path_.c_str(), kAccessReadOnly);
    return read_knowledge_base(stream, loaded_);
  }

  void add_etalon(std::uint16_t id, std::uint32_t cells, std::uint16_t references = 1) {
    Etalon* etalon = base_.etalons().push_default();
    etalon->id = id;
    etalon->reference_count_ = references;
    for (std::uint32_t i = 0; i < cells; ++i) {
      etalon->cells.push_back(static_cast<std::uint8_t>(40 + i));
    }
  }

  testing::TempDir dir_;
  std::string path_ = dir_.file("kb.bin");
  ShapeTable shapes_;
  DynArray<Raf> rafs_;
  KnowledgeBase base_{shapes_, rafs_};
  KnowledgeBase loaded_{shapes_, rafs_};
};

TEST_F(KnowledgeBaseFileTest, EmptyBaseIsFourWords) {
  EXPECT_EQ(written(), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(read(written()));
  EXPECT_EQ(loaded_.etalon_at(0), nullptr);
  EXPECT_TRUE(loaded_.dirty());
}

TEST_F(KnowledgeBaseFileTest, RoundTripIsExactButForTheLastVariantByte) {
  for (const std::uint16_t id : {4, 6}) {
    Variant variant;
    variant.id = id;
    variant.idSet = 5;
    variant.etalon_id = id == 4 ? 2 : 3;
    variant.properties = 0x80000001;
    variant.aux_codes[1] = 0xABCD;
    variant.aux_byte5 = 7;
    ASSERT_EQ(base_.variants().push_back(variant), kOk);
  }
  add_etalon(2, 3);
  add_etalon(3, 3);
  Etalon& trained = base_.etalons()[1];
  trained.stats = {1234, 5, 6, 43, 31, 40, 12, 0};
  Tag4Record* correction = trained.corrections.push_default();
  correction->words[6] = 4;
  correction->strokes.push_default()->push_back({-3, 700});
  correction->items.push_back(11);
  ASSERT_TRUE(read(written()));
  ASSERT_EQ(loaded_.variants().size(), 2u);
  for (std::uint32_t i = 0; i < 2; ++i) {
    Variant expected = base_.variants()[i];
    expected.aux_byte5 = 0;
    EXPECT_EQ(loaded_.variants()[i], expected);
  }
  ASSERT_EQ(loaded_.etalons().size(), 2u);
  EXPECT_EQ(loaded_.etalons()[0], base_.etalons()[0]);
  EXPECT_EQ(loaded_.etalons()[1], base_.etalons()[1]);
  EXPECT_EQ(loaded_.find_etalon_by_variant(6), &loaded_.etalons()[1]);
  EXPECT_EQ(loaded_.find_etalon_by_variant(0x10004), &loaded_.etalons()[0]);  // low 16 bits
  // By the etalon's own id the numbers mean other records: etalon 3 is
  // variant 6's, and no etalon has the id 6 or 4.
  EXPECT_EQ(loaded_.find_etalon_by_id(3), &loaded_.etalons()[1]);
  EXPECT_EQ(loaded_.find_etalon_by_id(2), &loaded_.etalons()[0]);
  EXPECT_EQ(loaded_.find_etalon_by_id(6), nullptr);
  EXPECT_EQ(loaded_.find_etalon_by_id(4), nullptr);
  EXPECT_EQ(loaded_.find_etalon_by_variant(3), nullptr);

  base_.etalons()[0].cells.clear();
  base_.etalons()[1].cells.clear();
  ASSERT_TRUE(read(written()));  // etalons without cells
  EXPECT_TRUE(loaded_.etalons()[0].cells.empty());
}

TEST_F(KnowledgeBaseFileTest, VariantsAreListedOneALine) {
  for (const std::uint32_t use : {0u, 1u, 2u}) {
    Variant variant;
    variant.id = static_cast<std::uint16_t>(use + 1);
    variant.idSet = 5;
    variant.idUse = use;
    variant.menuc = u'a';
    variant.shape_id = 9;
    variant.special_recognition = kSpecialRecognition;
    ASSERT_EQ(base_.variants().push_back(variant), kOk);
  }
  {
    FileHolder out;
    ASSERT_TRUE(out.open(path_.c_str(), "wb"));
    dump_variants(out, base_);
  }
  const Bytes listing = read_bytes(path_);
  const std::string heading =
      "\n\xC2\xE0\xF0\xE8\xE0\xED\xF2\xFB.\n  \xCA\xEE\xEB\xE8\xF7\xE5\xF1\xF2\xE2\xEE: 3\n";
  EXPECT_EQ(std::string(listing.begin(), listing.end()),
            heading +
                "0\tid: 1\tidSet: 5\tmenuc: 97\tidShape: 9\tidUse: Often\n"
                "1\tid: 2\tidSet: 5\tmenuc: 97\tidShape: 9\tidUse: Rarely\n"
                "2\tid: 3\tidSet: 5\tmenuc: 97\tidShape: 9\tidUse: Never\n");
}

TEST_F(KnowledgeBaseFileTest, BrokenListsMarkTheStreamBad) {
  add_etalon(1, 3);
  add_etalon(2, 4);
  EXPECT_FALSE(read(written()));  // cell vectors of different lengths

  Bytes wrong_tag = {1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(read(wrong_tag));
  EXPECT_TRUE(loaded_.variants().empty());
  EXPECT_TRUE(loaded_.etalons().empty());

  base_.etalons().clear();
  add_etalon(2, 1);
  add_etalon(2, 1);
  add_etalon(1, 1);
  EXPECT_TRUE(read(written()));  // ids out of order are taken as stored
  ASSERT_EQ(loaded_.etalons().size(), 3u);
  EXPECT_EQ(loaded_.etalons()[2].id, 1);

  base_.etalons().clear();
  Variant orphan;
  orphan.id = 1;
  orphan.etalon_id = 9;
  ASSERT_EQ(base_.variants().push_back(orphan), kOk);
  EXPECT_FALSE(read(written()));  // a normal variant without its etalon
}

// A knowledge base over one Raf of four cells (weight 2) whose etalons and
// variants a test sets up directly.
class KnowledgeBaseTest : public ::testing::Test {
 protected:
  KnowledgeBaseTest() { rafs_.push_back(Raf{0, 1, 2, 2, 2, 0}); }

  void add_etalon(std::uint16_t id, std::uint16_t references,
                  std::vector<std::uint8_t> cells = {32, 34, 36, 40}) {
    Etalon* etalon = base_.etalons().push_default();
    etalon->id = id;
    etalon->reference_count_ = references;
    for (const std::uint8_t cell : cells) etalon->cells.push_back(cell);
  }
  // A variant of shape 7; etalon kNoEtalon makes it special.
  void add_variant(std::uint16_t id, std::uint16_t etalon_id, std::uint16_t shape_id = 7) {
    Variant variant;
    variant.id = id;
    variant.shape_id = shape_id;
    variant.etalon_id = etalon_id;
    variant.special_recognition = etalon_id == kNoEtalon ? kSpecialRecognition : 0;
    ASSERT_EQ(base_.variants().push_back(variant), kOk);
  }
  // Variants 1 and 2 share etalon 1, variant 3 has etalon 2, variant 4 is
  // special.
  void add_records() {
    add_etalon(1, 2);
    add_etalon(2, 1);
    add_variant(1, 1);
    add_variant(2, 1);
    add_variant(3, 2);
    add_variant(4, kNoEtalon);
    ASSERT_EQ(base_.reindex(true), kOk);
  }

  std::vector<std::uint8_t> cells_of(std::uint16_t variant_id) const {
    const Etalon* etalon = base_.find_etalon_by_variant(variant_id);
    return etalon == nullptr
               ? std::vector<std::uint8_t>{}
               : std::vector<std::uint8_t>(etalon->cells.begin(), etalon->cells.end());
  }

  ShapeTable shapes_;
  DynArray<Raf> rafs_;
  KnowledgeBase base_{shapes_, rafs_};
  Tag4Record sample_;
  const std::vector<std::uint16_t> hits_ = {0, 2};
};

TEST_F(KnowledgeBaseTest, DeletingVariantsReleasesTheirEtalons) {
  add_etalon(1, 2);
  add_variant(1, 1);
  add_variant(2, 1);
  EXPECT_EQ(base_.delete_variant(1), kKbNoEtalon);  // not indexed yet
  ASSERT_EQ(base_.reindex(true), kOk);
  EXPECT_EQ(base_.etalon_at(2), nullptr);  // the index has one spare slot
  ASSERT_EQ(base_.delete_variant(1), kOk);
  ASSERT_EQ(base_.etalons().size(), 1u);
  EXPECT_EQ(base_.etalons()[0].reference_count_, 1);
  EXPECT_EQ(base_.delete_variant(1), kKbVariantNotFound);
  base_.etalons()[0].id = 5;  // the index now names another etalon
  EXPECT_EQ(base_.delete_variant(2), kKbBrokenIndex);
  base_.etalons()[0].id = 1;
  ASSERT_EQ(base_.delete_variant(2), kOk);
  EXPECT_TRUE(base_.etalons().empty());
  EXPECT_TRUE(base_.variants().empty());
  EXPECT_EQ(base_.reindex(true), kOk);
  EXPECT_EQ(base_.etalon_at(0), nullptr);
}

TEST_F(KnowledgeBaseTest, SettingAVariantKeepsItsShapeAndEtalon) {
  add_records();
  Variant record = base_.variants()[0];
  record.idUse = 2;
  record.menuc = u'q';
  ASSERT_EQ(base_.set_variant(record), kOk);
  EXPECT_EQ(*base_.find_variant(1), record);
  record.shape_id = 8;
  EXPECT_EQ(base_.set_variant(record), kKbVariantTooDifferent);
  record.shape_id = 7;
  record.etalon_id = 2;
  EXPECT_EQ(base_.set_variant(record), kKbVariantTooDifferent);
  record.etalon_id = 1;
  record.id = 9;
  EXPECT_EQ(base_.set_variant(record), kKbVariantNotFound);

  // A normal variant made special lets go of its etalon.
  for (const std::uint16_t id : {1, 2, 3}) {
    Variant made_special = *base_.find_variant(id);
    made_special.special_recognition = kSpecialRecognition;
    ASSERT_EQ(base_.set_variant(made_special), kOk);
    EXPECT_EQ(base_.find_variant(id)->etalon_id, kNoEtalon);
  }
  EXPECT_TRUE(base_.etalons().empty());
  // A special variant made normal needs a shape with samples.
  Variant made_normal = *base_.find_variant(4);
  made_normal.special_recognition = 0;
  EXPECT_EQ(base_.set_variant(made_normal), kKbNoShape);
  EXPECT_TRUE(base_.find_variant(4)->is_special());
}

TEST_F(KnowledgeBaseTest, AVariantAddedWithABaseSharesItsEtalon) {
  add_records();
  Variant record;
  record.shape_id = 7;
  record.menuc = u'z';
  ASSERT_EQ(base_.add_variant_with_base(record, 3), kOk);
  const Variant& added = base_.variants().back();
  EXPECT_EQ(added.id, 5);
  EXPECT_EQ(added.menuc, u'z');
  EXPECT_EQ(added.etalon_id, 2);
  EXPECT_EQ(base_.find_etalon_by_variant(5), base_.find_etalon_by_variant(3));
  EXPECT_EQ(base_.find_etalon_by_variant(3)->reference_count_, 2);

  record.special_recognition = kSpecialRecognition;
  ASSERT_EQ(base_.add_variant_with_base(record, 4), kOk);
  EXPECT_EQ(base_.variants().back().etalon_id, kNoEtalon);

  EXPECT_EQ(base_.add_variant_with_base(record, 3), kKbVariantTooDifferent);  // special
  record.special_recognition = 0;
  record.shape_id = 8;
  EXPECT_EQ(base_.add_variant_with_base(record, 3), kKbVariantTooDifferent);  // shape
  EXPECT_EQ(base_.add_variant_with_base(record, 40), kKbVariantNotFound);
  EXPECT_EQ(base_.variants().size(), 6u);
  EXPECT_EQ(base_.find_etalon_by_variant(3)->reference_count_, 2);
}

TEST_F(KnowledgeBaseTest, UpdatingTrainsTheEtalonInPlaceAndKeepsTheSample) {
  add_records();
  sample_.a = 61;
  sample_.words[1] = 9;
  ASSERT_EQ(base_.update_variant(1, 1, hits_, sample_, 1, 1), kOk);
  EXPECT_EQ(cells_of(1), (std::vector<std::uint8_t>{33, 34, 37, 40}));
  EXPECT_EQ(cells_of(2), cells_of(1));  // shared
  const Etalon& trained = *base_.find_etalon_by_variant(1);
  ASSERT_EQ(trained.corrections.size(), 1u);
  EXPECT_EQ(trained.corrections[0].words[0], 1u);  // a positive step
  EXPECT_EQ(trained.corrections[0].a, 61);
  EXPECT_EQ(trained.stats.positive_count, 1);
  // Norm with weight 2: 4 * (1 + 4 + 25 + 64) / 1024.
  EXPECT_EQ(trained.stats.norm, 0u);
  EXPECT_EQ(trained.stats.max_level, 40);

  ASSERT_EQ(base_.update_variant(2, -1, hits_, sample_, 1, 1), kOk);
  EXPECT_EQ(trained.corrections.size(), 2u);
  EXPECT_EQ(trained.corrections[1].words[0], 0u);
  EXPECT_EQ(base_.etalons().size(), 2u);
}

TEST_F(KnowledgeBaseTest, ReplacingAVariantSplitsASharedEtalon) {
  add_records();
  const std::vector<std::uint8_t> before = cells_of(1);
  ASSERT_EQ(base_.replace_variant(2, 1, hits_, sample_, 1, 1), kOk);
  ASSERT_EQ(base_.etalons().size(), 3u);
  EXPECT_EQ(base_.find_variant(2)->etalon_id, 3);  // the next etalon id
  EXPECT_EQ(cells_of(1), before);
  EXPECT_EQ(cells_of(2), (std::vector<std::uint8_t>{33, 34, 37, 40}));
  EXPECT_EQ(base_.find_etalon_by_variant(1)->reference_count_, 1);
  EXPECT_EQ(base_.find_etalon_by_variant(2)->reference_count_, 1);
  EXPECT_TRUE(base_.find_etalon_by_variant(1)->corrections.empty());
  EXPECT_EQ(base_.find_etalon_by_variant(2)->corrections.size(), 1u);

  // A sole user is trained in place.
  ASSERT_EQ(base_.replace_variant(3, 1, hits_, sample_, 1, 1), kOk);
  EXPECT_EQ(base_.etalons().size(), 3u);
  EXPECT_EQ(base_.find_variant(3)->etalon_id, 2);
  EXPECT_EQ(base_.reindex(true), kOk);
}

TEST_F(KnowledgeBaseTest, ReplacingVariantsTrainsWhatTheListedVariantsShare) {
  add_records();
  add_variant(5, 1);
  base_.etalons()[0].reference_count_ = 3;
  ASSERT_EQ(base_.reindex(true), kOk);
  sample_.words[1] = 1;  // p1
  sample_.words[2] = 1;  // p2

  // Two of the three users split off a copy they share.
  const std::vector<std::uint16_t> two = {5, 2, 5};
  ASSERT_EQ(base_.replace_variants(two, 1, hits_, sample_), kOk);
  ASSERT_EQ(base_.etalons().size(), 3u);
  EXPECT_EQ(base_.find_variant(2)->etalon_id, 3);
  EXPECT_EQ(base_.find_variant(5)->etalon_id, 3);
  EXPECT_EQ(base_.find_etalon_by_variant(2)->reference_count_, 2);
  EXPECT_EQ(base_.find_etalon_by_variant(1)->reference_count_, 1);
  EXPECT_EQ(cells_of(1), (std::vector<std::uint8_t>{32, 34, 36, 40}));
  EXPECT_EQ(cells_of(5), (std::vector<std::uint8_t>{33, 34, 37, 40}));

  // All users listed: trained in place.
  const std::vector<std::uint16_t> both = {2, 5};
  ASSERT_EQ(base_.replace_variants(both, 1, hits_, sample_), kOk);
  EXPECT_EQ(base_.etalons().size(), 3u);
  EXPECT_EQ(cells_of(2), (std::vector<std::uint8_t>{34, 34, 38, 40}));

  const std::vector<std::uint16_t> mixed = {2, 3};
  EXPECT_EQ(base_.replace_variants(mixed, 1, hits_, sample_), kKbBadVariantSet);
  const std::vector<std::uint16_t> missing = {2, 30};
  EXPECT_EQ(base_.replace_variants(missing, 1, hits_, sample_), kKbVariantNotFound);
  EXPECT_EQ(base_.replace_variants({}, 1, hits_, sample_), kOk);
  EXPECT_EQ(base_.etalons().size(), 3u);
}

TEST_F(KnowledgeBaseTest, FailedTrainingChangesNothing) {
  add_records();
  const std::vector<std::uint16_t> past_the_cells = {1, 4};
  const std::vector<std::uint16_t> descending = {2, 1};
  struct Case {
    const char* what;
    std::uint16_t id;
    int p1;
    int p2;
    std::span<const std::uint16_t> hits;
    int expected;
  };
  const std::vector<Case> cases = {
      {"p1 0", 1, 0, 1, hits_, kUndocumented},
      {"p2 0", 2, 1, 0, hits_, kUndocumented},
      {"special", 4, 1, 1, hits_, kKbNoEtalon},
      {"unknown", 9, 1, 1, hits_, kKbVariantNotFound},
      {"hit past the cells", 1, 1, 1, past_the_cells, kBadArgument},
      {"hits descending", 1, 1, 1, descending, kBadArgument},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(base_.update_variant(c.id, 1, c.hits, sample_, c.p1, c.p2), c.expected) << c.what;
    EXPECT_EQ(base_.replace_variant(c.id, 1, c.hits, sample_, c.p1, c.p2), c.expected) << c.what;
    const std::uint16_t pair[] = {1, c.id};
    sample_.words[1] = static_cast<std::uint32_t>(c.p1);
    sample_.words[2] = static_cast<std::uint32_t>(c.p2);
    if (c.id <= 2) {
      EXPECT_EQ(base_.replace_variants(pair, 1, c.hits, sample_), c.expected) << c.what;
    }
  }
  ASSERT_EQ(base_.etalons().size(), 2u);
  for (const Etalon& etalon : base_.etalons()) {
    EXPECT_EQ(std::vector<std::uint8_t>(etalon.cells.begin(), etalon.cells.end()),
              (std::vector<std::uint8_t>{32, 34, 36, 40}));
    EXPECT_TRUE(etalon.corrections.empty());
  }
  EXPECT_EQ(base_.find_etalon_by_variant(1)->reference_count_, 2);
  // A step that does nothing divides by nothing: its sample is still kept.
  EXPECT_EQ(base_.update_variant(1, 0, hits_, sample_, 0, 0), kOk);
  EXPECT_EQ(base_.find_etalon_by_variant(1)->corrections.size(), 1u);
}

}  // namespace
}  // namespace inkrec
