// What the settings pages and their dialogs use of the rest of the
// application: the help launcher, the dialogs that other parts of the
// application own (the copybook and the user dictionaries), the engine's
// version and charsets, and the browser.
#pragma once

#include <functional>

#include "app/common/charset_names.h"
#include "app/common/hyperlink.h"
#include "app/configurations/configurations.h"
#include "app/settings/help_launcher.h"
#include "appplatform/window_types.h"

namespace ductra {

// The dialogs opened from the settings that live elsewhere. UI thread.
class SettingsDialogs {
 public:
  virtual ~SettingsDialogs() = default;
  // The copybook, at charset `charset` (0: the first of its list).
  virtual void run_copybook(platform::WindowHandle parent, CharsetId charset) = 0;
  // The user dictionaries, with the recognition mode of the sheet's copy
  // of the settings; the configurations' dictionary switches change in
  // place.
  virtual void run_dictionaries(platform::WindowHandle parent, int recognize_mode,
                                Configurations& configurations) = 0;
};

// The engine's version text into a buffer of `size` bytes (crmGetVersion);
// the engine's answer, above 0 when it has a version.
using EngineVersion = std::function<int(char* buffer, int size)>;

struct PageServices {
  const HelpLauncher& help;
  SettingsDialogs& dialogs;
  EngineVersion engine_version;
  Hyperlink::UrlOpener open_url;
  // The engine's record of a charset, for the names the string table lacks.
  CharsetLookup charsets;
};

}  // namespace ductra
