#include "engine/database/pair_variants.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/foundation/status.h"
#include "tests/support/data_file.h"
#include "tests/support/temp_dir.h"

namespace inkrec {
namespace {

constexpr std::uint32_t kOften = 0;
constexpr std::uint32_t kRarely = 1;
constexpr std::uint32_t kNever = 2;

struct Case {
  const char* what;
  std::vector<std::uint32_t> active;
  std::int32_t a;
  std::int32_t b;
  PairCandidate candidate;
  int expected;
};

class PairVariantsTest : public ::testing::Test {
 protected:
  PairVariantsTest() {
    testing::write_empty_data_file(dir_.file("qlmain.dt"));
    store_ = std::make_unique<DataStore>(dir_.file("qlmain.dt").c_str(), 1, 0, 0);
    // Ascending ids, as the knowledge base keeps them.
    add_variant(607, 5, u't', kNever);
    add_variant(656, 5, u'h', kOften);
    add_variant(770, 5, u'f', kOften);
    add_variant(862, 5, u't', kOften);
    add_variant(1262, 6, u'h', kRarely);
    add_variant(1263, 6, u'h', kOften);
    add_variant(9000, 6, u'a', kOften);
    add_variant(9001, 4, u'а', kOften);
    add_variant(9002, 4, u'о', kRarely);
    add_variant(11990, 5, u'e', kOften);
    ComplexVariant complex{};
    complex.set = 4;
    complex.menuc = u'у';
    EXPECT_EQ(store_->add_complex_variant(complex), kOk);
  }

  void add_variant(std::uint16_t id, std::uint32_t charset, char16_t code, std::uint32_t use) {
    Variant variant;
    variant.id = id;
    variant.idSet = charset;
    variant.menuc = code;
    variant.idUse = use;
    ASSERT_EQ(store_->knowledge_base().variants().push_back(variant), kOk);
  }

  testing::TempDir dir_;
  std::unique_ptr<DataStore> store_;
};

TEST_F(PairVariantsTest, AnswersWhetherAnOftenUsedVariantSupportsThePair) {
  const PairCandidate plain{};
  const Case cases[] = {
      {"h/k: charset 5's id", {5}, u'h', u'k', plain, 1},
      {"h/k: no id for charset 14", {14}, u'h', u'k', plain, 0},
      {"h/k: no charset active", {}, u'h', u'k', plain, 0},
      {"h/n: a rarely used id, then an often used one", {6}, u'h', u'n', plain, 1},
      {"h/n: ids the database does not have", {5}, u'h', u'n', plain, 0},
      {"t after 770: 607 is never used, 862 often", {}, u't', u'x', {0, 770}, 1},
      {"t with another candidate has no row", {5}, u't', u'x', {0, 771}, 0},
      {"f/t with candidate 4948", {}, u'f', u't', {0, 4948}, 1},
      {"f/t with another candidate", {5}, u'f', u't', {0, 4947}, 0},
      {"a key not in the table", {5, 6}, u'A', u'B', plain, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(collect_pair_variants(c.active, *store_, c.a, c.b, c.candidate), c.expected)
        << c.what;
  }
}

// Rows without fixed ids find nothing, however many often used variants of
// their letters the database holds, until a database supplies their ids.
TEST_F(PairVariantsTest, RowsWithoutSuppliedIdsFindNothing) {
  const PairCandidate plain{};
  const Case cases[] = {
      {"a/o with an often used 'a' of charset 6", {5, 6}, u'a', u'o', plain, 0},
      {"Cyrillic а/и with an often used 'а'", {4}, u'а', u'и', plain, 0},
      {"Cyrillic у/д with a complex variant of 'у'", {4}, u'у', u'д', {1, 0}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(collect_pair_variants(c.active, *store_, c.a, c.b, c.candidate), c.expected)
        << c.what;
    EXPECT_EQ(collect_pair_variants(c.active, *store_, c.a, c.b, c.candidate, {}), c.expected)
        << c.what;
  }
}

// The default database supplies its first one-stroke e (11990) for the
// rules that read an l, or a c begun with a crossbar, as an e, and for the
// rules that read a two-stroke E or I as a t.
TEST_F(PairVariantsTest, TheDefaultIdsAdmitTheRulesRewrites) {
  const PairCandidate plain{};
  const Case cases[] = {
      {"l/e under charset 5", {5}, u'l', u'e', plain, 1},
      {"c/e under charset 5", {5}, u'c', u'e', plain, 1},
      {"c/e with charset 5 inactive", {6}, u'c', u'e', plain, 0},
      {"E/t under charset 5", {5}, u'E', u't', plain, 1},
      {"E/t with charset 5 inactive", {6}, u'E', u't', plain, 0},
      {"I/t under charset 5", {5}, u'I', u't', plain, 1},
      {"e/c: no id supplied", {5}, u'e', u'c', plain, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(collect_pair_variants(c.active, *store_, c.a, c.b, c.candidate), c.expected)
        << c.what;
  }
}

TEST_F(PairVariantsTest, SuppliedIdsAreLookedUpForTheirRow) {
  const SuppliedPairId supplied[] = {
      {u'a', u'o', 5, 607},               // never used
      {u'a', u'o', 6, 9000},              // often used, under charset 6
      {u'а', u'и', kEveryCharset, 9002},  // rarely used
      {u'а', u'и', kEveryCharset, 9001},  // often used
      {u'о', u'а', 4, 9001},              // a charset for a row not grouped: never looked up
      {u'у', u'д', kEveryCharset, 1},     // the complex variant 1
      {u'h', u'k', 14, 656},              // a row with fixed ids: never looked up
  };
  const PairCandidate plain{};
  const Case cases[] = {
      {"a/o under charset 6", {6}, u'a', u'o', plain, 1},
      {"a/o under charset 5 only", {5}, u'a', u'o', plain, 0},
      {"a/o with no group charset active", {4}, u'a', u'o', plain, 0},
      {"а/и: the second id", {}, u'а', u'и', plain, 1},
      {"о/а: an entry of the wrong form", {4}, u'о', u'а', plain, 0},
      {"у/д among the complex variants", {}, u'у', u'д', {1, 0}, 1},
      {"у/д among the variants", {}, u'у', u'д', plain, 0},
      {"h/k keeps its fixed ids", {14}, u'h', u'k', plain, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(collect_pair_variants(c.active, *store_, c.a, c.b, c.candidate, supplied), c.expected)
        << c.what;
  }
}

}  // namespace
}  // namespace inkrec
