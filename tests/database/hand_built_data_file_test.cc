// Data files built byte by byte from the stored layouts (not from the
// engine's records or writer), as another writer of the format may leave
// them: ids out of order, counts and byte sizes that do not match, etalons
// shorter than the Raf table, a file cut at a chunk, a charset symbol whose
// symbol is missing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/error_text.h"
#include "engine/foundation/status.h"
#include "engine/kernel/crman.h"
#include "engine/kernel/kernel.h"
#include "inkrec/inkrec.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;
using testing::write_bytes;
using Bytes = std::vector<unsigned char>;

void put8(Bytes& out, std::uint32_t v) { out.push_back(static_cast<unsigned char>(v)); }
void put16(Bytes& out, std::uint32_t v) {
  put8(out, v & 0xFF);
  put8(out, (v >> 8) & 0xFF);
}
void put32(Bytes& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
void put_zeros(Bytes& out, std::size_t n) { out.insert(out.end(), n, 0); }

constexpr std::uint32_t kEnglish = 5;
constexpr std::uint16_t kLetterA = u'a';
constexpr std::uint32_t kRafCells = 4;  // one Raf of 2 x 2 cells

// What the hand-built file holds; every field can be bent out of shape.
struct Recipe {
  std::vector<std::uint16_t> variant_ids = {1, 2};
  std::vector<std::uint16_t> etalon_ids = {1, 2};  // variant i uses etalon i
  std::vector<std::uint16_t> shape_ids = {1};      // the variants use the first
  std::uint32_t knowledge_base_count = 4;          // variants + etalons
  std::uint32_t raf_byte_size = 8;                 // count x 8
  std::uint32_t etalon_cells = kRafCells;
  std::uint16_t charset_symbol = kLetterA;
  std::uint16_t last_slot = 5;  // chunks after it are left out, as is the terminator
};

void chunk_header(Bytes& out, std::uint16_t slot, std::uint16_t record_size,
                  std::uint32_t byte_size, std::uint32_t count) {
  put16(out, slot);
  put16(out, record_size);
  put32(out, byte_size);
  put32(out, count);
}

Bytes charset_chunk() {
  Bytes out;
  chunk_header(out, 0, 88, 88, 1);
  put32(out, kEnglish);
  put32(out, 1);  // ortho
  for (const char16_t unit : std::u16string(u"English")) put16(out, unit);
  put_zeros(out, 60 - 14);
  for (const char16_t unit : std::u16string(u"eng")) put16(out, unit);
  put8(out, 0);  // direct
  put_zeros(out, 13);
  return out;
}

Bytes symbol_chunk() {
  Bytes out;
  chunk_header(out, 1, 16, 16, 1);
  put32(out, 0x3);  // sides
  put16(out, kLetterA);
  put16(out, 0);
  put16(out, 0);
  put8(out, 1);  // def_num
  put8(out, 0);  // control
  put_zeros(out, 4);
  return out;
}

Bytes charset_symbol_chunk(const Recipe& recipe) {
  Bytes out;
  chunk_header(out, 2, 16, 16, 1);
  put32(out, kEnglish);
  put16(out, recipe.charset_symbol);
  put_zeros(out, 3 + 7);
  return out;
}

void variant_record(Bytes& out, std::uint16_t id, std::uint16_t shape_id, std::uint16_t etalon_id) {
  put32(out, kEnglish);  // idSet
  put32(out, 0);         // idUse: often
  put16(out, id);
  put16(out, shape_id);
  put16(out, kLetterA);  // menuc
  put8(out, 0);
  put8(out, 1);
  put16(out, etalon_id);
  put8(out, 0);  // not special
  put_zeros(out, 1 + 2 + 2 + 4 + 6 + 1 + 1);
}

void etalon_record(Bytes& out, std::uint16_t id, std::uint32_t cells) {
  put16(out, id);
  put16(out, 1);  // reference count
  put32(out, 0);  // norm
  put16(out, 1);  // positive count
  put16(out, 0);
  put8(out, 40);  // max level
  put8(out, 32);  // min level
  put16(out, 3);
  put16(out, 3);
  put16(out, 0);
  put32(out, 1);  // cell list
  put32(out, cells);
  for (std::uint32_t i = 0; i < cells; ++i) put8(out, 32 + 2 * i);
  put32(out, 5);  // no corrections
  put32(out, 0);
}

Bytes knowledge_base_chunk(const Recipe& recipe) {
  Bytes out;
  chunk_header(out, 3, 1, 1, recipe.knowledge_base_count);
  put32(out, 0);
  put32(out, static_cast<std::uint32_t>(recipe.variant_ids.size()));
  for (std::size_t i = 0; i < recipe.variant_ids.size(); ++i) {
    variant_record(out, recipe.variant_ids[i], recipe.shape_ids[0], recipe.etalon_ids[i]);
  }
  put32(out, 2);
  put32(out, static_cast<std::uint32_t>(recipe.etalon_ids.size()));
  for (const std::uint16_t id : recipe.etalon_ids) etalon_record(out, id, recipe.etalon_cells);
  return out;
}

// One sample of one stroke of six points going down and right.
void sample_record(Bytes& out) {
  put32(out, 2);
  put32(out, 1);
  put16(out, 10);  // guides
  put16(out, 60);
  put16(out, 0);
  put8(out, 0);
  put32(out, 1);
  put32(out, 6);
  put32(out, 20);
  put32(out, 10);
  for (int i = 0; i < 5; ++i) {
    put8(out, 2);
    put8(out, 10);
  }
}

Bytes shape_chunk(const Recipe& recipe) {
  Bytes out;
  chunk_header(out, 4, 1, 1, static_cast<std::uint32_t>(recipe.shape_ids.size()));
  for (const std::uint16_t id : recipe.shape_ids) {
    put32(out, 100);
    put32(out, 1);
    put16(out, id);
    put8(out, 'a');
    put_zeros(out, 13 + 4 + 2 + 10);
    sample_record(out);
  }
  return out;
}

Bytes raf_chunk(const Recipe& recipe) {
  Bytes out;
  chunk_header(out, 5, 8, recipe.raf_byte_size, 1);
  put16(out, 0);  // first cell
  put16(out, 1);  // id
  put8(out, 2);   // nx
  put8(out, 2);   // ny
  put8(out, 3);   // weight
  put8(out, 0);
  return out;
}

Bytes data_file(const Recipe& recipe) {
  Bytes out = {'g', 's', 't', 0, 0x03, 0x01, 0, 0};
  const Bytes chunks[] = {charset_chunk(),
                          symbol_chunk(),
                          charset_symbol_chunk(recipe),
                          knowledge_base_chunk(recipe),
                          shape_chunk(recipe),
                          raf_chunk(recipe)};
  for (std::uint16_t slot = 0; slot <= recipe.last_slot; ++slot) {
    out.insert(out.end(), chunks[slot].begin(), chunks[slot].end());
  }
  if (recipe.last_slot == 5) {
    chunk_header(out, 0xFFFF, 0, 0, 0);
    put32(out, 0xFFFFFFFF);
  }
  return out;
}

class HandBuiltDataFileTest : public ::testing::Test {
 protected:
  // Loads the recipe's file into store_; its status.
  int load(const Recipe& recipe) {
    write_bytes(path_, data_file(recipe));
    store_ = std::make_unique<DataStore>(path_.c_str(), 1, 0, 0);
    return store_->status();
  }

  // The self-test's result, with its report in report_.
  int self_test() {
    const int result = store_->self_test(dir_.file("report.txt").c_str());
    const Bytes bytes = read_bytes(dir_.file("report.txt"));
    report_.assign(bytes.begin(), bytes.end());
    return result;
  }

  bool reported(std::u16string_view text) const {
    return report_.find(to_code_page_1251(text)) != std::string::npos;
  }

  testing::TempDir dir_;
  std::string path_ = dir_.file("qlmain.dt");
  std::unique_ptr<DataStore> store_;
  std::string report_;
};

TEST_F(HandBuiltDataFileTest, SoundFileLoadsAndPasses) {
  ASSERT_EQ(load(Recipe{}), kOk);
  EXPECT_EQ(store_->variant_count(), 2u);
  EXPECT_EQ(store_->raf_total_cells(), kRafCells);
  EXPECT_NE(store_->etalon_at(1), nullptr);
  EXPECT_EQ(self_test(), 1) << report_;
}

// Files that earlier versions refused with 3007 or 3008: each loads, and
// the self-test names what is wrong where something is.
TEST_F(HandBuiltDataFileTest, FormerlyRefusedFilesLoad) {
  struct Case {
    const char* what;
    Recipe recipe;
    std::u16string finding;  // empty: the self-test passes
  };
  std::vector<Case> cases;
  Case variants{"variant ids descend", {}, u"Элемент 0 имеет ID 3, а с индексом 1 имеет ID 2\n"};
  variants.recipe.variant_ids = {3, 2};
  cases.push_back(variants);
  Case etalons{"etalon ids descend", {}, u"Элемент 0 имеет ID 2, а с индексом 1 имеет ID 1\n"};
  etalons.recipe.etalon_ids = {2, 1};
  cases.push_back(etalons);
  Case shapes{"shape ids descend", {}, u"Элемент 0 имеет ID 5, а с индексом 1 имеет ID 2\n"};
  shapes.recipe.shape_ids = {5, 2};
  cases.push_back(shapes);
  Case count{"knowledge-base count", {}, u""};
  count.recipe.knowledge_base_count = 99;
  cases.push_back(count);
  Case byte_size{"Raf byte size below count x 8", {}, u""};
  byte_size.recipe.raf_byte_size = 1;
  cases.push_back(byte_size);
  Case short_etalons{"etalons shorter than the Raf table",
                     {},
                     u"Вариант с индексом 0 имеет ID 1 и ссылается на эталон с ID 1, у которого "
                     u"3 ячеек, а в таблице рафов 4\n"};
  short_etalons.recipe.etalon_cells = 3;
  cases.push_back(short_etalons);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(load(c.recipe), kOk);
    EXPECT_EQ(store_->variant_count(), c.recipe.variant_ids.size());
    EXPECT_EQ(store_->shape_count(), c.recipe.shape_ids.size());
    EXPECT_EQ(store_->raf_count(), 1u);
    for (const std::uint16_t id : c.recipe.variant_ids) {
      ASSERT_NE(store_->find_variant(id), nullptr);
      EXPECT_NE(store_->find_etalon_by_variant(id), nullptr);
    }
    for (const std::uint16_t id : c.recipe.shape_ids) EXPECT_NE(store_->find_shape(id), nullptr);
    EXPECT_EQ(self_test(), c.finding.empty() ? 1 : 0);
    if (!c.finding.empty()) {
      EXPECT_TRUE(reported(c.finding)) << report_;
    }
  }
}

// New records never repeat an id of a table read out of order.
TEST_F(HandBuiltDataFileTest, NewIdsFollowTheLargestOfATableReadOutOfOrder) {
  Recipe recipe;
  recipe.variant_ids = {3, 2};
  recipe.shape_ids = {5, 2};
  ASSERT_EQ(load(recipe), kOk);
  std::uint16_t shape_id = 0;
  ASSERT_EQ(store_->add_shape(*store_->find_shape(2), &shape_id), kOk);
  EXPECT_EQ(shape_id, 6);
  Variant record = *store_->find_variant(2);
  record.shape_id = 5;
  ASSERT_EQ(store_->add_variant_with_base(record, 2), kOk);
  EXPECT_EQ(store_->variant_at(2)->id, 4);
}

TEST_F(HandBuiltDataFileTest, RecognitionSkipsAnEtalonThatDoesNotFitTheRafTable) {
  Recipe recipe;
  recipe.etalon_cells = 3;
  write_bytes(path_, data_file(recipe));
  const std::u16string wide = dir_.wide_file("qlmain.dt");
  ASSERT_EQ(crInitCrMan(wide.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  const std::uint32_t english = kEnglish;
  ASSERT_EQ(crSetActiveCharSets(&english, 1), kOk);
  Kernel* kernel = crman_if_exists()->active_kernel();
  EXPECT_EQ(kernel->active_variants().size(), 0u);
  EXPECT_EQ(crman_if_exists()->data_store()->etalon_at(0), nullptr);
  crFreeCrMan();

  write_bytes(path_, data_file(Recipe{}));
  ASSERT_EQ(crInitCrMan(wide.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  ASSERT_EQ(crSetActiveCharSets(&english, 1), kOk);
  EXPECT_EQ(crman_if_exists()->active_kernel()->active_variants().size(), 2u);
  crFreeCrMan();
}

// A file cut after a whole chunk loads, as a file without a terminator
// does; what the missing tables leave behind is named by the self-test.
TEST_F(HandBuiltDataFileTest, FileCutAtAChunkLoadsAndTheSelfTestNamesWhatIsMissing) {
  Recipe cut;
  cut.last_slot = 3;  // no shapes, no Rafs
  ASSERT_EQ(load(cut), kOk);
  EXPECT_EQ(store_->variant_count(), 2u);
  EXPECT_EQ(store_->shape_count(), 0u);
  EXPECT_EQ(store_->etalon_at(0), nullptr);
  EXPECT_EQ(self_test(), 0);
  EXPECT_TRUE(
      reported(u"Вариант с индексом 0 имеет ID 1 и ссылается на отсутствующий шейп с ID 1\n"));
  EXPECT_TRUE(reported(u"у которого 4 ячеек, а в таблице рафов 0\n"));
}

// A charset symbol naming a symbol the file lacks would make its charset
// fail only when it is made active; the load refuses it with its own
// status, keeps every table read, and the self-test names the row.
TEST_F(HandBuiltDataFileTest, CharsetSymbolNamingAMissingSymbolIsRefused) {
  Recipe recipe;
  recipe.charset_symbol = u'b';
  EXPECT_EQ(load(recipe), kCharSetSymbReferenceMissing);
  EXPECT_EQ(store_->charset_symb_count(), 1u);
  EXPECT_EQ(store_->variant_count(), 2u);
  EXPECT_EQ(self_test(), 0);
  EXPECT_TRUE(
      reported(u"Символ чарсета с индексом 0 ссылается на отсутствующий символ с кодом 98\n"))
      << report_;

  char16_t text[kErrorTextBufferUnits] = {};
  ASSERT_EQ(get_error_text(kCharSetSymbReferenceMissing, text), kOk);
  EXPECT_EQ(std::u16string(text), u"Символ чарсета ссылается на отсутствующий чарсет или символ.");

  const std::u16string wide = dir_.wide_file("qlmain.dt");
  EXPECT_EQ(crInitCrMan(wide.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr),
            kCharSetSymbReferenceMissing);
  EXPECT_EQ(crman_if_exists()->data_store(), nullptr);
  crFreeCrMan();
}

}  // namespace
}  // namespace inkrec
