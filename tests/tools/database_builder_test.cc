// The database builder: the same recipe gives the same bytes, the engine
// loads the file with every record under the id the recipe gave it, and the
// etalons trained from real digits tell held-out writers' digits apart by
// the letter evaluation's etalon score.
#include "tools/inkrec/database_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/analysis/raf_sample_cells.h"
#include "engine/database/data_store.h"
#include "engine/database/etalon_score.h"
#include "engine/foundation/status.h"
#include "inkrec/inkrec.h"
#include "tests/support/temp_dir.h"
#include "tools/inkrec/recipe.h"

namespace inkrec::tool {
namespace {

const std::string kFixtures = std::string(INKREC_TEST_DATA_DIR) + "/database/";

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string build_tiny(const testing::TempDir& dir, const std::string& name) {
  Recipe recipe;
  std::string error;
  EXPECT_TRUE(read_recipe(kFixtures + "tiny.recipe", &recipe, &error)) << error;
  const std::string out = dir.file(name);
  EXPECT_TRUE(build_database(recipe, out, &error)) << error;
  return out;
}

TEST(DatabaseBuilderTest, TheSameRecipeGivesTheSameBytesAndTheEngineLoadsThem) {
  testing::TempDir dir;
  const std::string first = build_tiny(dir, "first.dt");
  const std::string second = build_tiny(dir, "second.dt");
  const std::string bytes = file_bytes(first);
  ASSERT_GT(bytes.size(), 1000u);
  EXPECT_EQ(bytes, file_bytes(second));

  const std::u16string path = dir.wide_file("first.dt");
  ASSERT_EQ(crInitCrMan(path.c_str(), 0, nullptr, nullptr, nullptr, nullptr, nullptr), kOk);
  std::uint32_t count = 0;
  EXPECT_EQ(crmGetCharSetCount(&count), kOk);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(crmVariantGetCountAll(&count), kOk);
  ASSERT_EQ(count, 2u);
  // The ids are the recipe's, not numbers the store chose.
  crVariant variants[2] = {};
  ASSERT_EQ(crmVariantGetByInd(0, &variants[0]), kOk);
  ASSERT_EQ(crmVariantGetByInd(1, &variants[1]), kOk);
  EXPECT_EQ(variants[0].id, 484);
  EXPECT_EQ(variants[0].menuc, u'1');
  EXPECT_EQ(variants[0].shape_id, 12002);
  EXPECT_EQ(variants[1].id, 12001);
  EXPECT_EQ(variants[1].menuc, u'0');
  EXPECT_NE(variants[1].etalon_id, 0xFFFF);
  crShapeInfo info{};
  EXPECT_EQ(crmGetShapeInfo(12002, &info), kOk);
  EXPECT_EQ(std::string(info.info.name), "1");
  EXPECT_EQ(info.sample_count, 4u);
  EXPECT_EQ(crFreeCrMan(), kOk);
}

TEST(DatabaseBuilderTest, TheTrainedEtalonsTellHeldOutWritersDigitsApart) {
  testing::TempDir dir;
  DataStore store(build_tiny(dir, "tiny.dt").c_str(), 0, 0, 0);
  ASSERT_EQ(store.status(), kOk);
  ASSERT_EQ(store.knowledge_base().refresh(), kOk);
  const auto weights = store.knowledge_base().cell_weights().span();
  RafSampleCells cells;
  ASSERT_EQ(cells.begin_build(store.raf_total_cells(), store.raf_table()), kOk);
  std::ifstream in(kFixtures + "heldout_digits.txt");
  std::string line;
  int samples = 0;
  while (std::getline(in, line)) {
    SCOPED_TRACE(line.substr(0, 40));
    StrokeArray strokes;
    ASSERT_TRUE(parse_strokes(std::string_view(line).substr(2), &strokes));
    const int angles[] = {0};
    std::int32_t step = -1;
    std::span<const DynArray<std::uint16_t>> hits;
    ASSERT_EQ(cells.sample_cells(strokes, angles, &step, -1, -1, -1, nullptr, &hits), kOk);
    const Variant* best = nullptr;
    std::int32_t best_score = -1;
    for (std::uint32_t i = 0; i < store.variant_count(); ++i) {
      std::int32_t score = 0;
      ASSERT_EQ(score_against_etalon(hits[0].span(), *store.etalon_at(i), weights, &score), kOk);
      if (score > best_score) {
        best_score = score;
        best = store.variant_at(i);
      }
    }
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->menuc, static_cast<std::uint16_t>(line[0]));
    ++samples;
  }
  EXPECT_EQ(samples, 6);
}

TEST(DatabaseBuilderTest, AFailedBuildLeavesTheOldFileAndNamesTheRecipeLine) {
  testing::TempDir dir;
  const std::string recipe_path = dir.file("bad.recipe");
  std::ofstream(recipe_path) << "charset 3 digits\n"
                                "symbol 48\n"
                                "shape 12001 zero\n"
                                "sample 12001 140 220 100,60 120,140 100,220\n"
                                "variant 12001 charset=3 code=48 shape=12002\n";
  const std::string out = dir.file("old.dt");
  std::ofstream(out) << "the old file";
  Recipe recipe;
  std::string error;
  ASSERT_TRUE(read_recipe(recipe_path, &recipe, &error)) << error;
  EXPECT_FALSE(build_database(recipe, out, &error));
  EXPECT_EQ(error, recipe_path + ":5: the store refused the variant (status " +
                       std::to_string(kKbNoShape) + ")");
  EXPECT_EQ(file_bytes(out), "the old file");
  EXPECT_FALSE(std::filesystem::exists(out + ".building"));
}

}  // namespace
}  // namespace inkrec::tool
