#include "app/common/settings.h"

#include "app/common/registry_key.h"

namespace ductra {
namespace {

constexpr std::int32_t kLoadedTimeOut = 400;
constexpr std::int32_t kLoadedPenWidth = 2;

bool within(std::int64_t value, std::int64_t low, std::int64_t high) { return value >= low && value <= high; }

// Takes a stored signed value when it lies within [low, high].
void take_in_range(const RegistryKey& key, std::u16string_view name, std::int32_t low, std::int32_t high,
                   std::int32_t* field) {
  std::uint32_t stored = 0;
  if (key.read_dword(name, &stored) && within(static_cast<std::int32_t>(stored), low, high)) {
    *field = static_cast<std::int32_t>(stored);
  }
}

void take_signed(const RegistryKey& key, std::u16string_view name, std::int32_t* field) {
  std::uint32_t stored = 0;
  if (key.read_dword(name, &stored)) *field = static_cast<std::int32_t>(stored);
}

void take_unsigned(const RegistryKey& key, std::u16string_view name, std::uint32_t* field) {
  std::uint32_t stored = 0;
  if (key.read_dword(name, &stored)) *field = stored;
}

void take_bool(const RegistryKey& key, std::u16string_view name, std::int32_t* field) {
  std::uint32_t stored = 0;
  if (key.read_bool(name, &stored)) *field = static_cast<std::int32_t>(stored);
}

std::uint32_t as_bool(std::int32_t value) { return value != 0 ? 1 : 0; }

}  // namespace

void Settings::load(const platform::Registry& registry) {
  set_defaults();
  const RegistryKey key(registry, kSettingsKey);
  take_unsigned(key, u"branding", &branding);
  time_out = kLoadedTimeOut;
  pen_width = kLoadedPenWidth;
  take_in_range(key, u"SheetPageNumber", 0, kLastSheetPage, &sheet_page_number);
  take_bool(key, u"SpaceAfterResult", &space_after_result);
  take_bool(key, u"AutoSpace", &auto_space);
  take_in_range(key, u"PenWidth", kMinPenWidth, kMaxPenWidth, &pen_width);
  take_in_range(key, u"TimeOut", kMinTimeOut, kMaxTimeOut, &time_out);
  take_in_range(key, u"UsePrompt", 0, kLastPromptFrequency, &use_prompt);
  take_unsigned(key, u"PenColor", &pen_color);
  take_bool(key, u"large_moving_icon", &large_moving_icon);
  take_unsigned(key, u"Language", &language);
  take_signed(key, u"icon_landscape_x_", &icon_landscape_x);
  take_signed(key, u"icon_landscape_y_", &icon_landscape_y);
  take_signed(key, u"icon_portrait_x_", &icon_portrait_x);
  take_signed(key, u"icon_portrait_y_", &icon_portrait_y);
  recognize_mode = 0;
  take_in_range(key, u"recognize_mode_", 0, kLastRecognitionMode, &recognize_mode);
}

platform::Status Settings::save(const platform::Registry& registry) const {
  const RegistryKey key(registry, kSettingsKey);
  const std::pair<std::u16string_view, std::uint32_t> values[] = {
      {u"SheetPageNumber", static_cast<std::uint32_t>(sheet_page_number)},
      {u"SpaceAfterResult", as_bool(space_after_result)},
      {u"AutoSpace", as_bool(auto_space)},
      {u"PenWidth", static_cast<std::uint32_t>(pen_width)},
      {u"TimeOut", static_cast<std::uint32_t>(time_out)},
      {u"UsePrompt", static_cast<std::uint32_t>(use_prompt)},
      {u"PenColor", pen_color},
      {u"Language", language},
      {u"branding", branding},
      {u"large_moving_icon", as_bool(large_moving_icon)},
      {u"icon_landscape_x_", static_cast<std::uint32_t>(icon_landscape_x)},
      {u"icon_landscape_y_", static_cast<std::uint32_t>(icon_landscape_y)},
      {u"icon_portrait_x_", static_cast<std::uint32_t>(icon_portrait_x)},
      {u"icon_portrait_y_", static_cast<std::uint32_t>(icon_portrait_y)},
      {u"recognize_mode_", static_cast<std::uint32_t>(recognize_mode)},
  };
  platform::Status first_failure = platform::Status::ok;
  for (const auto& [name, value] : values) {
    const platform::Status status = key.write_dword(name, value);
    if (first_failure == platform::Status::ok) first_failure = status;
  }
  return first_failure;
}

}  // namespace ductra
