// Lines of real handwriting (the fixture "unipen_pages.txt") through the
// line pass: each sample alone, and each writer's four samples stacked
// one below the other as a page, give as many text lines as were written,
// and no text line takes strokes of two samples.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/line_pass.h"

namespace inkrec {
namespace {

using testing::Ink;
using testing::InkStroke;

struct Sample {
  std::string label;
  std::string writer;
  int lines = 1;  // text lines written
  Ink ink;
};

Ink parse_strokes(const std::string& text) {
  Ink ink;
  std::stringstream strokes(text);
  std::string stroke_text;
  while (std::getline(strokes, stroke_text, ';')) {
    std::stringstream points(stroke_text);
    InkStroke stroke;
    std::string point;
    int x = 0;
    int y = 0;
    while (points >> point) {
      if (std::sscanf(point.c_str(), "%d,%d", &x, &y) == 2) {
        stroke.push_back({static_cast<std::int16_t>(x + 1000), static_cast<std::int16_t>(y + 1000)});
      }
    }
    ink.push_back(stroke);
  }
  return ink;
}

std::vector<Sample> read_samples() {
  std::ifstream in(std::string(INKREC_TEST_DATA_DIR) + "/unipen_pages.txt");
  std::vector<Sample> samples;
  std::string text;
  while (std::getline(in, text)) {
    if (text.empty() || text[0] == '#') continue;
    std::stringstream fields(text);
    Sample sample;
    std::string lines;
    std::string strokes;
    std::getline(fields, sample.label, '\t');
    std::getline(fields, sample.writer, '\t');
    std::getline(fields, lines, '\t');
    std::getline(fields, strokes);
    sample.lines = std::stoi(lines);
    sample.ink = parse_strokes(strokes);
    samples.push_back(sample);
  }
  return samples;
}

// The strokes of sample k (sample_of[s] for stroke s) lie on lines[k] text
// lines of their own.
bool lines_as_written(const testing::LinePassResult& result, const std::vector<int>& sample_of,
                      const std::vector<int>& lines) {
  std::map<int, int> sample_of_line;
  std::map<int, std::set<int>> lines_of_sample;
  for (std::size_t s = 0; s < result.line_of.size(); ++s) {
    const auto [entry, added] = sample_of_line.emplace(result.line_of[s], sample_of[s]);
    if (!added && entry->second != sample_of[s]) return false;
    lines_of_sample[sample_of[s]].insert(result.line_of[s]);
  }
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (static_cast<int>(lines_of_sample[static_cast<int>(k)].size()) != lines[k]) return false;
  }
  return true;
}

// The samples one below the other, `gap` units apart.
Ink stack(const std::vector<const Sample*>& samples, int gap, std::vector<int>* sample_of) {
  Ink page;
  int bottom = 0;
  for (std::size_t k = 0; k < samples.size(); ++k) {
    int top = 32767;
    int lowest = -32768;
    for (const InkStroke& stroke : samples[k]->ink) {
      for (const PackedPoint p : stroke) {
        top = std::min<int>(top, p.y);
        lowest = std::max<int>(lowest, p.y);
      }
    }
    const int shift = k == 0 ? 0 : bottom + gap - top;
    for (InkStroke stroke : samples[k]->ink) {
      for (PackedPoint& p : stroke) p.y = static_cast<std::int16_t>(p.y + shift);
      page.push_back(stroke);
      sample_of->push_back(static_cast<int>(k));
    }
    bottom = lowest + shift;
  }
  return page;
}

TEST(UnipenLinesTest, LinesComeOutAsWritten) {
  const std::vector<Sample> samples = read_samples();
  ASSERT_EQ(samples.size(), 60u);
  testing::LinePass pass;
  pass.params.skew_search = 1;

  int alone_right = 0;
  for (const Sample& sample : samples) {
    const testing::LinePassResult result = pass.run(sample.ink);
    ASSERT_EQ(result.status, 0);
    const std::vector<int> sample_of(sample.ink.size(), 0);
    const bool right = lines_as_written(result, sample_of, {sample.lines});
    alone_right += right ? 1 : 0;
    EXPECT_TRUE(right) << sample.writer << " \"" << sample.label << "\": " << result.lines;
  }

  std::map<std::string, std::vector<const Sample*>> by_writer;
  for (const Sample& sample : samples) by_writer[sample.writer].push_back(&sample);
  int pages_right = 0;
  for (const auto& [writer, page_samples] : by_writer) {
    std::vector<int> sample_of;
    std::vector<int> lines;
    for (const Sample* sample : page_samples) lines.push_back(sample->lines);
    const testing::LinePassResult result = pass.run(stack(page_samples, 20, &sample_of));
    ASSERT_EQ(result.status, 0);
    const bool right = lines_as_written(result, sample_of, lines);
    pages_right += right ? 1 : 0;
    EXPECT_TRUE(right) << writer << ": " << result.lines << " lines";
  }
  std::printf("lines alone right: %d of %zu; pages right: %d of %zu\n", alone_right,
              samples.size(), pages_right, by_writer.size());
}

}  // namespace
}  // namespace inkrec
