#include "app/common/localizer.h"

#include <array>

#include "appplatform/message_box.h"
#include "appplatform/resources/builtin_resources.h"
#include "appplatform/system_facts.h"

namespace ductra {
namespace {

constexpr std::size_t kBoxTextUnits = 256;

const std::u16string* find_in(const platform::LanguageBundle* bundle, std::uint32_t id) {
  return bundle != nullptr ? bundle->strings().find(id) : nullptr;
}

}  // namespace

Localizer::Localizer(std::filesystem::path bundle_directory, std::uint16_t system_language,
                     const platform::StringTable& own_strings)
    : bundle_directory_(std::move(bundle_directory)), system_language_(system_language), own_strings_(own_strings) {}

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
    if (auto formatted = format_message(*text, args, max_units)) return *formatted;
  }
  if (const std::u16string* own = own_strings_.find(id)) {
    if (auto formatted = format_message(*own, args, max_units)) return *formatted;
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

Localizer& localizer() {
  static Localizer the_localizer(platform::shipped_bundle_directory(),
                                 platform::SystemFacts::from_environment().language_id,
                                 platform::builtin_strings());
  return the_localizer;
}

}  // namespace ductra
