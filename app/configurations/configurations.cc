#include "app/configurations/configurations.h"

#include <algorithm>
#include <iterator>

#include "app/common/charset_sets.h"
#include "app/configurations/language_charsets.h"

namespace ductra {
namespace {

constexpr CharsetId kHebrewCharset = 26;
constexpr CharsetId kArabicCharset = 39;
constexpr CharsetId kArabicDigitsCharset = 40;

template <std::size_t N>
bool holds(const std::array<std::uint32_t, N>& set, CharsetId id) {
  return std::ranges::find(set, id) != set.end();
}

template <std::size_t N>
CharsetSet set_of(const std::array<std::uint32_t, N>& ids) {
  return CharsetSet(ids.begin(), ids.end());
}

// Right-to-left scripts recognise alone and without a dictionary; digits
// come with the mathematical symbols; every language with the punctuation.
Configuration default_configuration(CharsetId id) {
  if (id == kHebrewCharset || id == kArabicCharset) return Configuration(id, {}, false);
  if (id == kDigitsCharset || id == kArabicDigitsCharset) {
    return Configuration(id, set_of(kDigitExtraCharsets), false);
  }
  return Configuration(id, set_of(kTextExtraCharsets), true);
}

}  // namespace

Configurations::Configurations(const CharsetSet& engine_charsets) {
  for (const CharsetId id : kAuxiliaryCharsets) {
    if (engine_charsets.contains(id)) auxiliary_.insert(id);
  }
  for (const CharsetId id : engine_charsets) {
    if (!holds(kNoDefaultCharsets, id)) add_charset(id, true);
  }
  select_first_known();
}

bool Configurations::add_charset(CharsetId id, bool forced) {
  if (id == 0) return false;
  if (free_.erase(id) == 0 && !forced) return false;
  return configurations_.emplace(id, default_configuration(id)).second;
}

bool Configurations::add(const Configuration& configuration) {
  if (free_.erase(configuration.title()) == 0) return false;
  if (current_ == 0) current_ = configuration.title();
  return configurations_.emplace(configuration.title(), configuration).second;
}

void Configurations::clear() {
  for (const auto& [title, configuration] : configurations_) free_.insert(title);
  configurations_.clear();
  current_ = 0;
}

void Configurations::make_default(std::uint16_t system_language) {
  const CharsetId main = main_charset_of_language(system_language);
  clear();
  const bool main_added = add_free_charset(main);
  if (main != kEnglishCharset) add_free_charset(kEnglishCharset);
  add_free_charset(kDigitsCharset);
  if (!select(main_added ? main : kEnglishCharset)) select_first_known();
}

bool Configurations::select(CharsetId title) {
  if (!configurations_.contains(title)) return false;
  current_ = title;
  return true;
}

CharsetId Configurations::select_next() {
  if (configurations_.empty()) return current_;
  auto next = configurations_.find(current_);
  next = next == configurations_.end() ? configurations_.begin() : std::next(next);
  if (next == configurations_.end()) next = configurations_.begin();
  current_ = next->first;
  return current_;
}

bool Configurations::select_first_known() {
  const auto known = std::ranges::find_if(
      configurations_, [this](const auto& entry) { return !auxiliary_.contains(entry.first); });
  if (known != configurations_.end()) {
    current_ = known->first;
  } else {
    select_next();
  }
  return current_ != 0;
}

const Configuration* Configurations::current_configuration() const {
  const auto found = configurations_.find(current_);
  return found != configurations_.end() ? &found->second : nullptr;
}

CharsetSet Configurations::current_charsets() const {
  const Configuration* current = current_configuration();
  if (current == nullptr) return {};
  CharsetSet ids = current->charsets();
  ids.insert(current->title());
  return ids;
}

CharsetSet Configurations::all_charsets() const {
  CharsetSet ids;
  for (const auto& [title, configuration] : configurations_) {
    ids.insert(title);
    ids.insert(configuration.charsets().begin(), configuration.charsets().end());
  }
  return ids;
}

void Configurations::remove(CharsetId title) {
  if (erase(title) == 0) return;
  free_.insert(title);
  if (title != current_) return;
  current_ = 0;
  select_next();
}

void Configurations::replace(const Configuration& configuration) {
  erase(configuration.title());
  configurations_.emplace(configuration.title(), configuration);
}

}  // namespace ductra
