// The recipe reader: every record's fields, and a clear message with the
// file and line for every malformed line.
#include "tools/inkrec/recipe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace inkrec::tool {
namespace {

class RecipeTest : public ::testing::Test {
 protected:
  bool read(const std::string& text) {
    path_ = dir_.file("db.recipe");
    std::ofstream(path_) << text;
    recipe_ = Recipe();
    return read_recipe(path_, &recipe_, &error_);
  }

  testing::TempDir dir_;
  std::string path_;
  Recipe recipe_;
  std::string error_;
};

TEST_F(RecipeTest, ReadsEveryKindOfRecord) {
  ASSERT_TRUE(read("# a comment\n"
                   "charset 5 \"English\" ortho=1 wordlist=eng  # trailing comment\n"
                   "symbol 0x69 sides=1 second=0x131\n"
                   "charsym 5 105 values=1,2,3\n"
                   "raf 19 24 3 7\n"
                   "\n"
                   "shape 830 stem height_limit=-5 masks=3,4 segments=2\n"
                   "sample 830 140 220 10,20 10,90;30,5\n"
                   "variant 12001 charset=5 code=105 shape=830 properties=0x20000 group=2 "
                   "representative=0 use=1\n"
                   "complex 7 charset=5 code=105 first=830 second=12001 symbol=105 sides=1 "
                   "count=1 tolerance=-3\n"))
      << error_;
  const CharSet& charset = recipe_.charsets.at(5).record;
  EXPECT_EQ(std::u16string(charset.name), u"English");
  EXPECT_EQ(charset.ortho, 1u);
  EXPECT_EQ(std::u16string(charset.word_list_code, 3), u"eng");
  EXPECT_EQ(recipe_.charsets.at(5).line, 2);
  EXPECT_EQ(recipe_.symbs.at(0x69).record.second_code, 0x131);
  EXPECT_EQ(recipe_.charset_symbs.at({5, 105}).record.values[2], 3);
  const Raf& raf = recipe_.rafs.at(19).record;
  EXPECT_EQ(raf.nx * 100 + raf.ny * 10 + raf.ves, 2437);
  const Shape& shape = recipe_.shapes.at(830).record;
  EXPECT_EQ(shape.info.height_limit, -5);
  EXPECT_EQ(shape.info.segment_masks[1], 4);
  ASSERT_EQ(shape.samples.size(), 1u);
  EXPECT_EQ(shape.samples[0].second_guide, 220);
  ASSERT_EQ(shape.samples[0].strokes.size(), 2u);
  EXPECT_EQ(shape.samples[0].strokes[0][1], (PackedPoint{10, 90}));
  const Variant& variant = recipe_.variants.at(12001).record;
  EXPECT_EQ(variant.properties, 0x20000u);
  EXPECT_EQ(variant.copybook_representative, 0);
  EXPECT_EQ(variant.idUse, 1u);
  EXPECT_EQ(recipe_.complex_variants.at(7).record.tolerance, -3);
}

TEST_F(RecipeTest, ReadsSampleFilesBesideTheRecipe) {
  std::ofstream(dir_.file("zero.txt")) << "140 220\t1,2 3,4\n140 220\t5,6;7,8 9,9\n";
  ASSERT_TRUE(read("shape 12001 zero\nsamples 12001 zero.txt\n")) << error_;
  EXPECT_EQ(recipe_.shapes.at(12001).record.samples.size(), 2u);
}

TEST_F(RecipeTest, MalformedLinesAreReportedWithTheirLine) {
  const struct {
    const char* text;
    const char* message;  // after "FILE:LINE: "
    int line;
  } cases[] = {
      {"colour 3\n", "unknown keyword \"colour\"", 1},
      {"charset x digits\n", "bad charset id \"x\"", 1},
      {"charset 3\n", "expected charset ID NAME", 1},
      {"charset 3 \"digits\n", "a text without its closing quote", 1},
      {"charset 3 digits\ncharset 3 more\n", "charset given twice (first on line 1)", 2},
      {"symbol 70000\n", "bad symbol code \"70000\"", 1},
      {"symbol 65 colour=2\n", "unknown field \"colour\"", 1},
      {"raf 1 0 3 1\n", "a raf has an id and a grid of at least one cell", 1},
      {"shape 5 averyverylongname\n", "a shape name has at most 13 bytes", 1},
      {"sample 7 140 220 1,2\n", "samples of shape 7 before its shape line", 1},
      {"shape 7 s\nsample 7 220 140 1,2\n", "a sample needs its upper line above its baseline", 2},
      {"shape 7 s\nsample 7 140 220 1,2;\n", "malformed strokes", 2},
      {"shape 7 s\nsample 7 140 220 1,2 3\n", "malformed strokes", 2},
      {"shape 7 s\nsample 7 140 220 1,40000\n", "malformed strokes", 2},
      {"variant 12 charset=3 shape=4\n", "missing code=", 1},
      {"variant 12 charset=3 code=x shape=4\n", "bad code \"x\"", 1},
      {"variant 0 charset=3 code=48 shape=4\n", "variant ids start at 1", 1},
      {"complex 3 charset=3 code=48 first=1 second=2\n", "missing symbol=", 1},
      {"shape 7 s\nsamples 7 missing.txt\n", "cannot read", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_FALSE(read(c.text));
    const std::string prefix = path_ + ":" + std::to_string(c.line) + ": ";
    EXPECT_EQ(error_.substr(0, prefix.size() + std::string(c.message).size()),
              prefix + c.message);
  }
}

TEST_F(RecipeTest, ATruncatedSampleFileNamesItsOwnLine) {
  std::ofstream(dir_.file("cut.txt")) << "140 220\t1,2 3,4\n140 220\t5,6;7,";
  EXPECT_FALSE(read("shape 12001 zero\nsamples 12001 cut.txt\n"));
  EXPECT_EQ(error_, dir_.file("cut.txt") + ":2: malformed strokes");
}

}  // namespace
}  // namespace inkrec::tool
