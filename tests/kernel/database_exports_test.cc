// The database exports, driven as the application's settings pages drive
// them: statuses in tables, records copied in and out of caller memory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/database/data_store.h"
#include "engine/foundation/code_page_1251.h"
#include "engine/foundation/status.h"
#include "engine/kernel/c_array.h"
#include "inkrec/inkrec.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

struct StatusCase {
  const char* what;
  std::function<int()> call;
  int expected;
};

void expect_statuses(const std::vector<StatusCase>& cases) {
  for (const StatusCase& c : cases) EXPECT_EQ(c.call(), c.expected) << c.what;
}

crCharSet charset(std::uint32_t id, char16_t initial = u'x') {
  crCharSet record{};
  record.id = id;
  record.name[0] = initial;
  return record;
}

crSymb symb(std::uint16_t code) {
  crSymb record{};
  record.code = code;
  return record;
}

class DatabaseExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::write_empty_data_file(dir_.file("qlmain.dt")); }
  void TearDown() override { crFreeCrMan(); }

  int start(bool with_kernel) {
    const std::u16string data = dir_.wide_file("qlmain.dt");
    return with_kernel ? crInitCrMan(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr)
                       : crInitCrMan_NoKernel(data.c_str(), 0, nullptr, nullptr, nullptr, nullptr);
  }

  testing::TempDir dir_;
};

TEST_F(DatabaseExportsTest, WhichStoreEachExportNeeds) {
  TuplesTable tuples;
  SpecPairsTable pairs;
  auto* tuples_c = reinterpret_cast<crDynArray*>(&tuples);
  auto* pairs_c = reinterpret_cast<crDynArray*>(&pairs);
  crCharSet record{};
  std::uint32_t n = 0;
  const std::uint32_t capacity = 4;
  // Before start-up: the kernel's store is missing, and the manager's.
  expect_statuses({
      {"count", [&] { return crmGetCharSetCount(&n); }, kNoKernel},
      {"save", [] { return crSave(); }, kNoKernel},
      {"all charsets", [&] { return crmGetAllCharsets(&record, &capacity); }, kNoDataStore},
      {"tuples", [&] { return crmTuplesGet(tuples_c); }, kNoDataStore},
      {"pairs", [&] { return crmSpecPairsSetCC(pairs_c); }, kNoDataStore},
  });
  // Without a kernel the manager's store serves the tables.
  ASSERT_EQ(start(false), kOk);
  expect_statuses({
      {"charset", [&] { return crmGetCharSet(1, &record); }, kNoKernel},
      {"all charsets", [&] { return crmGetAllCharsets(&record, &capacity); }, kOk},
      {"tuples get", [&] { return crmTuplesGet(tuples_c); }, kOk},
      {"tuples set", [&] { return crmTuplesSet(tuples_c); }, kOk},
      {"pairs get", [&] { return crmSpecPairsGetSS(pairs_c); }, kOk},
      {"pairs set", [&] { return crmSpecPairsSetSC(pairs_c); }, kOk},
  });
}

TEST_F(DatabaseExportsTest, EditsAnswerWithTheStoreStatus) {
  ASSERT_EQ(start(true), kOk);
  const crCharSet five = charset(5);
  const crCharSet six = charset(6);
  const crSymb a = symb(u'a');
  const crCharSetSymb five_a{5, u'a', {}, {}};
  const crCharSetSymb seven_b{7, u'b', {}, {}};
  crComplexVariant complex{};
  complex.set = 5;
  crVariant variant{};
  variant.id = 3;
  const crRaf raf{0, 0, 2, 2, 1, 0};
  expect_statuses({
      {"add charset", [&] { return crmAddCharSet(&five); }, kOk},
      {"add charset again", [&] { return crmAddCharSet(&five); }, kCharSetExists},
      {"edit absent charset", [&] { return crmEditCharSet(&six); }, kCharSetMissing},
      {"delete absent charset", [] { return crmDelCharSet(6); }, kCharSetMissing},
      {"null charset", [] { return crmAddCharSet(nullptr); }, kBadArgument},
      {"add symbol", [&] { return crmAddSymb(&a); }, kOk},
      {"add symbol again", [&] { return crmAddSymb(&a); }, kSymbExists},
      {"delete absent symbol", [] { return crmDelSymb(u'z'); }, kSymbMissing},
      {"add charset symbol", [&] { return crmAddCharSetSymb(&five_a); }, kOk},
      {"symbol in use", [] { return crmDelSymb(u'a'); }, kSymbInUse},
      {"charset and symbol absent", [&] { return crmAddCharSetSymb(&seven_b); }, kCharSetMissing},
      {"delete absent charset symbol", [] { return crmDelCharSetSymb(5, u'q'); },
       kCharSetSymbMissing},
      {"add complex variant", [&] { return crmComplexVariantAdd(&complex); }, kOk},
      {"delete absent complex variant", [] { return crmComplexVariantDelete(9); }, kVariantMissing},
      {"set absent variant", [&] { return crmVariantSet(&variant); }, kKbVariantNotFound},
      {"delete absent variant", [] { return crmVariantDelete(3); }, kKbVariantNotFound},
      {"edit absent raf", [&] { return crmEditRaf(&raf); }, kRafMissing},
      {"delete absent raf", [] { return crmRafDelete(4); }, kRafMissing},
      {"delete absent shape", [] { return crmDelShape(4); }, kShapeMissing},
      {"save to a missing file", [&] { return crmSaveDat(dir_.wide_file("none.dt").c_str()); },
       kDataFileOpen},
      {"save", [] { return crSave(); }, kOk},
  });
}

TEST_F(DatabaseExportsTest, GetsCopyRecordsOrAnswerMinusTwo) {
  ASSERT_EQ(start(true), kOk);
  const crCharSet five = charset(5, u'F');
  ASSERT_EQ(crmAddCharSet(&five), kOk);
  crComplexVariant complex{};
  complex.set = 5;
  complex.menuc = u'a';
  ASSERT_EQ(crmComplexVariantAdd(&complex), kOk);

  crCharSet record{};
  ASSERT_EQ(crmGetCharSet(5, &record), kOk);
  EXPECT_EQ(std::memcmp(&record, &five, sizeof record), 0);
  crComplexVariant copy{};
  ASSERT_EQ(crmComplexVariantGetByInd(0, &copy), kOk);
  EXPECT_EQ(copy.id, 1);
  EXPECT_EQ(copy.menuc, u'a');

  crCharSet untouched;
  std::memset(&untouched, 0x5A, sizeof untouched);
  crCharSet probe = untouched;
  crSymb symbol{};
  crVariant variant{};
  crRaf raf{};
  crShapeInfo info{};
  std::uint32_t n = 0;
  expect_statuses({
      {"absent charset", [&] { return crmGetCharSet(6, &probe); }, kBadArgument},
      {"index equal to the count", [&] { return crmGetCharSetByInd(1, &probe); }, kBadArgument},
      {"null output", [] { return crmGetCharSet(5, nullptr); }, kBadArgument},
      {"absent symbol", [&] { return crmGetSymb(u'a', &symbol); }, kBadArgument},
      {"absent variant", [&] { return crmVariantGet(1, &variant); }, kBadArgument},
      {"absent raf", [&] { return crmRafGetByInd(0, &raf); }, kBadArgument},
      {"absent shape", [&] { return crmGetShapeInfo(1, &info); }, kBadArgument},
      {"null count", [] { return crmGetSymbCount(nullptr); }, kBadArgument},
      {"count", [&] { return crmComplexVariantGetCountAll(&n); }, kOk},
  });
  EXPECT_EQ(std::memcmp(&probe, &untouched, sizeof probe), 0);
  EXPECT_EQ(n, 1u);
}

TEST_F(DatabaseExportsTest, CharsetSymbolsAreCountedPerCharsetOrInAll) {
  ASSERT_EQ(start(true), kOk);
  for (const std::uint32_t id : {5u, 6u}) {
    const crCharSet record = charset(id);
    ASSERT_EQ(crmAddCharSet(&record), kOk);
  }
  for (const char16_t code : {u'a', u'b'}) {
    const crSymb record = symb(code);
    ASSERT_EQ(crmAddSymb(&record), kOk);
  }
  for (const crCharSetSymb& record :
       {crCharSetSymb{5, u'a', {}, {}}, crCharSetSymb{5, u'b', {}, {}},
        crCharSetSymb{6, u'b', {}, {}}}) {
    ASSERT_EQ(crmAddCharSetSymb(&record), kOk);
  }
  std::uint32_t n = 0;
  ASSERT_EQ(crmGetCharSetSymbCount(0, &n), kOk);
  EXPECT_EQ(n, 3u);
  ASSERT_EQ(crmGetCharSetSymbCount(6, &n), kOk);
  EXPECT_EQ(n, 1u);
  crCharSetSymb found{};
  ASSERT_EQ(crmGetCharSetSymb(6, u'b', &found), kOk);
  EXPECT_EQ(found.charset_id, 6u);
}

TEST_F(DatabaseExportsTest, AllCharsetsStopAtTheCapacity) {
  ASSERT_EQ(start(false), kOk);
  DataStore store(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
  for (std::uint32_t id = 1; id <= 5; ++id) {
    const crCharSet record = charset(id, static_cast<char16_t>(u'a' + id));
    ASSERT_EQ(store.add_charset(*reinterpret_cast<const CharSet*>(&record)), kOk);
  }
  ASSERT_EQ(store.save(), kOk);
  crFreeCrMan();
  ASSERT_EQ(start(false), kOk);

  struct Case {
    std::uint32_t capacity;
    std::uint32_t copied;
  };
  for (const Case& c : {Case{2, 2}, Case{5, 5}, Case{8, 5}, Case{0, 0}}) {
    crCharSet records[8];
    std::memset(records, 0, sizeof records);
    ASSERT_EQ(crmGetAllCharsets(records, &c.capacity), kOk);
    for (std::uint32_t i = 0; i < 8; ++i) {
      EXPECT_EQ(records[i].id, i < c.copied ? i + 1 : 0u) << c.capacity << " " << i;
    }
  }
}

TEST_F(DatabaseExportsTest, ShapesAreCopiedDeep) {
  ASSERT_EQ(start(true), kOk);
  Shape shape;
  Sample* sample = shape.samples.push_default();
  Stroke* stroke = sample->strokes.push_default();
  stroke->push_back({1, 2});
  stroke->push_back({3, 4});
  shape.value = 77;
  std::memcpy(shape.info.name, "loop", 5);
  ASSERT_EQ(crmAddShape(reinterpret_cast<const crShape*>(&shape)), kOk);

  crShapeInfo info{};
  ASSERT_EQ(crmGetShapeInfo(1, &info), kOk);
  EXPECT_EQ(info.info.id, 1);
  EXPECT_STREQ(info.info.name, "loop");
  EXPECT_EQ(info.sample_count, 1u);

  // The caller's former samples are released and replaced.
  Shape copy;
  copy.samples.push_default()->strokes.push_default();
  copy.samples.push_default();
  ASSERT_EQ(crmGetShapeByInd(0, reinterpret_cast<crShape*>(&copy)), kOk);
  ASSERT_EQ(copy.samples.size(), 1u);
  EXPECT_EQ(copy.samples[0].strokes[0][1], (PackedPoint{3, 4}));
  EXPECT_EQ(copy.info.id, 1);
  EXPECT_EQ(crmGetShape(2, reinterpret_cast<crShape*>(&copy)), kBadArgument);
  EXPECT_EQ(copy.samples.size(), 1u);

  copy.info.id = 5;
  EXPECT_EQ(crmEditShapeDummy(reinterpret_cast<const crShape*>(&copy)), kShapeMissing);
}

TEST_F(DatabaseExportsTest, TablesAreCopiedBothWays) {
  ASSERT_EQ(start(false), kOk);
  TuplesTable mine;
  TuplesEntry* entry = mine.push_default();
  entry->charset_id = 5;
  Tuple* tuple = entry->tuples.push_default();
  tuple->rule = 12;
  tuple->lists[1].push_back(40);
  ASSERT_EQ(crmTuplesSet(reinterpret_cast<const crDynArray*>(&mine)), kOk);
  mine[0].tuples[0].rule = 13;  // the database keeps its own copy

  TuplesTable theirs;
  theirs.push_default()->charset_id = 99;  // released by the copy
  ASSERT_EQ(crmTuplesGet(reinterpret_cast<crDynArray*>(&theirs)), kOk);
  ASSERT_EQ(theirs.size(), 1u);
  EXPECT_EQ(theirs[0].charset_id, 5u);
  EXPECT_EQ(theirs[0].tuples[0].rule, 12);
  EXPECT_EQ(theirs[0].tuples[0].lists[1][0], 40);

  SpecPairsTable pairs;
  SpecPairsEntry* pair_entry = pairs.push_default();
  pair_entry->charset_id = 6;
  pair_entry->groups.push_default()->key = 3;
  ASSERT_EQ(crmSpecPairsSetCS(reinterpret_cast<const crDynArray*>(&pairs)), kOk);
  SpecPairsTable read_back;
  ASSERT_EQ(crmSpecPairsGetCS(reinterpret_cast<crDynArray*>(&read_back)), kOk);
  ASSERT_EQ(read_back.size(), 1u);
  EXPECT_TRUE(read_back[0] == pairs[0]);
  ASSERT_EQ(crmSpecPairsGetSS(reinterpret_cast<crDynArray*>(&read_back)), kOk);
  EXPECT_TRUE(read_back.empty());
  EXPECT_EQ(crmSpecPairsGetSS(nullptr), kBadArgument);
}

TEST_F(DatabaseExportsTest, SaveTxtWritesTheListing) {
  ASSERT_EQ(start(true), kOk);
  const crCharSet five = charset(5, u'E');
  ASSERT_EQ(crmAddCharSet(&five), kOk);
  const std::u16string path = dir_.wide_file("dump.txt");
  ASSERT_EQ(crmSaveTXT(path.c_str()), kOk);
  const std::vector<unsigned char> bytes = testing::read_bytes(dir_.file("dump.txt"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            to_code_page_1251(u"Структуры дат-файла\n\n\n Charset'ы.\n  Количество: 1\n") +
                "{E, , ID:5, direct:0, ortho:0}\n\n");
  EXPECT_EQ(crmSaveTXT(nullptr), kBadArgument);
}

}  // namespace
}  // namespace inkrec
