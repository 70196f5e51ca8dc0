#include "tests/support/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/status.h"
#include "tests/support/file_limits.h"
#include "engine/kernel/crman.h"
#include "inkrec/inkrec.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;
using Bytes = std::vector<unsigned char>;

template <typename T>
bool same(const DynArray<T>& a, const DynArray<T>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

template <typename Record>
bool same_bytes(const Record* a, const Record* b) {
  return a != nullptr && b != nullptr && std::memcmp(a, b, sizeof(Record)) == 0;
}

CharSet charset(std::uint32_t id, const char16_t* name) {
  CharSet record{};
  record.id = id;
  record.ortho = 1;
  std::memcpy(record.name, name, std::char_traits<char16_t>::length(name) * 2);
  std::memcpy(record.word_list_code, u"eng", 6);
  record.reserved[12] = 0x5A;
  return record;
}

Symb symb(std::uint16_t code) {
  Symb record{};
  record.code = code;
  record.sides = kSideTop | kSideRight;
  record.def_num = 3;
  return record;
}

Shape shape_with_samples(const char* name, int samples) {
  Shape shape;
  std::memcpy(shape.info.name, name, std::strlen(name));
  shape.info.min_second_count = 0x77;
  for (int s = 0; s < samples; ++s) {
    Sample* sample = shape.samples.push_default();
    sample->first_guide = 10;
    sample->second_guide = 50;
    sample->value16 = 0xBEEF;
    Stroke* stroke = sample->strokes.push_default();
    for (int i = 0; i < 20; ++i) {
      stroke->push_back({static_cast<std::int16_t>(i * 3 + s), static_cast<std::int16_t>(20 + i)});
    }
    sample->strokes.push_default();
  }
  return shape;
}

// Fills every table of a store through its operations; the knowledge base,
// whose adding operations build etalons from shapes, gets its records
// directly.
void fill(DataStore& store) {
  ASSERT_EQ(store.add_charset(charset(5, u"English")), kOk);
  ASSERT_EQ(store.add_charset(charset(4, u"Русский")), kOk);
  for (const std::uint16_t code : {u'a', u'b', u'ж'}) ASSERT_EQ(store.add_symb(symb(code)), kOk);
  ASSERT_EQ(store.add_charset_symb({5, u'a', {1, 2, 3}, {}}), kOk);
  ASSERT_EQ(store.add_charset_symb({5, u'b', {}, {}}), kOk);
  ASSERT_EQ(store.add_charset_symb({4, u'ж', {}, {}}), kOk);
  ASSERT_EQ(store.add_raf({7, 0, 2, 3, 9, 0xEE}), kOk);
  ASSERT_EQ(store.add_raf({0, 0, 4, 1, 2, 0}), kOk);
  std::uint16_t shape_id = 0;
  ASSERT_EQ(store.add_shape(shape_with_samples("round", 2), &shape_id), kOk);
  ASSERT_EQ(store.add_shape(shape_with_samples("tall", 1)), kOk);
  ComplexVariant complex{};
  complex.set = 5;
  complex.menuc = u'b';
  complex.reference_id = 2;
  complex.carried[8] = 1;
  ASSERT_EQ(store.add_complex_variant(complex), kOk);

  TuplesTable tuples;
  TuplesEntry* entry = tuples.push_default();
  entry->charset_id = 5;
  Tuple* tuple = entry->tuples.push_default();
  tuple->rule = 84;
  tuple->complex[1] = 1;
  tuple->lists[0].push_back(1);
  tuple->lists[2].push_back(2);
  tuple->lists[2].push_back(3);
  ASSERT_EQ(store.set_tuples(tuples), kOk);

  SpecPairsTable pairs;
  SpecPairsEntry* language = pairs.push_default();
  language->charset_id = 4;
  SpecPairGroup* group = language->groups.push_default();
  group->key = 1;
  group->pairs.push_back({2, -1, 300});
  group->pairs.push_default();
  ASSERT_EQ(store.set_spec_pairs_ss(pairs), kOk);
  pairs[0].charset_id = 5;
  ASSERT_EQ(store.set_spec_pairs_cc(pairs), kOk);

  KnowledgeBase& base = store.knowledge_base();
  Etalon* etalon = base.etalons().push_default();
  etalon->id = 1;
  etalon->reference_count_ = 2;
  etalon->stats.positive_count = 3;
  // One cell for each of the 17 cells of the Raf table.
  for (std::uint8_t i = 0; i < 17; ++i) etalon->cells.push_back(static_cast<std::uint8_t>(32 + i));
  Tag4Record* correction = etalon->corrections.push_default();
  correction->words[0] = 1;
  correction->strokes.push_default()->push_back({1, 2});
  correction->items.push_back(4);
  for (const std::uint16_t id : {1, 2, 3}) {
    Variant variant;
    variant.idSet = 5;
    variant.id = id;
    variant.shape_id = shape_id;
    variant.menuc = u'a';
    variant.etalon_id = id == 3 ? kNoEtalon : 1;
    variant.special_recognition = id == 3 ? kSpecialRecognition : 0;
    variant.aux_codes[2] = 0x1234;
    ASSERT_EQ(base.variants().push_back(variant), kOk);
  }
  ASSERT_EQ(base.reindex(true), kOk);
}

template <typename Record>
void expect_same_fixed_table(std::uint32_t count, std::uint32_t other_count,
                             const Record* (DataStore::*at)(std::uint32_t) const,
                             const DataStore& a, const DataStore& b) {
  ASSERT_EQ(count, other_count);
  for (std::uint32_t i = 0; i < count; ++i) EXPECT_TRUE(same_bytes((a.*at)(i), (b.*at)(i))) << i;
}

void expect_same_store(const DataStore& a, const DataStore& b) {
  expect_same_fixed_table(a.charset_count(), b.charset_count(), &DataStore::charset_at, a, b);
  expect_same_fixed_table(a.symb_count(), b.symb_count(), &DataStore::symb_at, a, b);
  expect_same_fixed_table(a.charset_symb_count(), b.charset_symb_count(),
                          &DataStore::charset_symb_at, a, b);
  expect_same_fixed_table(a.raf_count(), b.raf_count(), &DataStore::raf_at, a, b);
  expect_same_fixed_table(a.complex_variant_count(), b.complex_variant_count(),
                          &DataStore::complex_variant_at, a, b);
  ASSERT_EQ(a.shape_count(), b.shape_count());
  for (std::uint32_t i = 0; i < a.shape_count(); ++i) {
    EXPECT_TRUE(same_samples(a.shape_at(i)->samples, b.shape_at(i)->samples));
    EXPECT_EQ(a.shape_at(i)->info, b.shape_at(i)->info);
  }
  EXPECT_TRUE(same(a.tuples(), b.tuples()));
  EXPECT_TRUE(same(a.spec_pairs_ss(), b.spec_pairs_ss()));
  EXPECT_TRUE(same(a.spec_pairs_sc(), b.spec_pairs_sc()));
  EXPECT_TRUE(same(a.spec_pairs_cs(), b.spec_pairs_cs()));
  EXPECT_TRUE(same(a.spec_pairs_cc(), b.spec_pairs_cc()));
  EXPECT_TRUE(same(a.knowledge_base().variants(), b.knowledge_base().variants()));
  EXPECT_TRUE(same(a.knowledge_base().etalons(), b.knowledge_base().etalons()));
}

class DataFileTest : public ::testing::Test {
 protected:
  DataFileTest() { testing::write_empty_data_file(path_); }

  DataStore open_store(int access_class = 1, int kind = 0) const {
    return DataStore(path_.c_str(), access_class, 0, kind);
  }

  TempDir dir_;
  std::string path_ = dir_.file("qlmain.dt");
};

Bytes file_header(std::uint16_t version = kDataFileVersion) {
  return {'g',
          's',
          't',
          0,
          static_cast<unsigned char>(version),
          static_cast<unsigned char>(version >> 8),
          0,
          0};
}

void append_u16(Bytes& bytes, std::uint16_t v) {
  bytes.push_back(static_cast<unsigned char>(v));
  bytes.push_back(static_cast<unsigned char>(v >> 8));
}

void append_u32(Bytes& bytes, std::uint32_t v) {
  append_u16(bytes, static_cast<std::uint16_t>(v));
  append_u16(bytes, static_cast<std::uint16_t>(v >> 16));
}

void append_chunk(Bytes& bytes, std::uint16_t slot, std::uint16_t record_size,
                  std::uint32_t byte_size, std::uint32_t count, const Bytes& payload = {}) {
  append_u16(bytes, slot);
  append_u16(bytes, record_size);
  append_u32(bytes, byte_size);
  append_u32(bytes, count);
  bytes.insert(bytes.end(), payload.begin(), payload.end());
}

void append_terminator(Bytes& bytes) {
  append_chunk(bytes, kEndSlot, 0, 0, 0);
  append_u32(bytes, kEndMarker);
}

Bytes charset_bytes(int n) {
  Bytes bytes;
  for (int i = 0; i < n; ++i) {
    const CharSet record = charset(static_cast<std::uint32_t>(100 + i), u"X");
    const auto* raw = reinterpret_cast<const unsigned char*>(&record);
    bytes.insert(bytes.end(), raw, raw + sizeof record);
  }
  return bytes;
}

TEST_F(DataFileTest, EmptyStoreSavesHeaderAndTerminatorOnly) {
  write_bytes(path_, file_header());
  DataStore store = open_store();
  ASSERT_EQ(store.status(), kOk);
  ASSERT_EQ(store.save(), kOk);
  EXPECT_EQ(read_bytes(path_), testing::empty_data_file_bytes());
  EXPECT_EQ(read_bytes(path_).size(), 24u);
}

TEST_F(DataFileTest, HeadersAndChunkFramesAreChecked) {
  struct Case {
    const char* what;
    Bytes bytes;
    int status;
  };
  std::vector<Case> cases;
  cases.push_back({"header only", file_header(), kOk});
  cases.push_back({"version 258", file_header(258), kDataFileBadHeader});
  Bytes magic = file_header();
  magic[2] = 'x';
  cases.push_back({"wrong magic", magic, kDataFileBadHeader});
  Bytes short_header = file_header();
  short_header.resize(5);
  cases.push_back({"short header", short_header, kDataFileReadHeader});
  cases.push_back({"empty file", {}, kDataFileReadHeader});
  Bytes short_chunk = file_header();
  append_u32(short_chunk, 0);
  cases.push_back({"short chunk header", short_chunk, kDataFileBadHeader});
  Bytes past_end = file_header();
  append_chunk(past_end, kCharSetSlot, 88, 3 * 88, 3, charset_bytes(2));
  append_terminator(past_end);
  cases.push_back({"byte size past the end", past_end, kDataFileBadChunk});
  Bytes zero_size = file_header();
  append_chunk(zero_size, kSymbSlot, 0, 0, 0);
  cases.push_back({"record size 0", zero_size, kDataFileChunkSize});
  Bytes unknown = file_header();
  append_chunk(unknown, 6, 1, 5, 1, {1, 2, 3, 4, 5});
  append_chunk(unknown, 4000, 1, 0, 0);
  append_chunk(unknown, kCharSetSlot, 88, 88, 1, charset_bytes(1));
  cases.push_back({"unknown chunks skipped, no terminator", unknown, kOk});
  for (const Case& c : cases) {
    write_bytes(path_, c.bytes);
    EXPECT_EQ(open_store().status(), c.status) << c.what;
  }
  EXPECT_EQ(open_store().charset_count(), 1u);
  EXPECT_EQ(DataStore(dir_.file("absent.dt").c_str(), 1, 0, 0).status(), kDataFileOpen);
}

TEST_F(DataFileTest, ShortCharSetChunkKeepsTheLoadedTable) {
  Bytes good = file_header();
  append_chunk(good, kCharSetSlot, 88, 2 * 88, 2, charset_bytes(2));
  append_terminator(good);
  write_bytes(path_, good);
  DataStore store = open_store();
  ASSERT_EQ(store.status(), kOk);
  ASSERT_EQ(store.charset_count(), 2u);

  Bytes short_chunk = file_header();
  append_chunk(short_chunk, kCharSetSlot, 88, 2 * 88, 3, charset_bytes(2));
  append_terminator(short_chunk);
  write_bytes(path_, short_chunk);
  EXPECT_EQ(store.reload(), kDataFileRead);
  EXPECT_EQ(store.status(), kDataFileRead);
  ASSERT_EQ(store.charset_count(), 2u);
  EXPECT_EQ(store.charset_at(1)->id, 101u);
}

// The filled store and its saved file, with helpers to load variants of it.
class SavedStoreTest : public DataFileTest {
 protected:
  void SetUp() override {
    fill(filled_);
    ASSERT_EQ(filled_.save(), kOk);
    saved_ = read_bytes(path_);
  }

  // Loads `bytes` into a fresh store.
  int load_fresh(const Bytes& bytes, const std::string& name = "other.dt") const {
    write_bytes(dir_.file(name), bytes);
    return DataStore(dir_.file(name).c_str(), 1, 0, 0).status();
  }

  // Offsets at which a chunk header starts: the prefixes of the file that
  // load end there.
  std::vector<std::size_t> chunk_starts() const {
    std::vector<std::size_t> starts;
    for (std::size_t length = 8; length + 16 < saved_.size(); ++length) {
      const int status = load_fresh(Bytes(saved_.begin(), saved_.begin() + length));
      if (status == kOk) starts.push_back(length);
    }
    return starts;
  }

  DataStore filled_ = open_store();
  Bytes saved_;
};

TEST_F(SavedStoreTest, ReloadedStoreIsEqualAndSavesTheSameBytes) {
  DataStore reloaded = open_store();
  ASSERT_EQ(reloaded.status(), kOk);
  expect_same_store(filled_, reloaded);
  EXPECT_EQ(reloaded.shape_at(0)->samples.size(), 2u);
  EXPECT_EQ(reloaded.shape_at(0)->info.stats[0], filled_.shape_at(0)->info.stats[0]);
  EXPECT_EQ(reloaded.find_shape(2), reloaded.shape_at(1));
  EXPECT_EQ(reloaded.etalon_at(1), &reloaded.knowledge_base().etalons()[0]);
  EXPECT_EQ(reloaded.find_etalon_by_variant(2), &reloaded.knowledge_base().etalons()[0]);
  EXPECT_EQ(reloaded.find_etalon_by_variant(3), nullptr);  // the special variant

  const std::string copy = dir_.file("copy.dt");
  EXPECT_EQ(reloaded.save_as(copy.c_str()),
            kDataFileOpen);  // the target must exist
  write_bytes(copy, Bytes(100, 0xAB));
  ASSERT_EQ(reloaded.save_as(copy.c_str()), kOk);
  EXPECT_EQ(read_bytes(copy), saved_);
}

TEST_F(SavedStoreTest, KindDecidesWhatIsKept) {
  struct Case {
    int kind;
    std::uint32_t samples;
    std::uint32_t corrections;
  };
  for (const Case& c : {Case{0, 2, 1}, Case{1, 0, 0}, Case{2, 0, 1}, Case{3, 2, 0}}) {
    DataStore store = open_store(0, c.kind);
    ASSERT_EQ(store.status(), kOk);
    EXPECT_EQ(store.shape_at(0)->samples.size(), c.samples) << c.kind;
    EXPECT_EQ(store.knowledge_base().etalons()[0].corrections.size(), c.corrections) << c.kind;
    EXPECT_EQ(store.shape_at(0)->info, filled_.shape_at(0)->info);
  }
}

TEST_F(SavedStoreTest, TruncatedFilesNeverHalfLoadATable) {
  for (std::size_t length = 0; length <= saved_.size(); ++length) {
    const Bytes truncated(saved_.begin(), saved_.begin() + length);
    // A fresh store takes each table whole or not at all.
    write_bytes(dir_.file("cut.dt"), truncated);
    DataStore fresh(dir_.file("cut.dt").c_str(), 1, 0, 0);
    if (length == saved_.size()) {
      EXPECT_EQ(fresh.status(), kOk);
      expect_same_store(filled_, fresh);
    }
    EXPECT_TRUE(fresh.charset_count() == 0 || fresh.charset_count() == filled_.charset_count());
    EXPECT_TRUE(fresh.shape_count() == 0 || fresh.shape_count() == filled_.shape_count());
    EXPECT_TRUE(fresh.variant_count() == 0 || fresh.variant_count() == filled_.variant_count());
    EXPECT_TRUE(fresh.tuples().empty() || same(fresh.tuples(), filled_.tuples()));
    // A store holding the full contents keeps them, whatever fails.
    DataStore loaded = open_store();
    write_bytes(path_, truncated);
    const int status = loaded.reload();
    if (length < 8) {
      EXPECT_EQ(status, kDataFileReadHeader);
    }
    expect_same_store(filled_, loaded);
    write_bytes(path_, saved_);
  }
}

// A record count one too high makes a table of nested records read the
// next chunk's header as its last record, which fails. (A fixed-size table
// reads that many records of its own size whatever follows, and the
// knowledge base reads by the counts of its own lists.)
TEST_F(SavedStoreTest, ChunkClaimingOneMoreRecordKeepsEveryTable) {
  const std::vector<std::size_t> starts = chunk_starts();
  ASSERT_EQ(starts.size(), 10u);  // every slot but 6, 10 and 11 holds records
  for (const std::size_t start : starts) {
    const std::uint16_t slot = saved_[start];
    const bool nested = slot == kShapeSlot || slot >= kTuplesSlot;
    if (!nested && slot != kKnowledgeBaseSlot) continue;
    Bytes damaged = saved_;
    ++damaged[start + 8];  // the chunk's record count
    DataStore store = open_store();
    write_bytes(path_, damaged);
    EXPECT_EQ(store.reload(), nested ? kDataFileRead : kOk) << "slot " << slot;
    expect_same_store(filled_, store);
    write_bytes(path_, saved_);
  }
}

// An etalon whose length differs from the Raf table's cell count loads, but
// recognition leaves its variants out.
TEST_F(SavedStoreTest, EtalonThatDoesNotFitTheRafTableLoadsButIsNotUsed) {
  for (const int change : {1, -1}) {
    write_bytes(path_, saved_);
    DataStore store = open_store();
    Etalon& etalon = store.knowledge_base().etalons()[0];
    if (change > 0) {
      etalon.cells.push_back(32);
    } else {
      etalon.cells.pop_back();
    }
    ASSERT_EQ(store.save(), kOk);
    DataStore loaded = open_store();
    ASSERT_EQ(loaded.status(), kOk) << change;
    EXPECT_EQ(loaded.etalon_at(0), nullptr);
    EXPECT_NE(loaded.find_etalon_by_variant(1), nullptr);
    EXPECT_EQ(loaded.self_test(dir_.file("report.txt").c_str()), 0);
  }
}

// A store that dropped samples or corrections while loading must not write
// a file without them: the user's training would be gone.
TEST_F(SavedStoreTest, StoreThatDroppedRecordsRefusesEverySave) {
  const std::string copy = dir_.file("copy.dt");
  write_bytes(copy, Bytes(10, 0xAB));
  for (const int kind : {1, 2, 3}) {
    DataStore store = open_store(1, kind);
    ASSERT_EQ(store.status(), kOk);
    EXPECT_EQ(store.save(), kSaveInRecognitionOnlyMode) << kind;
    EXPECT_EQ(store.rewrite(), kSaveInRecognitionOnlyMode) << kind;
    EXPECT_EQ(store.save_as(copy.c_str()), kSaveInRecognitionOnlyMode) << kind;
    EXPECT_EQ(read_bytes(path_), saved_);
    EXPECT_EQ(read_bytes(copy), Bytes(10, 0xAB));
  }
  // Data mode 2 opens the file for writing with kind 1.
  const std::u16string wide = dir_.wide_file("qlmain.dt");
  ASSERT_EQ(crInitCrMan(wide.c_str(), 2, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  EXPECT_EQ(crSave(), kSaveInRecognitionOnlyMode);
  EXPECT_EQ(read_bytes(path_), saved_);
  crFreeCrMan();
  DataStore keeping = open_store(1, 0);
  EXPECT_EQ(keeping.save(), kOk);
  EXPECT_EQ(read_bytes(path_), saved_);
}

TEST_F(SavedStoreTest, FailedSaveLeavesTheOldFile) {
  ASSERT_EQ(filled_.add_charset(charset(77, u"new")), kOk);
  const auto names_before = testing::names_in(dir_.path());
  {
    const testing::NoFreeDescriptors no_files;  // the temporary cannot be created
    EXPECT_EQ(filled_.save(), kDataFileOpen);
  }
  EXPECT_EQ(read_bytes(path_), saved_);

  DataStore read_only = open_store(0);
  ASSERT_EQ(read_only.status(), kOk);
  EXPECT_EQ(read_only.save(), kDataFileWriteHeader);
  EXPECT_EQ(read_bytes(path_), saved_);

  ASSERT_EQ(filled_.save(), kOk);
  EXPECT_EQ(open_store().charset_count(), 3u);
  EXPECT_EQ(testing::names_in(dir_.path()), names_before);
}

TEST_F(SavedStoreTest, EngineStartsOnTheSavedFile) {
  const std::u16string wide = dir_.wide_file("qlmain.dt");
  ASSERT_EQ(crInitCrMan(wide.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  ASSERT_NE(crman_if_exists()->data_store(), nullptr);
  expect_same_store(filled_, *crman_if_exists()->data_store());
  crFreeCrMan();
  const std::u16string missing = dir_.wide_file("missing.dt");
  EXPECT_EQ(crInitCrMan(missing.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr),
            kDataFileOpen);
  write_bytes(path_, file_header(258));
  EXPECT_EQ(crInitCrMan(wide.c_str(), 1, nullptr, nullptr, nullptr, nullptr, nullptr),
            kDataFileBadHeader);
  crFreeCrMan();
}

}  // namespace
}  // namespace inkrec
