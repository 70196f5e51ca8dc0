#include "app/configurations/recognition_configurations.h"

#include <algorithm>
#include <vector>

#include "app/common/charset_names.h"
#include "app/configurations/stored_configurations.h"

namespace ductra {
namespace {

// Engine records are asked for into a record marked "none".
constexpr std::uint32_t kNoRecordId = static_cast<std::uint32_t>(-127);
constexpr std::uint32_t kOptionsTitleString = 40018;
constexpr std::uint32_t kSeparateLettersString = 26;
constexpr int kCharsetNameKind = 0;
constexpr std::uint32_t kOptionsMenuFlags =
    platform::TPM_RETURNCMD | platform::TPM_NONOTIFY | platform::TPM_BOTTOMALIGN;

crCharSet none_record() {
  crCharSet record{};
  record.id = kNoRecordId;
  return record;
}

std::uint32_t checked_if(bool checked) { return checked ? platform::MF_CHECKED : platform::MF_STRING; }

}  // namespace

RecognitionConfigurations::RecognitionConfigurations(Engine& engine, const platform::Registry& registry,
                                                     const Localizer& localizer,
                                                     platform::WindowSystem& window_system, SmallWindows& windows,
                                                     SegmenterControl& segmenter, std::uint16_t system_language)
    : engine_(engine),
      registry_(registry),
      localizer_(localizer),
      window_system_(window_system),
      windows_(windows),
      segmenter_(segmenter),
      system_language_(system_language) {}

CharsetSet RecognitionConfigurations::engine_charsets() {
  CharsetSet ids;
  std::uint32_t count = 0;
  if (engine_.char_set_count(&count) != 0) return ids;
  for (std::uint32_t index = 0; index < count; ++index) {
    crCharSet record = none_record();
    if (engine_.char_set_by_index(index, &record) == 0) ids.insert(record.id);
  }
  return ids;
}

bool RecognitionConfigurations::engine_knows(CharsetId id) {
  crCharSet record = none_record();
  return engine_.char_set(id, &record) == 0;
}

void RecognitionConfigurations::build_configurations() { configurations_ = Configurations(engine_charsets()); }

bool RecognitionConfigurations::load_configurations() {
  return load_configurations_from(registry_, &configurations_);
}

void RecognitionConfigurations::make_default_configurations() { configurations_.make_default(system_language_); }

bool RecognitionConfigurations::save_configurations() {
  return save_configurations_to(registry_, configurations_);
}

void RecognitionConfigurations::destroy_configurations() { configurations_ = Configurations(CharsetSet{}); }

bool RecognitionConfigurations::has_current() { return configurations_.current_configuration() != nullptr; }

bool RecognitionConfigurations::current_uses_dictionary() {
  const Configuration* current = configurations_.current_configuration();
  return current != nullptr && current->use_dictionary();
}

void RecognitionConfigurations::select_next() { configurations_.select_next(); }

bool RecognitionConfigurations::select(std::uint32_t title) { return configurations_.select(title); }

int RecognitionConfigurations::apply_configuration() {
  std::uint32_t count = 0;
  if (const int status = engine_.char_set_count(&count); status != 0) return status;
  std::vector<std::uint32_t> known;
  for (const CharsetId id : configurations_.current_charsets()) {
    if (engine_knows(id)) known.push_back(id);
  }
  if (known.empty()) return kNoKnownCharset;
  if (const int status = engine_.set_active_charsets(known); status != 0) return status;
  segmenter_.set_segmenter_charsets(known);
  return 0;
}

std::u16string RecognitionConfigurations::current_label() {
  crCharSet record = none_record();
  if (engine_.char_set(configurations_.current(), &record) != 0) return std::u16string(kUnknownCharsetLabel);
  const auto code_end = std::ranges::find(record.word_list_code, u'\0');
  return std::u16string(std::begin(record.word_list_code), code_end);
}

void RecognitionConfigurations::refresh_indicator(bool active, bool key_row) {
  windows_.show_keyboard(!windows_.tool_is_movable() && active, key_row);
  windows_.set_tool_expanded(key_row);
  windows_.update_tool_window(current_label(), active);
}

bool RecognitionConfigurations::fill_options_menu(platform::PopupMenu* menu, bool offer_separate_letters,
                                                  bool separate_letters) {
  bool filled = menu->append(platform::MF_STRING, kOptionsSettingsItem, localizer_.string(kOptionsTitleString)) &&
                menu->append(platform::MF_SEPARATOR, 0, u"");
  if (offer_separate_letters) {
    filled = filled &&
             menu->append(checked_if(separate_letters), kOptionsSeparateLettersItem,
                          localizer_.string(kSeparateLettersString)) &&
             menu->append(platform::MF_SEPARATOR, 0, u"");
  }
  const CharsetLookup lookup = [this](std::uint32_t id, crCharSet* record) { return engine_.char_set(id, record); };
  for (const auto& [title, configuration] : configurations_.configurations()) {
    filled = filled && menu->append(checked_if(title == configurations_.current()),
                                    kOptionsFirstConfigurationItem + static_cast<int>(title),
                                    charset_display_name(localizer_, lookup, title, kCharsetNameKind));
  }
  return filled;
}

int RecognitionConfigurations::run_options_menu(platform::WindowHandle owner, platform::Point where,
                                                bool offer_separate_letters, bool separate_letters) {
  platform::PopupMenu menu;
  if (!fill_options_menu(&menu, offer_separate_letters, separate_letters)) return 0;
  const platform::WindowHandle foreground = window_system_.foreground_window();
  window_system_.set_foreground_window(owner);
  const int chosen = platform::track_popup_menu(menu, kOptionsMenuFlags, where.x, where.y, owner);
  if (foreground) window_system_.set_foreground_window(foreground);
  return chosen;
}

}  // namespace ductra
