// The readable listing of the database: a golden file for a small database
// with a record or more in every table, the same listing after a save and a
// reload, and the statuses of a listing that cannot be written.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/small_database.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;

class TextDumpTest : public ::testing::Test {
 protected:
  TextDumpTest() { testing::write_empty_data_file(path_); }

  std::unique_ptr<DataStore> open_store() {
    auto store = std::make_unique<DataStore>(path_.c_str(), 1, 0, 0);
    EXPECT_EQ(store->status(), kOk);
    return store;
  }

  testing::TempDir dir_;
  std::string path_ = dir_.file("qlmain.dt");
};

TEST_F(TextDumpTest, SmallDatabaseMatchesTheGoldenListingAlsoAfterReload) {
  std::unique_ptr<DataStore> store = open_store();
  ASSERT_NO_FATAL_FAILURE(testing::fill_small_database(*store));
  const std::u16string first = dir_.wide_file("first.txt");
  ASSERT_EQ(store->save_text_w(first.c_str()), kOk);
  EXPECT_EQ(read_bytes(dir_.file("first.txt")),
            read_bytes(INKREC_TEST_DATA_DIR "/database_dump.txt"));

  ASSERT_EQ(store->save(), kOk);
  store = open_store();
  ASSERT_EQ(store->save_text(dir_.file("second.txt").c_str()), kOk);
  EXPECT_EQ(read_bytes(dir_.file("second.txt")), read_bytes(dir_.file("first.txt")));
}

TEST_F(TextDumpTest, OnlyTheNonEmptyTablesAreListed) {
  std::unique_ptr<DataStore> store = open_store();
  ASSERT_EQ(store->save_text(dir_.file("empty.txt").c_str()), kOk);
  const std::string title = to_code_page_1251(u"Структуры дат-файла\n\n");
  const std::vector<unsigned char> empty = read_bytes(dir_.file("empty.txt"));
  EXPECT_EQ(std::string(empty.begin(), empty.end()), title);

  ASSERT_EQ(store->add_charset(testing::charset(7, u"Ελληνικά", u"gre", 0)), kOk);
  ASSERT_EQ(store->save_text(dir_.file("charsets.txt").c_str()), kOk);
  const std::vector<unsigned char> charsets = read_bytes(dir_.file("charsets.txt"));
  // Characters outside the code page are written as '?'.
  EXPECT_EQ(std::string(charsets.begin(), charsets.end()),
            title + to_code_page_1251(u"\n Charset'ы.\n  Количество: 1\n") +
                "{????????, gre, ID:7, direct:0, ortho:1}\n\n");
}

TEST_F(TextDumpTest, ListingThatCannotBeWrittenIsAStatus) {
  std::unique_ptr<DataStore> store = open_store();
  EXPECT_EQ(store->save_text(dir_.file("missing/dump.txt").c_str()), kDataFileOpen);
  EXPECT_EQ(store->save_text(nullptr), kBadArgument);
  EXPECT_EQ(store->save_text_w(nullptr), kBadArgument);
}

}  // namespace
}  // namespace inkrec
