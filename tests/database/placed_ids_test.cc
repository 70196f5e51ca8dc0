// Records placed under their own ids: a builder's way of filling a store. An
// id is taken only above every id of its table, so the tables keep
// ascending and the automatic adds go on from the largest.
#include <gtest/gtest.h>

#include <cstdint>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/feature_store.h"
#include "tests/support/small_database.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

class PlacedIdsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::write_empty_data_file(dir_.file("db.dt"));
    store_ = testing::open_feature_store(dir_.file("db.dt"));
    ASSERT_EQ(store_->place_raf(Raf{0, 19, 24, 3, 1, 0}), kOk);
  }

  int place_shape(std::uint16_t id) {
    Shape shape = testing::shape_of("s", 2);
    shape.info.id = id;
    return store_->place_shape(shape);
  }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

TEST_F(PlacedIdsTest, EachTableTakesOnlyIdsAboveItsLargest) {
  ASSERT_EQ(place_shape(849), kOk);
  ASSERT_EQ(place_shape(12001), kOk);
  Variant variant = testing::variant(484, 38, u'.', 849, 0);
  ASSERT_EQ(store_->place_variant(variant), kOk);
  ComplexVariant complex = testing::complex_variant(5, 0, 0, u'i', 849, 12001);
  complex.id = 900;
  ASSERT_EQ(store_->place_complex_variant(complex), kOk);

  const struct {
    const char* what;
    int status;
  } refused[] = {
      {"shape id 0", place_shape(0)},
      {"shape id below", place_shape(900)},
      {"shape id taken", place_shape(12001)},
      {"variant id taken", store_->place_variant(variant)},
      {"variant id 0", store_->place_variant(testing::variant(0, 38, u'.', 849, 0))},
      {"complex id taken", store_->place_complex_variant(complex)},
      {"raf id below", store_->place_raf(Raf{0, 4, 6, 4, 1, 0})},
  };
  for (const auto& r : refused) EXPECT_EQ(r.status, kBadArgument) << r.what;

  EXPECT_EQ(store_->shape_count(), 2u);
  EXPECT_NE(store_->find_shape(849), nullptr);
  ASSERT_NE(store_->find_variant(484), nullptr);
  // A placed variant's etalon takes the variant's id, so it stays clear of
  // the low etalon ids the letter rules class by.
  ASSERT_NE(store_->find_etalon_by_variant(484), nullptr);
  EXPECT_EQ(store_->find_variant(484)->etalon_id, 484);
  EXPECT_NE(store_->find_complex_variant(900), nullptr);
  // The automatic adds carry on above the placed ids.
  std::uint16_t id = 0;
  ASSERT_EQ(store_->add_shape(testing::shape_of("t", 1), &id), kOk);
  EXPECT_EQ(id, 12002);
  ASSERT_EQ(store_->add_variant(testing::variant(0, 38, u',', 849, 0)), kOk);
  EXPECT_EQ(store_->variant_at(1)->id, 485);
  EXPECT_EQ(store_->variant_at(1)->etalon_id, 485);
  ASSERT_EQ(store_->add_raf(Raf{0, 0, 4, 1, 1, 0}, &id), kOk);
  EXPECT_EQ(id, 20);
  EXPECT_EQ(store_->raf_at(1)->offset, 72);
}

}  // namespace
}  // namespace inkrec
