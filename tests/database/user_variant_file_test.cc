#include "engine/database/user_variant_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/file_limits.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

std::string text_of(const std::string& path) {
  const std::vector<unsigned char> bytes = testing::read_bytes(path);
  return {bytes.begin(), bytes.end()};
}

class UserVariantFileTest : public ::testing::Test {
 protected:
  UserVariantFileTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    for (std::uint16_t id = 1; id <= 3; ++id) {
      Variant variant;
      variant.id = id;
      variant.etalon_id = kNoEtalon;
      variant.special_recognition = kSpecialRecognition;
      store_->knowledge_base().variants().push_back(variant);
      ComplexVariant complex{};
      complex.set = 5;
      store_->add_complex_variant(complex);
    }
    store_->knowledge_base().reindex(false);
  }

  std::uint32_t use_of_variant(std::uint16_t id) { return store_->find_variant(id)->idUse; }
  std::uint32_t use_of_complex(std::uint16_t id) { return store_->find_complex_variant(id)->use; }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

TEST_F(UserVariantFileTest, OnlyChoicesOtherThanOftenAreWrittenAndReadBack) {
  const UserVariantFile file(dir_.wide_file("").c_str(), true);
  ASSERT_EQ(file.write(*store_), kOk);
  EXPECT_EQ(text_of(dir_.file("user.txt")), "");

  Variant rare = *store_->find_variant(2);
  rare.idUse = 1;
  ASSERT_EQ(store_->set_variant(rare), kOk);
  Variant never = *store_->find_variant(3);
  never.idUse = 2;
  ASSERT_EQ(store_->set_variant(never), kOk);
  ComplexVariant complex = *store_->find_complex_variant(1);
  complex.use = 2;
  ASSERT_EQ(store_->set_complex_variant(complex), kOk);
  const auto names_before = testing::names_in(dir_.path());
  ASSERT_EQ(file.write(*store_), kOk);
  EXPECT_EQ(text_of(dir_.file("user.txt")), "0 2 1\n0 3 2\n1 1 2\n");
  EXPECT_EQ(testing::names_in(dir_.path()), names_before);

  for (std::uint16_t id = 1; id <= 3; ++id) {
    Variant often = *store_->find_variant(id);
    often.idUse = 0;
    store_->set_variant(often);
  }
  complex.use = 0;
  store_->set_complex_variant(complex);
  ASSERT_EQ(file.read(*store_), kOk);
  EXPECT_EQ(use_of_variant(1), 0u);
  EXPECT_EQ(use_of_variant(2), 1u);
  EXPECT_EQ(use_of_variant(3), 2u);
  EXPECT_EQ(use_of_complex(1), 2u);
}

TEST_F(UserVariantFileTest, MalformedLinesAreSkipped) {
  const std::string long_line(1000, '7');
  testing::write_bytes(dir_.file("choices.txt"), [&] {
    const std::string text =
        "0 1 1\nrubbish\n0 2\n\n" + long_line +
        "\n0 99 2\n5 2 1\n0 70000 1\n0 1 -5\n0 2 -1\n1 2 -2147483648\n0 3 2";
    return std::vector<unsigned char>(text.begin(), text.end());
  }());
  const UserVariantFile file(dir_.file("choices.txt").c_str(), false);
  ASSERT_EQ(file.read(*store_), kOk);
  EXPECT_EQ(use_of_variant(1), 1u);  // a negative use class names none
  EXPECT_EQ(use_of_variant(2), 0u);
  EXPECT_EQ(use_of_variant(3), 2u);  // the last line needs no line break
  EXPECT_EQ(use_of_complex(2), 1u);  // any kind but 0 is a complex variant
}

TEST_F(UserVariantFileTest, MissingOrUnwritableFilesGiveMinusOne) {
  const UserVariantFile missing(dir_.file("none/user.txt").c_str(), false);
  EXPECT_EQ(missing.read(*store_), kOutOfMemory);
  EXPECT_EQ(missing.write(*store_), kOutOfMemory);
  const UserVariantFile empty(u"", false);
  EXPECT_EQ(empty.read(*store_), kOk);
  EXPECT_EQ(empty.write(*store_), kOk);
}

}  // namespace
}  // namespace inkrec
