// Pictures of the screen for the ink tests: every picture is written to the
// test output as NAME.png, and compared pixel by pixel with the committed
// fixture NAME.txt (tests/fixtures/app): a legend of one character per
// colour ("= c rrggbb"), then the rows. Blended ink has many colours, so
// the legend is made from the picture when the fixture is written:
// DUCTRA_UPDATE_GOLDEN=1 rewrites it (look at the PNG first). On a mismatch
// the picture drawn is written beside the PNG as NAME.txt.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "appplatform/draw/bitmap.h"
#include "appplatform/draw/png_file.h"

namespace ductra::testing {

inline std::filesystem::path app_output_dir() {
  std::filesystem::path dir = APP_TEST_OUTPUT_DIR;
  std::filesystem::create_directories(dir);
  return dir;
}

// The picture as fixture text, with a legend of the colours it holds in
// the order they first appear.
inline std::string picture_text(const platform::Bitmap& bitmap) {
  static constexpr std::string_view kSymbols =
      ".#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+*%&@$=-~^:;!?<>()[]{}|/";
  std::map<platform::ColorRef, char> legend;
  std::string legend_lines;
  std::string rows;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const platform::ColorRef colour = bitmap.color_at(x, y);
      auto it = legend.find(colour);
      if (it == legend.end()) {
        const char symbol = legend.size() < kSymbols.size() ? kSymbols[legend.size()] : '?';
        it = legend.emplace(colour, symbol).first;
        char line[16];
        std::snprintf(line, sizeof line, "= %c %02x%02x%02x\n", symbol, platform::red_of(colour),
                      platform::green_of(colour), platform::blue_of(colour));
        legend_lines += line;
      }
      rows.push_back(it->second);
    }
    rows.push_back('\n');
  }
  return legend_lines + rows;
}

// The fixture's picture read back into the same text form, so that two
// pictures with the same pixels compare equal whatever the legend's order.
inline std::string canonical_fixture(const std::filesystem::path& file, int width, int height) {
  std::ifstream in(file);
  std::map<char, platform::ColorRef> colours;
  auto bitmap = platform::Bitmap::create_rgb565(width, height);
  std::string line;
  int y = 0;
  while (std::getline(in, line)) {
    if (line.starts_with(";")) continue;
    if (line.starts_with("= ") && line.size() >= 10) {
      const unsigned long value = std::strtoul(line.substr(4).c_str(), nullptr, 16);
      colours[line[2]] = platform::rgb(static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xFF),
                                       static_cast<int>(value & 0xFF));
    } else if (!line.empty() && y < height) {
      if (static_cast<int>(line.size()) != width) return "row " + std::to_string(y) + " has the wrong width";
      for (int x = 0; x < width; ++x) {
        const auto it = colours.find(line[static_cast<std::size_t>(x)]);
        if (it == colours.end()) return "unknown symbol in row " + std::to_string(y);
        bitmap->set_color(x, y, it->second);
      }
      ++y;
    }
  }
  if (y != height) return "the fixture has " + std::to_string(y) + " rows";
  return picture_text(*bitmap);
}

inline void expect_picture(const platform::Bitmap& bitmap, const std::string& name) {
  EXPECT_TRUE(platform::write_png(bitmap, (app_output_dir() / (name + ".png")).string()));
  const std::filesystem::path fixture = std::filesystem::path(DUCTRA_TEST_DATA_DIR) / "app" / (name + ".txt");
  const std::string drawn = picture_text(bitmap);
  const char* update = std::getenv("DUCTRA_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::filesystem::create_directories(fixture.parent_path());
    std::ofstream(fixture) << "; " << name << "\n" << drawn;
    return;
  }
  if (canonical_fixture(fixture, bitmap.width(), bitmap.height()) == drawn) return;
  std::ofstream(app_output_dir() / (name + ".txt")) << drawn;
  ADD_FAILURE() << "the picture differs from " << fixture << "; drawn:\n" << drawn;
}

}  // namespace ductra::testing
