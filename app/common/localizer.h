// The one place the application takes its user-visible texts from: the
// language bundle of the chosen interface language ("ductra_loc.LLLL.lang"
// beside the program), else the program's own (Russian) strings.
//
// set_language() picks the bundle of a language, else the English one
// (1033), else none (language() then reads 0 and every text comes from the
// program). Bundles never change once loaded, and a new one replaces the
// old in one step: a thread reading a text while another switches the
// language sees either language whole, never a bundle being freed. Every
// operation may be called from any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "app/common/message_format.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/resources/language_bundle.h"
#include "appplatform/resources/string_table.h"
#include "appplatform/window_types.h"

namespace ductra {

// The caption of every box of the application.
inline constexpr std::u16string_view kProductCaption = u"Ductra 9.0";

class Localizer {
 public:
  // `system_language` is what language 0 stands for; numbers are formatted
  // with the user's `decimal_separator`.
  Localizer(std::filesystem::path bundle_directory, std::uint16_t system_language,
            const platform::StringTable& own_strings, char16_t decimal_separator = u'.');

  // Language 0 follows the system (only the low 16 bits of any language id
  // count). True when a bundle is in use.
  bool set_language(std::uint32_t language);
  // The language of the bundle in use; 0 when the program's own strings are.
  std::uint16_t language() const;

  // Copies the string of `id` into the buffer, cut to fit and terminated:
  // from the bundle, else (missing or empty there) from the program. False,
  // with an empty buffer, when neither has it.
  bool get_string(std::uint32_t id, std::span<char16_t> buffer) const;
  // The same as a string; empty when neither has it.
  std::u16string string(std::uint32_t id) const;

  // String `id` formatted with `args` (see format_message), at most
  // `max_units` units. A bundle string whose conversions do not fit the
  // arguments is passed over for the program's own; empty when neither fits.
  std::u16string format(std::uint32_t id, std::span<const FormatArg> args, std::size_t max_units) const;

  // A message box of string ids (each text at most 255 units); caption 0
  // stands for "Ductra 9.0". Returns the button chosen.
  int message_box(platform::WindowHandle owner, std::uint32_t text_id, std::uint32_t caption_id,
                  std::uint32_t flags) const;

  // Dialogs: the program builds its own templates; a bundle translates
  // one by holding string d * 100 (d the template's id), its title, and
  // then string d * 100 + n for item n (from 1) of the template, where the
  // item's own text stays when the bundle has no such string. The bundle
  // that translates dialog `template_id`, or null when the program's own
  // texts are used.
  std::shared_ptr<const platform::LanguageBundle> dialog_module(int template_id) const;
  // `own` with the texts of the bundle that translates it, if any.
  platform::DialogTemplate localized_template(const platform::DialogTemplate& own) const;
  // Runs the localized form of `own` modally (platform::dialog_box).
  std::intptr_t dialog_box(const platform::DialogTemplate& own, platform::WindowHandle parent,
                           platform::DialogProcedure procedure, platform::LParam parameter) const;

  // The folder the bundles are looked for in.
  const std::filesystem::path& bundle_directory() const { return bundle_directory_; }

  // The bundle in use (null: none) and the program's own strings; what one
  // caller reads from a kept bundle stays one language.
  std::shared_ptr<const platform::LanguageBundle> bundle() const;
  const platform::StringTable& own_strings() const { return own_strings_; }

 private:
  const std::filesystem::path bundle_directory_;
  const std::uint16_t system_language_;
  const char16_t decimal_separator_;
  const platform::StringTable& own_strings_;
  mutable std::mutex mutex_;
  std::shared_ptr<const platform::LanguageBundle> bundle_;
  std::uint16_t language_ = 0;
};

// The process's one localizer: the shipped bundles, the system's language
// from the environment, the program's own strings. It starts with no bundle.
Localizer& localizer();

}  // namespace ductra
