// One recognition configuration: a main charset (its title, never 0) and the
// further charsets the engine recognises together with it, plus whether
// recognition under it uses the word dictionary.
//
// The title is the configuration's key: the further charsets never hold it,
// whichever way they were given.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace ductra {

using CharsetId = std::uint32_t;
using CharsetSet = std::set<CharsetId>;

class Configuration {
 public:
  // The key form: no further charsets, the dictionary used.
  explicit Configuration(CharsetId title) : title_(title) {}
  Configuration(CharsetId title, CharsetSet charsets, bool use_dictionary);

  // From stored values: values[0] the title, the rest the further ids; the
  // dictionary used. Nothing for an empty list or a title of 0.
  static std::optional<Configuration> from_values(std::span<const CharsetId> values);

  // [title, further ids in ascending order].
  std::vector<CharsetId> to_values() const;

  void add_charset(CharsetId id);  // the title is never added
  void remove_charset(CharsetId id) { charsets_.erase(id); }

  CharsetId title() const { return title_; }
  const CharsetSet& charsets() const { return charsets_; }
  bool use_dictionary() const { return use_dictionary_; }

 private:
  CharsetId title_;
  CharsetSet charsets_;
  bool use_dictionary_ = true;
};

}  // namespace ductra
