// The profiles page of the settings sheet: the user's recognition
// configurations, with buttons to add one for a free main charset, to edit
// the further charsets of one and to delete one (never the last). It works
// on the controller's configurations directly: a change counts at once,
// whether or not the sheet is accepted. UI thread only.
#pragma once

#include "app/settings/page_services.h"
#include "app/settings/settings_page.h"

namespace ductra {

class ProfilesPage final : public SettingsPage {
 public:
  // Everything given must outlive the page.
  ProfilesPage(int index, Configurations& configurations, const PageServices& services);

  int dialog_id() const override;
  int on_init_dialog() override;
  int on_command(int id, int code) override;

 private:
  void refresh() const;
  void add_configuration();
  void delete_configuration();
  void edit_configuration();

  Configurations& configurations_;
  const PageServices& services_;
};

}  // namespace ductra
