// The about pages, the last page of the settings sheet: the program's name
// and picture, the program's and the engine's builds, a notice and links
// to the maker's pages. The branding chooses one of four forms: the
// standard page, the lite page (without the invitation to more programs),
// and two partner pages with the partner's support link. UI thread only.
#pragma once

#include <cstdint>
#include <utility>

#include "app/settings/page_services.h"
#include "app/settings/settings_page.h"

namespace ductra {

// The program's own build.
inline constexpr char kProgramBuild[] = "9.0.238.11807";

class AboutPage : public SettingsPage {
 public:
  // `services` must outlive the page.
  AboutPage(int index, const PageServices& services);

  int dialog_id() const override;
  // The text and the address strings of the support link.
  virtual std::pair<std::uint32_t, std::uint32_t> link_strings() const;

  int on_init_dialog() override;
  int on_command(int id, int code) override;

 protected:
  // What a form adds once the page is set up.
  virtual void finish_init() {}
  void attach_link(int control, std::uint32_t text, std::uint32_t url) const;

 private:
  const PageServices& services_;
};

// Without the invitation to more programs, its link and its button.
class AboutPageLite final : public AboutPage {
 public:
  using AboutPage::AboutPage;

 private:
  void finish_init() override;
};

// The partner's edition: its own template and support link.
class PartnerAboutPage final : public AboutPage {
 public:
  using AboutPage::AboutPage;
  int dialog_id() const override;
  std::pair<std::uint32_t, std::uint32_t> link_strings() const override;
};

// The second partner's edition: a second notice and the partner's link.
class PartnerAboutPage2 final : public AboutPage {
 public:
  using AboutPage::AboutPage;
  int dialog_id() const override;

 private:
  void finish_init() override;
};

}  // namespace ductra
