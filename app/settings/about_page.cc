#include "app/settings/about_page.h"

#include <array>
#include <string>

#include "app/common/localizer.h"
#include "app/common/ui_helpers.h"
#include "app/settings/dialog_templates.h"

namespace ductra {
namespace {

constexpr int kProgramName = 1048;
constexpr int kProgramBuildLine = 1011;
constexpr int kEngineBuildLine = 1018;
constexpr int kMakerLink = 1031;
constexpr int kSupportLink = 1032;
constexpr int kMorePrograms = 1053;
constexpr int kMoreProgramsLink = 1033;
constexpr int kMoreButton = 1065;
constexpr int kPartnerLink = 1034;
constexpr std::uint32_t kMakerText = 501, kMakerUrl = 502;
constexpr std::uint32_t kMoreText = 503, kMoreUrl = 504;
constexpr std::uint32_t kSupportText = 505, kSupportUrl = 506;
constexpr std::uint32_t kPartnerSupportText = 20, kPartnerSupportUrl = 25;
constexpr std::uint32_t kPartnerText = 35, kPartnerUrl = 36;
constexpr int kVersionBytes = 128;

// 8-bit text as UTF-16, byte for byte, to its first 0.
std::u16string widen(const char* text, std::size_t limit) {
  std::u16string out;
  for (std::size_t i = 0; i < limit && text[i] != 0; ++i) out += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  return out;
}

}  // namespace

AboutPage::AboutPage(int index, const PageServices& services)
    : SettingsPage(index, kAboutTopic, services.help), services_(services) {}

int AboutPage::dialog_id() const { return kAboutPageTemplate; }

std::pair<std::uint32_t, std::uint32_t> AboutPage::link_strings() const { return {kSupportText, kSupportUrl}; }

void AboutPage::attach_link(int control, std::uint32_t text, std::uint32_t url) const {
  Hyperlink::attach(window(), control, text, url, services_.open_url);
}

int AboutPage::on_init_dialog() {
  set_dialog_item_bold(window(), kProgramName);
  const std::u16string program = widen(kProgramBuild, sizeof kProgramBuild);
  const FormatArg build[] = {std::u16string_view(program)};
  set_item_text(kProgramBuildLine, format_message(u"Build UI %s", build, kVersionBytes).value_or(u""));
  std::array<char, kVersionBytes> version{};
  if (services_.engine_version && services_.engine_version(version.data(), kVersionBytes) > 0) {
    const std::u16string engine = widen(version.data(), version.size());
    const FormatArg core[] = {std::u16string_view(engine)};
    set_item_text(kEngineBuildLine, format_message(u"Build CORE %s", core, kVersionBytes).value_or(u""));
  }
  const auto [support_text, support_url] = link_strings();
  attach_link(kSupportLink, support_text, support_url);
  attach_link(kMakerLink, kMakerText, kMakerUrl);
  attach_link(kMoreProgramsLink, kMoreText, kMoreUrl);
  finish_init();
  return TitledDialog::on_init_dialog();
}

int AboutPage::on_command(int id, int code) {
  if (id != kMoreButton) return Dialog::on_command(id, code);
  if (services_.open_url) services_.open_url(localizer().string(kMoreUrl));
  return 1;
}

void AboutPageLite::finish_init() {
  for (const int hidden : {kMorePrograms, kMoreProgramsLink, kMoreButton}) show_item(hidden, false);
}

int PartnerAboutPage::dialog_id() const { return kPartnerAboutPageTemplate; }

std::pair<std::uint32_t, std::uint32_t> PartnerAboutPage::link_strings() const {
  return {kPartnerSupportText, kPartnerSupportUrl};
}

int PartnerAboutPage2::dialog_id() const { return kPartnerAboutPage2Template; }

void PartnerAboutPage2::finish_init() { attach_link(kPartnerLink, kPartnerText, kPartnerUrl); }

}  // namespace ductra
