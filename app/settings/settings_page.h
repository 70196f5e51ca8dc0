// A page of the settings sheet: a help-titled dialog with its place in the
// sheet and its template. make_page() describes it to the sheet.
//
// Pages answer the sheet's notifications by one scheme: PSN_HELP opens the
// page's help topic (answer 1); PSN_SETACTIVE records the page as the
// sheet's current one and fills the controls from the page's data;
// PSN_KILLACTIVE reads them back; PSN_APPLY answers 0; anything else goes
// to Dialog::on_notify. A page overrides fill() and read_back().
#pragma once

#include <string_view>

#include "app/settings/help_titled_dialog.h"
#include "app/settings/help_launcher.h"

namespace ductra {

// The index of the sheet page activated last (process-wide; UI thread).
int current_sheet_page();
void set_current_sheet_page(int index);

class SettingsPage : public HelpTitledDialog {
 public:
  // `help` must outlive the page.
  SettingsPage(int index, std::u16string_view help_topic, const HelpLauncher& help)
      : index_(index), help_topic_(help_topic), help_(help) {}

  // The page's template id.
  virtual int dialog_id() const = 0;

  // Describes the page to the sheet: its template translated by the
  // localizer, the page procedure and this object.
  platform::PropertySheetPage make_page();

  int index() const { return index_; }
  // Records this page as the sheet's current one.
  void on_set_active() { set_current_sheet_page(index_); }

  int on_notify(int control_id, const platform::NotifyHeader& header) override;
  int on_help() override;

 protected:
  // Fills the controls from the page's data when the page is shown, and
  // reads them back when it is left.
  virtual void fill() {}
  virtual void read_back() {}

  const HelpLauncher& help() const { return help_; }

 private:
  int index_;
  std::u16string_view help_topic_;
  const HelpLauncher& help_;
};

}  // namespace ductra
