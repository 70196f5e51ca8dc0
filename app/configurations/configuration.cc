#include "app/configurations/configuration.h"

#include <utility>

namespace ductra {

Configuration::Configuration(CharsetId title, CharsetSet charsets, bool use_dictionary)
    : title_(title), charsets_(std::move(charsets)), use_dictionary_(use_dictionary) {
  charsets_.erase(title_);
}

std::optional<Configuration> Configuration::from_values(std::span<const CharsetId> values) {
  if (values.empty() || values[0] == 0) return std::nullopt;
  return Configuration(values[0], CharsetSet(values.begin() + 1, values.end()), true);
}

std::vector<CharsetId> Configuration::to_values() const {
  std::vector<CharsetId> values{title_};
  values.insert(values.end(), charsets_.begin(), charsets_.end());
  return values;
}

void Configuration::add_charset(CharsetId id) {
  if (id != title_) charsets_.insert(id);
}

}  // namespace ductra
