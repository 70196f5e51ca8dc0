#include "app/configurations/stored_configurations.h"

#include <algorithm>
#include <span>
#include <vector>

#include "app/common/registry_key.h"

namespace ductra {
namespace {

using platform::Hive;

bool read_value(const platform::Registry& registry, std::u16string_view name, std::span<std::byte> buffer,
                std::uint32_t* size) {
  return read_registry_value(registry, Hive::local_machine, kConfigurationsKey, name, buffer, size);
}

bool write_value(const platform::Registry& registry, std::u16string_view name, std::span<const std::byte> data) {
  return write_registry_value(registry, kConfigurationsKey, name, data, platform::ValueType::binary) ==
         platform::Status::ok;
}

}  // namespace

ConfigurationRecord record_of(const Configuration& configuration) {
  ConfigurationRecord record;
  record.title = configuration.title();
  const std::size_t kept = std::min(configuration.charsets().size(), kStoredFurtherCharsets);
  std::copy_n(configuration.charsets().begin(), kept, record.further.begin());
  record.use_dictionary = configuration.use_dictionary() ? 1 : 0;
  return record;
}

std::optional<Configuration> configuration_of(const ConfigurationRecord& record) {
  if (record.title == 0) return std::nullopt;
  const auto end = std::ranges::find(record.further, 0u);
  return Configuration(record.title, CharsetSet(record.further.begin(), end), record.use_dictionary != 0);
}

bool save_configurations_to(const platform::Registry& registry, const Configurations& configurations) {
  const CharsetId current = configurations.current();
  if (current == 0 || configurations.configurations().empty()) return false;
  std::vector<ConfigurationRecord> records;
  for (const auto& [title, configuration] : configurations.configurations()) {
    records.push_back(record_of(configuration));
  }
  return write_value(registry, kConfigurationsValue, std::as_bytes(std::span(records))) &&
         write_value(registry, kCurrentConfigurationValue, std::as_bytes(std::span(&current, 1)));
}

bool load_configurations_from(const platform::Registry& registry, Configurations* configurations) {
  std::array<ConfigurationRecord, kMaxStoredConfigurations> records;
  std::uint32_t size = 0;
  if (!read_value(registry, kConfigurationsValue, std::as_writable_bytes(std::span(records)), &size)) {
    return false;
  }
  CharsetId current = 0;
  std::uint32_t current_size = 0;
  if (!read_value(registry, kCurrentConfigurationValue, std::as_writable_bytes(std::span(&current, 1)),
                  &current_size) ||
      current_size != sizeof current) {
    return false;
  }
  const std::size_t count = size / sizeof(ConfigurationRecord);
  if (count == 0 || current == 0) return false;
  configurations->clear();
  for (const ConfigurationRecord& record : std::span(records).first(count)) {
    if (const std::optional<Configuration> configuration = configuration_of(record)) {
      configurations->add(*configuration);
    }
  }
  if (configurations->configurations().empty()) return false;
  configurations->select(current);
  return true;
}

}  // namespace ductra
