// The configurations as the registry keeps them, under the settings key's
// subkey "Language": "Configurations", one 84-byte record per configuration
// in ascending title order, and "Current", the current title as 4 bytes.
//
// A record is 21 little-endian 32-bit words: the title, up to 19 further
// charset ids in ascending order (unused places 0; a configuration with more
// keeps its first 19), and the dictionary flag (0 or 1). These bytes are
// what earlier saves left on the device, so their layout never changes.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/configurations/configurations.h"
#include "appplatform/registry.h"

namespace ductra {

inline constexpr std::u16string_view kConfigurationsKey = u"SOFTWARE\\Korvale Software\\Ductra\\9.0\\Language";
inline constexpr std::u16string_view kConfigurationsValue = u"Configurations";
inline constexpr std::u16string_view kCurrentConfigurationValue = u"Current";
// Records read back at most; a longer value is not loaded at all.
inline constexpr std::size_t kMaxStoredConfigurations = 50;
inline constexpr std::size_t kStoredFurtherCharsets = 19;

struct ConfigurationRecord {
  std::uint32_t title = 0;
  std::array<std::uint32_t, kStoredFurtherCharsets> further{};
  std::uint32_t use_dictionary = 0;
};
static_assert(std::endian::native == std::endian::little, "records are stored little-endian");
static_assert(sizeof(ConfigurationRecord) == 84);
static_assert(offsetof(ConfigurationRecord, title) == 0);
static_assert(offsetof(ConfigurationRecord, further) == 4);
static_assert(offsetof(ConfigurationRecord, use_dictionary) == 80);

ConfigurationRecord record_of(const Configuration& configuration);
// The further ids are the places up to the first 0. Nothing for title 0.
std::optional<Configuration> configuration_of(const ConfigurationRecord& record);

// Writes every configuration, then the current title. False when there is
// no current configuration (nothing is written) or a write fails.
bool save_configurations_to(const platform::Registry& registry, const Configurations& configurations);

// Replaces the configurations by the stored ones. False, with the
// configurations unchanged, when either value is missing or does not fit
// its buffer (more than 50 records, "Current" not 4 bytes), when there is no
// record or the current title is 0; false, with the configurations cleared,
// when no stored title is a free engine charset. Records with title 0, a
// title the engine does not know or one seen before are passed over; a
// current title naming none of them leaves the first one loaded current.
bool load_configurations_from(const platform::Registry& registry, Configurations* configurations);

}  // namespace ductra
