// A device root in a fresh temporary folder with its registry, removed
// with the object, and the stored values of the configurations' key.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "app/configurations/stored_configurations.h"
#include "appplatform/device_root.h"
#include "appplatform/registry.h"

namespace ductra::testing {

using Bytes = std::vector<std::byte>;

class ScratchDevice {
 public:
  ScratchDevice() : root_(make_folder()), registry_(root_) {}
  ~ScratchDevice() { std::filesystem::remove_all(root_.host()); }
  ScratchDevice(const ScratchDevice&) = delete;
  ScratchDevice& operator=(const ScratchDevice&) = delete;

  const platform::DeviceRoot& root() const { return root_; }
  const platform::Registry& registry() const { return registry_; }

  // Stores a binary value of the configurations' key (made when missing).
  void store(std::u16string_view name, std::span<const std::byte> bytes) const {
    EXPECT_EQ(registry_.create_key(platform::Hive::local_machine, kConfigurationsKey), platform::Status::ok);
    EXPECT_EQ(registry_.write_value(platform::Hive::local_machine, kConfigurationsKey, name,
                                    platform::ValueType::binary, bytes),
              platform::Status::ok);
  }

  // The value's bytes; empty when it is missing.
  Bytes stored(std::u16string_view name) const {
    std::uint32_t size = 0;
    if (registry_.read_value(platform::Hive::local_machine, kConfigurationsKey, name, nullptr, {}, &size) !=
        platform::Status::ok) {
      return {};
    }
    Bytes bytes(size);
    EXPECT_EQ(registry_.read_value(platform::Hive::local_machine, kConfigurationsKey, name, nullptr, bytes, &size),
              platform::Status::ok);
    return bytes;
  }

 private:
  static std::filesystem::path make_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ductra-configurations-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }

  platform::DeviceRoot root_;
  platform::Registry registry_;
};

}  // namespace ductra::testing
