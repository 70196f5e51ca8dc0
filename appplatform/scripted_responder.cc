#include "appplatform/scripted_responder.h"

#include <utility>

#include "appplatform/message_box.h"
#include "appplatform/window_system.h"

namespace ductra::platform {

ScriptedResponder::ScriptedResponder() : previous_(set_ui_responder(this)) {}

ScriptedResponder::~ScriptedResponder() { set_ui_responder(previous_); }

void ScriptedResponder::choose_id(int id) {
  std::lock_guard lock(mutex_);
  menu_answers_.emplace_back(id);
}

void ScriptedResponder::choose_text(std::u16string text) {
  std::lock_guard lock(mutex_);
  menu_answers_.emplace_back(std::move(text));
}

void ScriptedResponder::dismiss_menu() {
  std::lock_guard lock(mutex_);
  menu_answers_.emplace_back(Dismiss{});
}

void ScriptedResponder::answer_box(int button) {
  std::lock_guard lock(mutex_);
  box_answers_.push_back(button);
}

void ScriptedResponder::answer_hold(bool held) {
  std::lock_guard lock(mutex_);
  hold_answers_.push_back(held);
}

void ScriptedResponder::script_dialog(std::vector<DialogAction> actions) {
  std::lock_guard lock(mutex_);
  dialog_answers_.push_back(std::move(actions));
}

std::vector<ShownMenu> ScriptedResponder::menus() const {
  std::lock_guard lock(mutex_);
  return menus_;
}

std::vector<MessageBoxRequest> ScriptedResponder::boxes() const {
  std::lock_guard lock(mutex_);
  return boxes_;
}

std::vector<HoldRequest> ScriptedResponder::holds() const {
  std::lock_guard lock(mutex_);
  return holds_;
}

std::vector<std::u16string> ScriptedResponder::dialog_titles() const {
  std::lock_guard lock(mutex_);
  return dialog_titles_;
}

int ScriptedResponder::unscripted() const {
  std::lock_guard lock(mutex_);
  return unscripted_;
}

std::optional<int> ScriptedResponder::choose_menu_item(const MenuRequest& request) {
  std::lock_guard lock(mutex_);
  menus_.push_back({request.menu->items(), request.layout, request.flags, request.owner});
  if (menu_answers_.empty()) {
    ++unscripted_;
    return std::nullopt;
  }
  const MenuAnswer answer = std::move(menu_answers_.front());
  menu_answers_.pop_front();
  if (const int* id = std::get_if<int>(&answer)) return *id;
  if (const std::u16string* text = std::get_if<std::u16string>(&answer)) {
    for (const MenuItem& item : request.menu->items()) {
      if (item.selectable() && menu_label(item.text).text == *text) return item.id;
    }
  }
  return std::nullopt;
}

int ScriptedResponder::answer_message_box(const MessageBoxRequest& request) {
  std::lock_guard lock(mutex_);
  boxes_.push_back(request);
  if (box_answers_.empty()) {
    ++unscripted_;
    return request.buttons.back();
  }
  const int answer = box_answers_.front();
  box_answers_.pop_front();
  return answer;
}

bool ScriptedResponder::recognize_hold(const HoldRequest& request) {
  std::lock_guard lock(mutex_);
  holds_.push_back(request);
  if (hold_answers_.empty()) {
    ++unscripted_;
    return false;
  }
  const bool held = hold_answers_.front();
  hold_answers_.pop_front();
  return held;
}

// The actions run without the lock: they send messages whose handlers may
// ask this responder for menus and boxes.
void ScriptedResponder::drive_dialog(WindowHandle dialog) {
  WindowSystem& system = WindowSystem::current();
  std::optional<std::vector<DialogAction>> actions;
  {
    std::lock_guard lock(mutex_);
    dialog_titles_.push_back(system.window_text(dialog));
    if (!dialog_answers_.empty()) {
      actions = std::move(dialog_answers_.front());
      dialog_answers_.pop_front();
    }
  }
  int missed = actions ? 0 : 1;
  if (!actions) system.send_message(dialog, WM_COMMAND, IDCANCEL, 0);
  for (const DialogAction& action : actions.value_or(std::vector<DialogAction>{})) {
    if (!perform_dialog_action(dialog, action)) ++missed;
  }
  std::lock_guard lock(mutex_);
  unscripted_ += missed;
}

}  // namespace ductra::platform
