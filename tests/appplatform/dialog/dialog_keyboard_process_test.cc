// The keyboard of the device for a dialog of another process: the test
// process runs the window server as the device does, forked children open a
// dialog with an edit field as the application does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "appplatform/dialog/control_constants.h"
#include "appplatform/dialog/dialog_box.h"
#include "appplatform/draw/display.h"
#include "appplatform/draw/font.h"
#include "appplatform/message_box.h"
#include "appplatform/text.h"
#include "appplatform/window_client.h"
#include "appplatform/window_server.h"
#include "appplatform/window_system.h"

namespace ductra::platform {
namespace {

constexpr int kField = 40;

std::u16string word_on_close;

// Gives the field the focus and keeps its text when the dialog ends.
MessageResult word_procedure(WindowHandle dialog, std::uint32_t message, WParam wparam, LParam) {
  if (message == WM_INITDIALOG) return 1;
  const int id = low_word(wparam);
  if (message != WM_COMMAND || (id != IDOK && id != IDCANCEL)) return 0;
  word_on_close = dialog_item_text(dialog, kField);
  end_dialog(dialog, id);
  return 1;
}

DialogTemplate word_template() {
  DialogTemplate t;
  t.title = u"Word";
  t.font_face = kFixedTestFace;
  t.frame = {0, 0, 240, 120};
  t.items = {{kField, kEditClass, u"", WS_TABSTOP, {4, 20, 200, 40}}};
  return t;
}

// The application's side: once told to go, joins the device and runs the
// dialog; reports the field's text at the end (one line) and whether the
// dialog ended by OK.
int run_dialog_process(const std::string& socket_path, int go, int report) {
  char byte = 0;
  if (::read(go, &byte, 1) != 1) return 10;
  WindowClient client;
  if (!client.connect(socket_path)) return 11;
  set_display(Bitmap::create_rgb565(240, 320));
  WindowSystem system(client);
  const std::intptr_t result = dialog_box(word_template(), {}, word_procedure, 0);
  const std::string line = to_utf8(word_on_close) + "\n";
  if (::write(report, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 12;
  return result == IDOK ? 0 : 13;
}

bool wait_until(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// What the device's keyboard listener heard, in order.
class HeardDemand {
 public:
  void add(bool wanted) {
    std::lock_guard lock(mutex_);
    heard_.push_back(wanted);
  }
  std::vector<bool> heard() {
    std::lock_guard lock(mutex_);
    return heard_;
  }
  bool reaches(const std::vector<bool>& expected) {
    return wait_until([&] { return heard() == expected; });
  }

 private:
  std::mutex mutex_;
  std::vector<bool> heard_;
};

// A key pressed and released, as the device's window passes it on.
void press(WindowServer& server, std::uint32_t virtual_key, std::u16string_view characters) {
  server.key_input(KeyAction::down, virtual_key, characters);
  server.key_input(KeyAction::up, virtual_key, {});
}

TEST(DialogKeyboardProcessTest, TheDeviceHearsADialogOfAnotherProcessWantTheKeyboardAndItsKeysReachTheField) {
  char directory[] = "/tmp/ductra-keyboard-XXXXXX";
  ASSERT_NE(::mkdtemp(directory), nullptr);
  const std::string socket_path = std::string(directory) + "/server";
  int go_typed[2], go_killed[2], report[2];
  ASSERT_EQ(::pipe(go_typed), 0);
  ASSERT_EQ(::pipe(go_killed), 0);
  ASSERT_EQ(::pipe(report), 0);
  // Fork before any thread exists; each child is a process of its own.
  const pid_t typed = ::fork();
  ASSERT_GE(typed, 0);
  if (typed == 0) ::_exit(run_dialog_process(socket_path, go_typed[0], report[1]));
  const pid_t killed = ::fork();
  ASSERT_GE(killed, 0);
  if (killed == 0) ::_exit(run_dialog_process(socket_path, go_killed[0], report[1]));

  {
    WindowServer server(240, 320);
    WindowSystem system(server);
    HeardDemand demand;
    server.set_keyboard_listener([&](bool wanted) { demand.add(wanted); });
    ASSERT_TRUE(server.listen(socket_path));
    press(server, 'A', u"a");  // no focus window anywhere: the key goes nowhere

    ASSERT_EQ(::write(go_typed[1], "g", 1), 1);
    ASSERT_TRUE(demand.reaches({true})) << "the dialog with a field wants the keyboard";
    WindowHandle field;
    ASSERT_TRUE(wait_until([&] {
      field = system.focus();
      return field && system.class_name(field) == kEditClass;
    }));
    EXPECT_EQ(system.describe(field)->thread.process, typed) << "the field is the other process's";
    for (const char16_t c : std::u16string(u"cats")) press(server, static_cast<std::uint32_t>(c - u'a' + 'A'), {&c, 1});
    press(server, VK_BACK, u"\b");
    press(server, VK_LEFT, u"");
    press(server, 0, u"é");
    EXPECT_TRUE(wait_until([&] { return system.window_text(field) == u"caté"; })) << to_utf8(system.window_text(field));
    press(server, VK_RETURN, u"\r");
    char line[32] = {};
    ASSERT_GT(::read(report[0], line, sizeof line - 1), 0);
    EXPECT_EQ(std::string(line), "caté\n") << "the keys reached the field in order; return ended the dialog";
    int status = 0;
    ASSERT_EQ(::waitpid(typed, &status, 0), typed);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "ended by OK";
    EXPECT_TRUE(demand.reaches({true, false})) << "the closed dialog gave the keyboard back";

    ASSERT_EQ(::write(go_killed[1], "g", 1), 1);
    ASSERT_TRUE(demand.reaches({true, false, true}));
    ::kill(killed, SIGKILL);
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    EXPECT_TRUE(demand.reaches({true, false, true, false})) << "a process that ended with its dialog open wants nothing";
    EXPECT_FALSE(system.focus());
  }
  ::unlink(socket_path.c_str());
  ::rmdir(directory);
  for (int fd : {go_typed[0], go_typed[1], go_killed[0], go_killed[1], report[0], report[1]}) ::close(fd);
}

}  // namespace
}  // namespace ductra::platform
