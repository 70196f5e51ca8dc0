// The application's fifteen settings, held as one plain value (the
// controller's copy, the settings sheet's working copy) and kept as DWORD
// values under HKLM "SOFTWARE\Korvale Software\Ductra\9.0".
//
// load() starts from the defaults and takes every stored value that is
// present as 4 bytes and within its range; anything else keeps the default,
// so a damaged registry never gives the application an unusable setting.
// save() writes all fifteen.
#pragma once

#include <cstdint>
#include <string_view>

#include "appplatform/registry.h"
#include "appplatform/status.h"

namespace ductra {

inline constexpr std::u16string_view kSettingsKey = u"SOFTWARE\\Korvale Software\\Ductra\\9.0";

// Ranges a stored value must keep to be taken.
inline constexpr std::int32_t kMinPenWidth = 1;
inline constexpr std::int32_t kMaxPenWidth = 30;
inline constexpr std::int32_t kMinTimeOut = 100;
inline constexpr std::int32_t kMaxTimeOut = 3000;
inline constexpr std::int32_t kLastSheetPage = 3;
inline constexpr std::int32_t kLastPromptFrequency = 3;
inline constexpr std::int32_t kLastRecognitionMode = 3;

inline constexpr std::int32_t kIntelligentMode = 3;
inline constexpr std::int32_t kNoIconPosition = -1;

struct Settings {
  std::int32_t sheet_page_number = 0;
  std::int32_t auto_space = 1;  // boolean
  std::int32_t time_out = 500;  // ms of pen rest before recognition; 400 once loaded
  std::int32_t pen_width = 2;
  std::uint32_t pen_color = 0xFF0000;  // COLORREF 0x00BBGGRR
  std::int32_t space_after_result = 1;  // boolean
  std::int32_t use_prompt = 0;          // 0 never, 1 rarely, 2 often, 3 always
  std::int32_t recognize_mode = 0;      // 0 joined, 1 separate, 2 letter by letter, 3 intelligent
  std::int32_t large_moving_icon = 0;   // boolean
  std::uint32_t language = 0;           // interface language id; 0: the system's
  std::uint32_t branding = 0;
  std::int32_t icon_landscape_x = kNoIconPosition;
  std::int32_t icon_landscape_y = kNoIconPosition;
  std::int32_t icon_portrait_x = kNoIconPosition;
  std::int32_t icon_portrait_y = kNoIconPosition;

  void set_defaults() { *this = Settings{}; }

  // Defaults, then the registry; the key is created when missing.
  void load(const platform::Registry& registry);
  // Writes all fifteen values; the first failure is returned, the other
  // values are written all the same.
  platform::Status save(const platform::Registry& registry) const;

  bool operator==(const Settings&) const = default;
};

}  // namespace ductra
