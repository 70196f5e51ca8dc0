// A responder that answers menus, message boxes, hold gestures and modal
// dialogs from a script, and keeps what it was shown, so tests can drive
// and check every menu, box and dialog of the application.
//
// Answers are taken in the order they were scripted, one per request of
// their kind; a dialog's answer is the list of actions done to its
// controls. A request with no scripted answer dismisses the menu, takes
// the box's last button (its cancel or no), reports no hold or cancels the
// dialog, and is counted as unscripted, as is an action whose control the
// dialog lacks.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "appplatform/dialog/dialog_action.h"
#include "appplatform/ui_responder.h"

namespace ductra::platform {

// What a menu showed, kept after the menu itself has gone.
struct ShownMenu {
  std::vector<MenuItem> items;
  MenuLayout layout;
  std::uint32_t flags = 0;
  WindowHandle owner;
};

class ScriptedResponder final : public UiResponder {
 public:
  // Installs itself for its lifetime.
  ScriptedResponder();
  ~ScriptedResponder() override;
  ScriptedResponder(const ScriptedResponder&) = delete;
  ScriptedResponder& operator=(const ScriptedResponder&) = delete;

  void choose_id(int id);
  // The first selectable item whose shown text (without "&") is `text`.
  void choose_text(std::u16string text);
  void dismiss_menu();
  void answer_box(int button);
  void answer_hold(bool held);
  void script_dialog(std::vector<DialogAction> actions);

  std::vector<ShownMenu> menus() const;
  std::vector<MessageBoxRequest> boxes() const;
  std::vector<HoldRequest> holds() const;
  std::vector<std::u16string> dialog_titles() const;
  int unscripted() const;

  std::optional<int> choose_menu_item(const MenuRequest& request) override;
  int answer_message_box(const MessageBoxRequest& request) override;
  bool recognize_hold(const HoldRequest& request) override;
  void drive_dialog(WindowHandle dialog) override;

 private:
  struct Dismiss {};
  using MenuAnswer = std::variant<int, std::u16string, Dismiss>;

  UiResponder* previous_ = nullptr;
  mutable std::mutex mutex_;
  std::deque<MenuAnswer> menu_answers_;
  std::deque<int> box_answers_;
  std::deque<bool> hold_answers_;
  std::deque<std::vector<DialogAction>> dialog_answers_;
  std::vector<ShownMenu> menus_;
  std::vector<MessageBoxRequest> boxes_;
  std::vector<HoldRequest> holds_;
  std::vector<std::u16string> dialog_titles_;
  int unscripted_ = 0;
};

}  // namespace ductra::platform
