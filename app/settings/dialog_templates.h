// The program's own dialog templates: the ids, classes, texts and fonts of
// every dialog and settings page, laid out for a screen 240 pixels wide
// (a full-screen dialog is stretched to the screen; a page fills the
// sheet). The localizer translates their texts.
#pragma once

#include <optional>

#include "appplatform/dialog/dialog_template.h"

namespace ductra {

// Template ids.
inline constexpr int kStandardPageTemplate = 100;
inline constexpr int kRecognitionPageTemplate = 101;
inline constexpr int kCopybookTemplate = 120;
inline constexpr int kWordTemplate = 127;
inline constexpr int kDictionariesTemplate = 130;
inline constexpr int kInstallationDoneTemplate = 133;
inline constexpr int kAdvancedSettingsTemplate = 135;
inline constexpr int kProfilesPageTemplate = 139;
inline constexpr int kAddConfigurationTemplate = 142;
inline constexpr int kExtraCharsetsTemplate = 143;
inline constexpr int kAddExtraCharsetsTemplate = 145;
inline constexpr int kAboutPageTemplate = 151;
inline constexpr int kPartnerAboutPageTemplate = 152;
inline constexpr int kFlourishesTemplate = 154;
inline constexpr int kPartnerAboutPage2Template = 155;

// The template of `id`; nothing for an id the program has no template of.
std::optional<platform::DialogTemplate> own_dialog_template(int id);

}  // namespace ductra
