// The configurations as the controller uses them: built from the engine's
// charsets, loaded from and saved to the registry, defaulted by the system
// language; the current one handed to the engine as its active charsets,
// shown in the tool window, and offered in the options menu.
//
// The engine keeps its active charsets whenever they cannot be replaced:
// when it cannot count its charsets, when it refuses the new ones, or when
// none of the current configuration's charsets is known to it (ids it does
// not know are left out, never sent). UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "app/common/localizer.h"
#include "app/configurations/configurations.h"
#include "app/shell/controller_parts.h"
#include "app/shell/engine.h"
#include "appplatform/popup_menu.h"
#include "appplatform/registry.h"
#include "appplatform/window_system.h"

namespace ductra {

// apply_configuration()'s status when no charset of the configuration is
// known to the engine.
inline constexpr int kNoKnownCharset = -2;
// The tool window's label when the engine has no code for the charset.
inline constexpr std::u16string_view kUnknownCharsetLabel = u"??";

class RecognitionConfigurations final : public ConfigurationControl {
 public:
  // Everything given must outlive this object. `system_language` is the
  // Windows language id the defaults follow.
  RecognitionConfigurations(Engine& engine, const platform::Registry& registry, const Localizer& localizer,
                            platform::WindowSystem& window_system, SmallWindows& windows,
                            SegmenterControl& segmenter, std::uint16_t system_language);

  void build_configurations() override;
  bool load_configurations() override;
  void make_default_configurations() override;
  bool save_configurations() override;
  void destroy_configurations() override;
  bool has_current() override;
  bool current_uses_dictionary() override;
  void select_next() override;
  bool select(std::uint32_t title) override;
  int apply_configuration() override;
  void refresh_indicator(bool active, bool key_row) override;
  int run_options_menu(platform::WindowHandle owner, platform::Point where, bool offer_separate_letters,
                       bool separate_letters) override;

  // The model itself, for the pages that edit it.
  Configurations& configurations() { return configurations_; }

 private:
  CharsetSet engine_charsets();
  bool engine_knows(CharsetId id);
  std::u16string current_label();
  bool fill_options_menu(platform::PopupMenu* menu, bool offer_separate_letters, bool separate_letters);

  Engine& engine_;
  const platform::Registry& registry_;
  const Localizer& localizer_;
  platform::WindowSystem& window_system_;
  SmallWindows& windows_;
  SegmenterControl& segmenter_;
  const std::uint16_t system_language_;
  Configurations configurations_{CharsetSet{}};
};

}  // namespace ductra
