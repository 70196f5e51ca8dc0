#include "engine/database/data_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/database/active_tables.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/feature_store.h"
#include "tests/support/letter_shapes.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

CharSet charset(std::uint32_t id) {
  CharSet record{};
  record.id = id;
  return record;
}

Symb symb(std::uint16_t code) {
  Symb record{};
  record.code = code;
  return record;
}

ComplexVariant complex_variant(std::uint32_t set, std::uint16_t menuc) {
  ComplexVariant record{};
  record.set = set;
  record.menuc = menuc;
  record.kind = 1;
  return record;
}

Raf raf(std::uint16_t offset, std::uint8_t nx, std::uint8_t ny, std::uint8_t ves) {
  return {offset, 0, nx, ny, ves, 0};
}

Shape shape_with_sample() {
  Shape shape;
  Sample* sample = shape.samples.push_default();
  sample->second_guide = 20;
  Stroke* stroke = sample->strokes.push_default();
  stroke->push_back({0, 0});
  stroke->push_back({0, 10});
  return shape;
}

class DataStoreTest : public ::testing::Test {
 protected:
  DataStoreTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = testing::open_feature_store(dir_.file("qlmain.dt"));
  }

  // A variant of (charset, code) on etalon `etalon_id` (kNoEtalon: special);
  // the caller re-indexes.
  void add_variant(std::uint16_t id, std::uint32_t charset_id, std::uint16_t code,
                   std::uint16_t etalon_id, std::uint16_t shape_id = 0) {
    Variant variant;
    variant.id = id;
    variant.idSet = charset_id;
    variant.menuc = code;
    variant.shape_id = shape_id;
    variant.etalon_id = etalon_id;
    variant.special_recognition = etalon_id == kNoEtalon ? kSpecialRecognition : 0;
    ASSERT_EQ(kb().variants().push_back(variant), kOk);
  }

  void add_etalon(std::uint16_t id, std::uint16_t users, std::vector<std::uint8_t> cells = {}) {
    Etalon* etalon = kb().etalons().push_default();
    etalon->id = id;
    etalon->reference_count_ = users;
    for (const std::uint8_t cell : cells) etalon->cells.push_back(cell);
  }

  KnowledgeBase& kb() { return store_->knowledge_base(); }
  DataStore& store() { return *store_; }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

TEST_F(DataStoreTest, CharsetsAndSymbolsKeepTheirKeysUnique) {
  ASSERT_EQ(store().status(), kOk);
  EXPECT_EQ(store().add_charset(charset(5)), kOk);
  EXPECT_EQ(store().add_charset(charset(5)), kCharSetExists);
  CharSet edited = charset(5);
  edited.ortho = 1;
  EXPECT_EQ(store().edit_charset(edited), kOk);
  EXPECT_EQ(store().find_charset(5)->ortho, 1u);
  EXPECT_EQ(store().edit_charset(charset(6)), kCharSetMissing);
  EXPECT_EQ(store().charset_at(1), nullptr);
  EXPECT_EQ(store().delete_charset(6), kCharSetMissing);

  EXPECT_EQ(store().add_symb(symb(u'a')), kOk);
  EXPECT_EQ(store().add_symb(symb(u'a')), kSymbExists);
  EXPECT_EQ(store().edit_symb(symb(u'b')), kSymbMissing);
  EXPECT_EQ(store().delete_symb(u'b'), kSymbMissing);
  EXPECT_EQ(store().symb_at(store().symb_count()), nullptr);

  // Tested in order: the pair, the charset, the symbol.
  EXPECT_EQ(store().add_charset_symb({9, u'z', {}, {}}), kCharSetMissing);
  EXPECT_EQ(store().add_charset_symb({5, u'z', {}, {}}), kSymbMissing);
  EXPECT_EQ(store().add_charset_symb({5, u'a', {1, 2, 3}, {}}), kOk);
  EXPECT_EQ(store().add_charset_symb({5, u'a', {}, {}}), kCharSetSymbExists);
  EXPECT_EQ(store().edit_charset_symb({5, u'a', {7, 7, 7}, {}}), kOk);
  EXPECT_EQ(store().find_charset_symb(5, u'a')->values[0], 7);
  EXPECT_EQ(store().edit_charset_symb({5, u'q', {}, {}}), kCharSetSymbMissing);
  EXPECT_EQ(store().delete_charset_symb(5, u'q'), kCharSetSymbMissing);
  EXPECT_EQ(store().charset_symb_count_in(5), 1u);

  // A symbol still in a charset is not deleted.
  EXPECT_EQ(store().delete_symb(u'a'), kSymbInUse);
  EXPECT_NE(store().find_symb(u'a'), nullptr);
  ASSERT_EQ(store().delete_charset_symb(5, u'a'), kOk);
  EXPECT_EQ(store().delete_symb(u'a'), kOk);
  EXPECT_EQ(store().symb_count(), 0u);
}

TEST_F(DataStoreTest, DeletingACharsetTakesItsSymbolsVariantsAndComplexVariants) {
  for (const std::uint32_t id : {4u, 5u}) ASSERT_EQ(store().add_charset(charset(id)), kOk);
  for (const char16_t code : {u'a', u'b', u'c'}) {
    ASSERT_EQ(store().add_symb(symb(code)), kOk);
    ASSERT_EQ(store().add_charset_symb({5, code, {}, {}}), kOk);
    ASSERT_EQ(store().add_complex_variant(complex_variant(5, code)), kOk);
  }
  ASSERT_EQ(store().add_charset_symb({4, u'a', {}, {}}), kOk);
  ASSERT_EQ(store().add_complex_variant(complex_variant(4, u'a')), kOk);
  add_etalon(1, 3);
  add_etalon(2, 1);
  add_variant(1, 5, u'a', 1);
  add_variant(2, 5, u'b', 1);
  add_variant(3, 4, u'a', 1);
  add_variant(4, 5, u'c', 2);
  add_variant(5, 5, u'c', kNoEtalon);
  ASSERT_EQ(kb().reindex(true), kOk);

  ASSERT_EQ(store().delete_charset(5), kOk);
  EXPECT_EQ(store().find_charset(5), nullptr);
  EXPECT_EQ(store().charset_symb_count(), 1u);
  ASSERT_EQ(store().complex_variant_count(), 1u);
  EXPECT_EQ(store().complex_variant_at(0)->set, 4u);
  ASSERT_EQ(store().variant_count(), 1u);
  EXPECT_EQ(store().variant_at(0)->id, 3);
  // Etalon 1 lost two of its three users; etalon 2 lost its only one.
  ASSERT_EQ(kb().etalons().size(), 1u);
  EXPECT_EQ(kb().etalons()[0].reference_count_, 1);
  EXPECT_EQ(store().find_etalon_by_variant(3), &kb().etalons()[0]);
  EXPECT_EQ(store().etalon_at(0), &kb().etalons()[0]);
}

TEST_F(DataStoreTest, CascadeStopsAtTheFirstKnowledgeBaseFailure) {
  ASSERT_EQ(store().add_charset(charset(5)), kOk);
  ASSERT_EQ(store().add_symb(symb(u'a')), kOk);
  ASSERT_EQ(store().add_charset_symb({5, u'a', {}, {}}), kOk);
  add_etalon(1, 1);
  add_variant(1, 5, u'a', 1);  // not indexed: its etalon cannot be located
  EXPECT_EQ(store().delete_charset(5), kKbNoEtalon);
  EXPECT_NE(store().find_charset_symb(5, u'a'), nullptr);
  EXPECT_NE(store().find_charset(5), nullptr);
  EXPECT_EQ(store().variant_count(), 1u);
}

TEST_F(DataStoreTest, ComplexVariantIdsFollowTheLastOne) {
  std::uint16_t id = 0;
  ASSERT_EQ(store().add_complex_variant(complex_variant(1, 1), &id), kOk);
  EXPECT_EQ(id, 1);
  for (int i = 0; i < 4; ++i) ASSERT_EQ(store().add_complex_variant(complex_variant(1, 1)), kOk);
  for (const std::uint16_t gone : {2, 3, 4}) ASSERT_EQ(store().delete_complex_variant(gone), kOk);
  ASSERT_EQ(store().add_complex_variant(complex_variant(1, 1), &id), kOk);
  EXPECT_EQ(id, 6);
  EXPECT_EQ(store().delete_complex_variant(3), kVariantMissing);
  ComplexVariant changed = *store().find_complex_variant(5);
  changed.cnt = 9;
  EXPECT_EQ(store().set_complex_variant(changed), kOk);
  EXPECT_EQ(store().complex_variant_at(1)->cnt, 9);
  changed.id = 4;
  EXPECT_EQ(store().set_complex_variant(changed), kVariantMissing);
}

TEST_F(DataStoreTest, RafsKeepRunningOffsetsAndReachTheEtalons) {
  std::uint16_t id = 0;
  ASSERT_EQ(store().add_raf(raf(7, 2, 1, 2), &id), kOk);
  EXPECT_EQ(id, 1);
  ASSERT_EQ(store().add_raf(raf(0, 1, 1, 1), &id), kOk);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(store().raf_at(0)->offset, 7);  // the first keeps the offset given
  EXPECT_EQ(store().raf_at(1)->offset, 9);
  EXPECT_EQ(store().raf_total_cells(), 10);
  EXPECT_EQ(store().add_raf(raf(0, 255, 255, 1)), kOk);
  EXPECT_EQ(store().add_raf(raf(0, 255, 2, 1)), kOutOfMemory);  // offsets would pass 16 bits
  ASSERT_EQ(store().delete_raf(3), kOk);
  EXPECT_EQ(store().raf_at(0)->offset, 0);  // renumbered from 0
  EXPECT_EQ(store().raf_at(1)->offset, 2);

  add_etalon(1, 1, {72, 32, 42});
  Raf edited = *store().find_raf(1);
  edited.ves = 4;
  edited.offset = 100;
  ASSERT_EQ(store().edit_raf(edited), kOk);
  EXPECT_EQ(store().raf_at(0)->ves, 4);
  EXPECT_EQ(store().raf_at(0)->offset, 0);
  // Weights 4, 4 and 1: (16 * 40^2 + 1 * 10^2) / 1024.
  EXPECT_EQ(kb().etalons()[0].stats.norm, 25u);
  EXPECT_EQ(kb().etalons()[0].stats.max_level, 72);
  EXPECT_EQ(kb().etalons()[0].stats.min_level, 32);
  edited.nx = 3;
  EXPECT_EQ(store().edit_raf(edited), kRafTooDifferent);
  edited.id = 9;
  EXPECT_EQ(store().edit_raf(edited), kRafMissing);

  ASSERT_EQ(store().delete_raf(1), kOk);
  EXPECT_EQ(store().raf_at(0)->offset, 0);
  ASSERT_EQ(kb().etalons()[0].cells.size(), 1u);
  EXPECT_EQ(kb().etalons()[0].cells[0], 42);
  kb().etalons()[0].cells.resize(0);
  EXPECT_EQ(store().delete_raf(2), kKbBadRaf);
  EXPECT_EQ(store().raf_count(), 1u);
  EXPECT_EQ(store().delete_raf(1), kRafMissing);
}

// Rafs 1 ("01-Dir4") and 4 ("04-CrossVLines"), so that the next one added
// is 5 ("05-CrossLocLineHV"): features the builds can compute.
class DataStoreBuildTest : public DataStoreTest {
 protected:
  void SetUp() override {
    for (const Raf record : {raf(0, 12, 3, 1), raf(0, 1, 1, 1), raf(0, 1, 1, 1), raf(0, 6, 4, 1)}) {
      ASSERT_EQ(store().add_raf(record), kOk);
    }
    ASSERT_EQ(store().delete_raf(2), kOk);
    ASSERT_EQ(store().delete_raf(3), kOk);
    ASSERT_EQ(store().add_shape(test::letter_shape('L')), kOk);
    Variant record;
    record.shape_id = 1;
    for (int i = 0; i < 2; ++i) ASSERT_EQ(store().add_variant(record), kOk);
  }

  std::vector<std::uint8_t> cells_of(std::uint16_t variant_id) const {
    const Etalon* etalon = store_->find_etalon_by_variant(variant_id);
    return {etalon->cells.begin(), etalon->cells.end()};
  }
};

TEST_F(DataStoreBuildTest, AnAddedRafRebuildsTheEtalonsAndLogsBesideTheDataFile) {
  ASSERT_EQ(store().raf_total_cells(), 60);
  ASSERT_EQ(cells_of(1).size(), 60u);
  const std::filesystem::path elsewhere = dir_.path() / "elsewhere";
  std::filesystem::create_directory(elsewhere);
  const std::filesystem::path started_in = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere);
  const int status = store().add_raf(raf(0, 12, 3, 2), 1);
  std::filesystem::current_path(started_in);
  ASSERT_EQ(status, kOk);
  EXPECT_EQ(store().raf_at(2)->id, 5);
  EXPECT_EQ(cells_of(1).size(), 96u);
  EXPECT_EQ(cells_of(2), cells_of(1));
  EXPECT_FALSE(std::filesystem::exists(elsewhere / "ets.txt"));
  const std::vector<unsigned char> log = testing::read_bytes(dir_.file("ets.txt"));
  const std::string lengths_differ = "\xD3\xE6\xE0\xF1, \xF3\xE6\xE0\xF1, \xF3\xE6\xE0\xF1!\n";
  EXPECT_EQ(std::string(log.begin(), log.end()),
            "0\t1\t\t" + lengths_differ + "1\t2\t\t" + lengths_differ);

  // A rebuild that fails takes the new Raf away again.
  Variant lost;
  lost.shape_id = 9;
  lost.id = 3;
  lost.etalon_id = 1;
  ASSERT_EQ(kb().variants().push_back(lost), kOk);
  EXPECT_EQ(store().add_raf(raf(0, 66, 3, 1), 0), kKbNoShape);
  EXPECT_EQ(store().raf_count(), 3u);
  EXPECT_EQ(store().raf_total_cells(), 96);
  EXPECT_EQ(cells_of(1).size(), 96u);
}

TEST_F(DataStoreBuildTest, EditingAShapeRebuildsOrMergesItsEtalons) {
  kb().etalons()[0].cells[0] = 99;
  Shape edited;
  ASSERT_EQ(edited.assign(*store().find_shape(1)), kOk);
  ASSERT_EQ(store().edit_shape(edited, 1, 0), kOk);  // the same ink: nothing rebuilt
  EXPECT_EQ(cells_of(1)[0], 99);
  ASSERT_EQ(store().edit_shape(edited, 1, 1), kOk);  // forced
  EXPECT_EQ(cells_of(1), cells_of(2));

  edited.samples.push_back(test::letter_sample('L', 3));
  ASSERT_EQ(store().edit_shape(edited, 0, 0), kOk);  // merged into one etalon
  ASSERT_EQ(kb().etalons().size(), 1u);
  EXPECT_EQ(kb().etalons()[0].id, 1);  // the last id left is 0
  EXPECT_EQ(kb().etalons()[0].reference_count_, 2);
  EXPECT_EQ(kb().etalons()[0].stats.positive_count, 9);  // three samples now
  EXPECT_EQ(store().find_shape(1)->samples.size(), 3u);
  edited.info.id = 7;
  EXPECT_EQ(store().edit_shape(edited, 0, 0), kShapeMissing);
}

TEST_F(DataStoreBuildTest, TrainingTakesItsSpreadingValuesFromTheSample) {
  Tag4Record sample;
  sample.words[1] = 1;
  sample.words[2] = 0;  // p2 divides
  const std::uint16_t hits[] = {0, 5};
  const std::vector<std::uint8_t> before = cells_of(1);
  EXPECT_EQ(store().update_variant(1, 1, hits, sample), kUndocumented);
  EXPECT_EQ(store().replace_variant(1, 1, hits, sample), kUndocumented);
  EXPECT_EQ(cells_of(1), before);
  sample.words[2] = 1;
  ASSERT_EQ(store().replace_variant(1, 1, hits, sample), kOk);
  EXPECT_EQ(cells_of(1)[5], before[5] + 1);
  EXPECT_EQ(kb().etalons().size(), 2u);
  ASSERT_EQ(store().update_variant(2, 2, hits, sample), kOk);
  EXPECT_EQ(cells_of(2)[0], before[0] + 2);
}

TEST_F(DataStoreTest, ShapesInUseAreNotDeleted) {
  std::uint16_t id = 0;
  ASSERT_EQ(store().add_shape(shape_with_sample(), &id), kOk);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(store().find_shape(1)->info.stats[3], -50);  // computed on adding
  for (int i = 0; i < 2; ++i) ASSERT_EQ(store().add_shape(Shape(), &id), kOk);
  EXPECT_EQ(id, 3);

  add_variant(1, 5, u'a', kNoEtalon, 1);
  ASSERT_EQ(kb().reindex(true), kOk);
  ComplexVariant by_shape = complex_variant(5, u'a');
  by_shape.kind = 0;
  by_shape.reference_id = 2;
  ASSERT_EQ(store().add_complex_variant(by_shape), kOk);
  EXPECT_EQ(store().delete_shape(1), kShapeInUse);
  EXPECT_EQ(store().delete_shape(2), kShapeInUse);
  EXPECT_EQ(store().delete_shape(4), kShapeMissing);
  ASSERT_EQ(store().delete_shape(3), kOk);
  EXPECT_EQ(store().find_shape(3), nullptr);
  EXPECT_EQ(store().shape_count(), 2u);

  Shape replacement = shape_with_sample();
  replacement.info.id = 2;
  replacement.value = 99;
  ASSERT_EQ(store().edit_shape_dummy(replacement), kOk);
  EXPECT_EQ(store().find_shape(2)->samples.size(), 1u);
  EXPECT_EQ(store().find_shape(2)->info.stats[3], 0);  // no statistics on a dummy edit
  replacement.info.id = 3;
  EXPECT_EQ(store().edit_shape_dummy(replacement), kShapeMissing);
}

TEST_F(DataStoreTest, TuplesAndSpecialPairsAreCopiedInAndFilteredByCharset) {
  TuplesTable tuples;
  for (const std::uint32_t charset_id : {4u, 5u, 4u})
    tuples.push_default()->charset_id = charset_id;
  ASSERT_EQ(store().set_tuples(tuples), kOk);
  tuples[0].charset_id = 99;
  EXPECT_EQ(store().tuples()[0].charset_id, 4u);

  SpecPairsTable pairs;
  SpecPairsEntry* entry = pairs.push_default();
  entry->charset_id = 5;
  for (const std::uint16_t key : {2, 5, 9}) entry->groups.push_default()->key = key;
  ASSERT_EQ(store().set_spec_pairs_cs(pairs), kOk);
  EXPECT_EQ(lower_bound_by_id(store().spec_pairs_cs()[0].groups, 5)->key, 5);
  EXPECT_EQ(lower_bound_by_id(store().spec_pairs_cs()[0].groups, 6), nullptr);
  EXPECT_EQ(lower_bound_by_id(store().spec_pairs_cs()[0].groups, 10), nullptr);

  const std::uint32_t active[] = {4, 7};
  PtrArray<const TuplesEntry> active_tuples;
  ASSERT_EQ(collect_active_tuples(active_tuples, active, store()), kOk);
  ASSERT_EQ(active_tuples.size(), 2u);
  EXPECT_EQ(active_tuples[1], &store().tuples()[2]);
  ActiveSpecPairs active_pairs;
  ASSERT_EQ(collect_active_spec_pairs(active_pairs, active, store()), kOk);
  EXPECT_TRUE(active_pairs.cs.empty());
  const std::uint32_t five[] = {5};
  ASSERT_EQ(collect_active_spec_pairs(active_pairs, five, store()), kOk);
  EXPECT_EQ(active_pairs.cs.size(), 1u);
  EXPECT_TRUE(active_pairs.ss.empty() && active_pairs.sc.empty() && active_pairs.cc.empty());
}

}  // namespace
}  // namespace inkrec
