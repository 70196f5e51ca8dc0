#include "engine/database/prefix_cache.h"

#include <algorithm>
#include <utility>


namespace inkrec {

PrefixCache::PrefixCache() { entries_.reserve_total(32); }

void PrefixCache::clear() {
  prefix_length_ = 0;
  entries_.clear();
}

void PrefixCache::swap(PrefixCache& other) noexcept {
  std::swap(prefix_, other.prefix_);
  std::swap(prefix_length_, other.prefix_length_);
  entries_.swap(other.entries_);
}

bool PrefixCache::reset(std::u16string_view prefix) {
  clear();
  if (prefix.empty() || prefix.size() > kMaxUnits) return false;
  std::copy(prefix.begin(), prefix.end(), prefix_);
  prefix_length_ = static_cast<std::uint32_t>(prefix.size());
  return true;
}

bool PrefixCache::append(std::u16string_view suffix) {
  PrefixCacheEntry entry{};
  entry.suffix_length = static_cast<std::uint32_t>(suffix.size());
  std::copy_n(suffix.begin(), std::min<std::size_t>(suffix.size(), kMaxUnits), entry.suffix);
  if (entries_.push_back(entry) == kOk) return true;
  clear();
  return false;
}

bool PrefixCache::covers(std::u16string_view text) const {
  if (is_empty() || text.size() < prefix_length_) return false;
  if (text.size() - prefix_length_ >= kMaxUnits) return false;
  return text.substr(0, prefix_length_) == std::u16string_view(prefix_, prefix_length_);
}

}  // namespace inkrec
