// The user's list of recognition configurations, one of which is current,
// and the engine charsets that may still become the title of one.
//
// Configurations are kept in ascending title order with unique titles. A
// title is taken from the free set when its configuration is added and
// given back when it is removed or the list is cleared, so a title the
// engine does not know, or one already used, can never be added. The
// current title names a configuration whenever there is one (it is 0 only
// with an empty list, or before anything was chosen). UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "app/configurations/configuration.h"

namespace ductra {

using ConfigurationMap = std::map<CharsetId, Configuration>;

class Configurations {
 public:
  // The default configuration of every engine charset that may be a title;
  // the first that is not an auxiliary charset becomes current. The free
  // set starts empty.
  explicit Configurations(const CharsetSet& engine_charsets);

  // Adds the default configuration of a main charset. Unless `forced`, only
  // a free title is taken. False when nothing was added.
  bool add_charset(CharsetId id, bool forced);
  bool add_free_charset(CharsetId id) { return add_charset(id, false); }
  // Adds a loaded configuration when its title is free; the first one added
  // to an empty choice becomes current.
  bool add(const Configuration& configuration);
  // Every title back into the free set, no configuration, current 0.
  void clear();
  // The defaults of the system's language (a Windows language id): its
  // charset, English and digits, its charset current.
  void make_default(std::uint16_t system_language);

  // False, and nothing changed, for a title without configuration.
  bool select(CharsetId title);
  // The next configuration in title order (wrapping) becomes current, or the
  // first when current names none. Returns current.
  CharsetId select_next();
  // The first title that is no auxiliary charset, else as select_next();
  // whether there is a current configuration then.
  bool select_first_known();

  // The current configuration's charsets and its title; empty without one.
  CharsetSet current_charsets() const;
  const Configuration* current_configuration() const;
  // Every title and further charset of every configuration.
  CharsetSet all_charsets() const;

  std::size_t erase(CharsetId title) { return configurations_.erase(title); }
  // Erases the configuration, gives its title back, and when it was current
  // makes the first configuration current (0 when none is left).
  void remove(CharsetId title);
  // Puts `configuration` in place of the one with its title.
  void replace(const Configuration& configuration);

  const ConfigurationMap& configurations() const { return configurations_; }
  const CharsetSet& free() const { return free_; }
  // The auxiliary charsets the engine has.
  const CharsetSet& auxiliary() const { return auxiliary_; }
  CharsetId current() const { return current_; }

 private:
  ConfigurationMap configurations_;
  CharsetSet free_;
  CharsetSet auxiliary_;
  CharsetId current_ = 0;
};

}  // namespace ductra
