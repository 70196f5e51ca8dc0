#include "engine/database/knowledge_base.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/database/knowledge_base_io.h"
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

  void add_etalon(std::uint16_t id, std::uint32_t cells) {
    Etalon* etalon = base_.etalons().push_default();
    etalon->id = id;
    for (std::uint32_t i = 0; i < cells; ++i) etalon->cells.push_back(40);
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

TEST_F(KnowledgeBaseFileTest, VariantsAndEtalonsRoundTripWithoutTheLastVariantByte) {
  Variant variant;
  variant.id = 4;
  variant.etalon_id = 2;
  variant.aux_byte5 = 7;
  ASSERT_EQ(base_.variants().push_back(variant), kOk);
  add_etalon(2, 0);
  ASSERT_TRUE(read(written()));
  ASSERT_EQ(loaded_.variants().size(), 1u);
  EXPECT_EQ(loaded_.variants()[0].aux_byte5, 0);
  variant.aux_byte5 = 0;
  EXPECT_EQ(loaded_.variants()[0], variant);
  ASSERT_EQ(loaded_.etalons().size(), 1u);
  EXPECT_TRUE(loaded_.etalons()[0].cells.empty());
  EXPECT_EQ(loaded_.find_etalon(4), &loaded_.etalons()[0]);
  EXPECT_EQ(loaded_.find_etalon(0x10004), &loaded_.etalons()[0]);  // low 16 bits
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
  EXPECT_FALSE(read(written()));  // ids must ascend

  base_.etalons().clear();
  Variant orphan;
  orphan.id = 1;
  orphan.etalon_id = 9;
  ASSERT_EQ(base_.variants().push_back(orphan), kOk);
  EXPECT_FALSE(read(written()));  // a normal variant without its etalon
}

TEST(KnowledgeBaseTest, DeletingVariantsReleasesTheirEtalons) {
  ShapeTable shapes;
  DynArray<Raf> rafs;
  KnowledgeBase base(shapes, rafs);
  Etalon* etalon = base.etalons().push_default();
  etalon->id = 1;
  etalon->reference_count_ = 2;
  for (const std::uint16_t id : {1, 2}) {
    Variant variant;
    variant.id = id;
    variant.etalon_id = 1;
    ASSERT_EQ(base.variants().push_back(variant), kOk);
  }
  EXPECT_EQ(base.delete_variant(1), kKbNoEtalon);  // not indexed yet
  ASSERT_EQ(base.reindex(true), kOk);
  ASSERT_EQ(base.delete_variant(1), kOk);
  ASSERT_EQ(base.etalons().size(), 1u);
  EXPECT_EQ(base.etalons()[0].reference_count_, 1);
  EXPECT_EQ(base.delete_variant(1), kKbVariantNotFound);
  base.etalons()[0].id = 5;  // the index now names another etalon
  EXPECT_EQ(base.delete_variant(2), kKbBrokenIndex);
  base.etalons()[0].id = 1;
  ASSERT_EQ(base.delete_variant(2), kOk);
  EXPECT_TRUE(base.etalons().empty());
  EXPECT_TRUE(base.variants().empty());
}

TEST(KnowledgeBaseTest, SettingAVariantKeepsItsShapeAndEtalon) {
  ShapeTable shapes;
  DynArray<Raf> rafs;
  KnowledgeBase base(shapes, rafs);
  Etalon* etalon = base.etalons().push_default();
  etalon->id = 1;
  etalon->reference_count_ = 2;
  for (const std::uint16_t id : {1, 2, 3}) {
    Variant variant;
    variant.id = id;
    variant.shape_id = 7;
    variant.etalon_id = id == 3 ? kNoEtalon : 1;
    variant.special_recognition = id == 3 ? kSpecialRecognition : 0;
    ASSERT_EQ(base.variants().push_back(variant), kOk);
  }
  ASSERT_EQ(base.reindex(true), kOk);

  Variant record = base.variants()[0];
  record.idUse = 2;
  record.menuc = u'q';
  ASSERT_EQ(base.set_variant(record), kOk);
  EXPECT_EQ(*base.find_variant(1), record);
  record.shape_id = 8;
  EXPECT_EQ(base.set_variant(record), kKbVariantTooDifferent);
  record.shape_id = 7;
  record.id = 9;
  EXPECT_EQ(base.set_variant(record), kKbVariantNotFound);

  // A special variant cannot become normal without an etalon of its own.
  Variant special = base.variants()[2];
  special.special_recognition = 0;
  EXPECT_EQ(base.set_variant(special), kKbVariantTooDifferent);
  EXPECT_TRUE(base.find_variant(3)->is_special());

  // A normal variant made special lets go of its etalon.
  for (const std::uint16_t id : {1, 2}) {
    Variant made_special = *base.find_variant(id);
    made_special.special_recognition = kSpecialRecognition;
    ASSERT_EQ(base.set_variant(made_special), kOk);
    EXPECT_EQ(base.find_variant(id)->etalon_id, kNoEtalon);
  }
  EXPECT_TRUE(base.etalons().empty());
}

}  // namespace
}  // namespace inkrec
