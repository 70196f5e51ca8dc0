#include "app/common/localizer.h"

#include <array>

#include "appplatform/message_box.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/system_facts.h"

namespace ductra {
namespace {

constexpr std::size_t kBoxTextUnits = 256;
constexpr std::uint32_t kTextsPerDialog = 100;

std::uint32_t dialog_text_id(int template_id, std::size_t item) {
  return static_cast<std::uint32_t>(template_id) * kTextsPerDialog + static_cast<std::uint32_t>(item);
}

const std::u16string* find_in(const platform::LanguageBundle* bundle, std::uint32_t id) {
  return bundle != nullptr ? bundle->strings().find(id) : nullptr;
}

}  // namespace

Localizer::Localizer(std::filesystem::path bundle_directory, std::uint16_t system_language,
                     const platform::StringTable& own_strings, char16_t decimal_separator)
    : bundle_directory_(std::move(bundle_directory)),
      system_language_(system_language),
      decimal_separator_(decimal_separator),
      own_strings_(own_strings) {}

bool Localizer::set_language(std::uint32_t language) {
  const std::uint16_t wanted = language != 0 ? static_cast<std::uint16_t>(language & 0xFFFF) : system_language_;
  platform::FoundBundle found = platform::find_language_bundle(bundle_directory_, wanted);
  std::lock_guard lock(mutex_);
  bundle_ = std::move(found.bundle);
  language_ = found.language;
  return bundle_ != nullptr;
}

std::uint16_t Localizer::language() const {
  std::lock_guard lock(mutex_);
  return language_;
}

std::shared_ptr<const platform::LanguageBundle> Localizer::bundle() const {
  std::lock_guard lock(mutex_);
  return bundle_;
}

bool Localizer::get_string(std::uint32_t id, std::span<char16_t> buffer) const {
  const std::shared_ptr<const platform::LanguageBundle> kept = bundle();
  const platform::StringTable& table = find_in(kept.get(), id) != nullptr ? kept->strings() : own_strings_;
  return table.load(id, buffer) > 0;
}

std::u16string Localizer::string(std::uint32_t id) const {
  const std::shared_ptr<const platform::LanguageBundle> kept = bundle();
  if (const std::u16string* text = find_in(kept.get(), id)) return *text;
  const std::u16string* own = own_strings_.find(id);
  return own != nullptr ? *own : std::u16string{};
}

std::u16string Localizer::format(std::uint32_t id, std::span<const FormatArg> args, std::size_t max_units) const {
  const std::shared_ptr<const platform::LanguageBundle> kept = bundle();
  if (const std::u16string* text = find_in(kept.get(), id)) {
    if (auto formatted = format_message(*text, args, max_units, decimal_separator_)) return *formatted;
  }
  if (const std::u16string* own = own_strings_.find(id)) {
    if (auto formatted = format_message(*own, args, max_units, decimal_separator_)) return *formatted;
  }
  return {};
}

int Localizer::message_box(platform::WindowHandle owner, std::uint32_t text_id, std::uint32_t caption_id,
                           std::uint32_t flags) const {
  std::array<char16_t, kBoxTextUnits> text{};
  std::array<char16_t, kBoxTextUnits> caption{};
  get_string(text_id, text);
  if (caption_id == 0) {
    return platform::message_box(owner, text.data(), kProductCaption, flags);
  }
  get_string(caption_id, caption);
  return platform::message_box(owner, text.data(), caption.data(), flags);
}

std::shared_ptr<const platform::LanguageBundle> Localizer::dialog_module(int template_id) const {
  std::shared_ptr<const platform::LanguageBundle> kept = bundle();
  const bool holds = template_id > 0 && find_in(kept.get(), dialog_text_id(template_id, 0)) != nullptr;
  return holds ? kept : nullptr;
}

platform::DialogTemplate Localizer::localized_template(const platform::DialogTemplate& own) const {
  const std::shared_ptr<const platform::LanguageBundle> module = dialog_module(own.id);
  if (!module) return own;
  platform::DialogTemplate localized = own;
  localized.title = *module->strings().find(dialog_text_id(own.id, 0));
  for (std::size_t i = 0; i < localized.items.size() && i + 1 < kTextsPerDialog; ++i) {
    if (const std::u16string* text = module->strings().find(dialog_text_id(own.id, i + 1))) {
      localized.items[i].text = *text;
    }
  }
  return localized;
}

std::intptr_t Localizer::dialog_box(const platform::DialogTemplate& own, platform::WindowHandle parent,
                                    platform::DialogProcedure procedure, platform::LParam parameter) const {
  return platform::dialog_box(localized_template(own), parent, procedure, parameter);
}

Localizer& localizer() {
  static const platform::SystemFacts facts = platform::SystemFacts::from_environment();
  static Localizer the_localizer(platform::shipped_bundle_directory(), facts.language_id, platform::builtin_strings(),
                                 facts.decimal_separator);
  return the_localizer;
}

}  // namespace ductra
