// Golden pictures for the drawing tests: a bitmap as text, one character a
// pixel, by a legend of colours kept at the top of the fixture file:
//
//   ; a comment
//   = . ffffff      (the character '.' stands for RGB ff ff ff)
//   = # 000000
//   ........        (then the rows)
//
// A colour the legend lacks shows as '?'. On a mismatch the picture drawn is
// written beside the test output as NAME.txt and NAME.png; with
// DUCTRA_UPDATE_GOLDEN=1 in the environment the fixture is rewritten instead
// (look at it before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/png_file.h"

namespace ductra::platform::testing {

inline std::filesystem::path output_dir() {
  std::filesystem::path dir = APPPLATFORM_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  return dir;
}

struct Golden {
  std::string legend_lines;
  std::map<ColorRef, char> legend;
  std::string rows;
};

inline Golden read_golden(const std::filesystem::path& file) {
  Golden golden;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with(";")) {
      golden.legend_lines += line + "\n";
    } else if (line.starts_with("= ") && line.size() >= 10) {
      golden.legend_lines += line + "\n";
      const unsigned long value = std::strtoul(line.substr(4).c_str(), nullptr, 16);
      golden.legend[rgb(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF))] = line[2];
    } else {
      golden.rows += line + "\n";
    }
  }
  return golden;
}

inline std::string render_rows(const Bitmap& bitmap, const std::map<ColorRef, char>& legend) {
  std::string rows;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const auto it = legend.find(bitmap.color_at(x, y));
      rows.push_back(it == legend.end() ? '?' : it->second);
    }
    rows.push_back('\n');
  }
  return rows;
}

// Compares the bitmap with the fixture NAME.txt, pixel by pixel.
inline void expect_golden(const Bitmap& bitmap, const std::string& name) {
  const std::filesystem::path fixture = std::filesystem::path(APPPLATFORM_FIXTURE_DIR) / (name + ".txt");
  const Golden golden = read_golden(fixture);
  ASSERT_FALSE(golden.legend.empty()) << "no legend in " << fixture;
  const std::string drawn = render_rows(bitmap, golden.legend);
  if (drawn == golden.rows) return;
  const char* update = std::getenv("DUCTRA_UPDATE_GOLDEN");
  const std::filesystem::path target =
      update && std::string(update) == "1" ? fixture : output_dir() / (name + ".txt");
  std::ofstream(target) << golden.legend_lines << drawn;
  write_png(bitmap, (output_dir() / (name + ".png")).string());
  ADD_FAILURE() << "the picture differs from " << fixture << "; drawn:\n" << drawn << "expected:\n" << golden.rows;
}

}  // namespace ductra::platform::testing
