// A device root in a fresh temporary folder, removed with the fixture, and
// its registry.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "appplatform/device_root.h"
#include "appplatform/registry.h"

namespace ductra::testing {

class TempDevice : public ::testing::Test {
 protected:
  TempDevice() : root_(make_folder()), registry_(root_) {}
  ~TempDevice() override { std::filesystem::remove_all(root_.host()); }

  const platform::DeviceRoot& root() const { return root_; }
  const platform::Registry& registry() const { return registry_; }

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-app-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  platform::DeviceRoot root_;
  platform::Registry registry_;
};

}  // namespace ductra::testing
