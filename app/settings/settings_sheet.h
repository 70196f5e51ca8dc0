// The settings sheet: one full-screen property sheet of four pages (the
// standard page, the profiles page, the recognition page and the about
// page, in that order) over a working copy of the settings, which is
// written back to the caller's record when the sheet ends with OK (with
// the last page shown as SheetPageNumber, and the interface language
// switched) or is closed from outside; a cancelled sheet changes nothing.
// One sheet runs at a time. UI thread only.
#pragma once

#include "app/common/settings.h"
#include "app/settings/page_services.h"
#include "app/settings/settings_page.h"
#include "app/shell/controller_parts.h"

namespace ductra {

inline constexpr std::uint32_t kSheetFlags = 0x2188;

class SettingsSheet {
 public:
  // `services` must outlive the sheet.
  explicit SettingsSheet(const PageServices& services) : services_(services) {}
  SettingsSheet(const SettingsSheet&) = delete;
  SettingsSheet& operator=(const SettingsSheet&) = delete;

  // Runs the sheet over `settings` and `configurations` (the parent is not
  // used: the sheet has none). 1 when it ended with OK, 0 when it was
  // cancelled or failed, -1 without settings or configurations or while a
  // sheet is open.
  int show(platform::WindowHandle parent, Settings* settings, Configurations* configurations);
  // Ends a running sheet from outside, writing the working copy back: 1,
  // or 0 when no sheet window exists.
  int close();
  bool is_open() const { return open_; }

  // The sheet's callback: when the sheet window exists, an empty menu bar
  // for it, its tabs at the bottom, and the window remembered.
  static int callback(platform::WindowHandle sheet, int event, platform::LParam parameter);
  // The running sheet's window; null when none runs.
  static platform::WindowHandle window();

 private:
  const PageServices& services_;
  bool open_ = false;
  Settings working_;
  Settings* caller_ = nullptr;
};

// The sheet as the controller opens and closes it, over the controller's
// settings and configurations.
class ControllerSheet final : public SheetControl {
 public:
  // Everything given must outlive this object.
  ControllerSheet(SettingsSheet& sheet, Settings& settings, Configurations& configurations)
      : sheet_(sheet), settings_(settings), configurations_(configurations) {}

  bool sheet_is_open() override { return sheet_.is_open(); }
  bool close_sheet() override { return sheet_.close() == 1; }
  Result run_sheet(platform::WindowHandle parent) override;

 private:
  SettingsSheet& sheet_;
  Settings& settings_;
  Configurations& configurations_;
};

}  // namespace ductra
