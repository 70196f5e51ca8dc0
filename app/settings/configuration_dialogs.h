// The small dialogs of the profiles page, each run modally for one change:
// adding a configuration for a free main charset, editing the further
// charsets of one configuration, and choosing a further charset to add to
// it. They have no title strip; their help is the profiles topic. UI
// thread only.
#pragma once

#include "app/settings/dialog.h"
#include "app/settings/page_services.h"

namespace ductra {

// Adds the default configuration of the main charset chosen; stays open
// while nothing is chosen.
class AddConfigurationDialog final : public Dialog {
 public:
  // Everything given must outlive the dialog.
  AddConfigurationDialog(Configurations& configurations, const PageServices& services)
      : configurations_(configurations), services_(services) {}

  int on_init_dialog() override;
  int on_command(int id, int code) override;
  int on_help() override;

 private:
  Configurations& configurations_;
  const PageServices& services_;
};

// The further charsets of one configuration (a copy the caller keeps when
// the dialog ends with 1), with soft keys to add and to delete one.
class ExtraCharsetsDialog final : public Dialog {
 public:
  // `auxiliary` are the charsets that may be added. Everything given must
  // outlive the dialog.
  ExtraCharsetsDialog(Configuration& configuration, const CharsetSet& auxiliary, const PageServices& services)
      : configuration_(configuration), auxiliary_(auxiliary), services_(services) {}

  int on_init_dialog() override;
  int on_command(int id, int code) override;
  int on_help() override;

 private:
  void fill() const;

  Configuration& configuration_;
  const CharsetSet& auxiliary_;
  const PageServices& services_;
};

// Adds the chosen one of the auxiliary charsets the configuration lacks.
class AddExtraCharsetsDialog final : public Dialog {
 public:
  // Everything given must outlive the dialog.
  AddExtraCharsetsDialog(Configuration& configuration, const CharsetSet& auxiliary, const PageServices& services)
      : configuration_(configuration), auxiliary_(auxiliary), services_(services) {}

  int on_init_dialog() override;
  int on_command(int id, int code) override;
  int on_help() override;

 private:
  Configuration& configuration_;
  const CharsetSet& auxiliary_;
  const PageServices& services_;
};

}  // namespace ductra
