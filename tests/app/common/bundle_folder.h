// A temporary folder of language bundles written by the test.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "appplatform/resources/language_bundle.h"

namespace ductra::testing {

class BundleFolder {
 public:
  BundleFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-bundles-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~BundleFolder() { std::filesystem::remove_all(path_); }
  BundleFolder(const BundleFolder&) = delete;
  BundleFolder& operator=(const BundleFolder&) = delete;

  // Writes the bundle of `language` with the UTF-8 `text`.
  void write(std::uint16_t language, const std::string& text) const {
    std::ofstream(path_ / platform::bundle_file_name(language), std::ios::binary) << text;
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ductra::testing
