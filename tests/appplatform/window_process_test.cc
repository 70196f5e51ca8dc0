// Two real processes: the test process runs the window server, a forked
// child connects to it as the application would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "appplatform/window_client.h"
#include "window_test_support.h"

namespace ductra::platform {
namespace {

constexpr std::uint32_t kDouble = WM_APP + 20;
constexpr std::uint32_t kCallBack = WM_APP + 21;
constexpr std::uint32_t kTryPointers = WM_APP + 22;
constexpr std::uint32_t kPostHello = WM_APP + 23;
constexpr std::uint32_t kHello = WM_APP + 24;
constexpr std::uint32_t kInner = WM_APP + 25;
constexpr std::uint32_t kCarriesPointer = WM_APP + 30;

constexpr char16_t kDeviceClass[] = u"Device Test Class";
constexpr char16_t kDeviceTitle[] = u"Device Test Window";
constexpr char16_t kPeerClass[] = u"Peer Test Class";
constexpr char16_t kPeerTitle[] = u"Peer Test Window";

WindowHandle device_window() { return WindowSystem::current().find_window(kDeviceClass, kDeviceTitle); }

MessageResult peer_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  WindowSystem& system = WindowSystem::current();
  switch (message) {
    case kDouble:
      return static_cast<MessageResult>(wparam) * 2;
    case kCallBack: {
      // Back into the device while the device's thread waits for this answer.
      const SendOutcome inner = system.send_message(device_window(), kInner, wparam, 0);
      return inner.status == MessageStatus::delivered ? inner.result + 1000 : -1;
    }
    case kTryPointers: {
      int local = 0;
      const WindowHandle device = device_window();
      const bool refused = system.send_message(device, kCarriesPointer, 0, reinterpret_cast<LParam>(&local)).status ==
                               MessageStatus::refused &&
                           system.send_message(device, WM_NOTIFY, 0, reinterpret_cast<LParam>(&local)).status ==
                               MessageStatus::refused &&
                           system.post_message(device, WM_SETTEXT, 0, reinterpret_cast<LParam>(u"x")) ==
                               MessageStatus::refused &&
                           system.post_message(device, WM_TIMER, 1, reinterpret_cast<LParam>(&local)) ==
                               MessageStatus::refused;
      return refused ? 1 : 0;
    }
    case kPostHello:
      return system.post_message(device_window(), kHello, 7, 8) == MessageStatus::delivered ? 1 : 0;
    case WM_CLOSE:
      system.post_quit_message(0);
      return 0;
    default:
      return system.default_procedure(window, message, wparam, lparam);
  }
}

int run_peer(const std::string& socket_path, int go, int ready) {
  char byte = 0;
  if (::read(go, &byte, 1) != 1) return 10;
  WindowClient client;
  if (!client.connect(socket_path)) return 11;
  declare_pointer_message(kCarriesPointer);
  int code = 0;
  {
    WindowSystem system(client);
    system.register_class({kPeerClass, peer_procedure});
    CreateWindowParams params;
    params.class_name = kPeerClass;
    params.title = kPeerTitle;
    params.style = WS_POPUP;
    if (!system.create_window(params)) return 12;
    if (::write(ready, "r", 1) != 1) return 13;
    Message m;
    int got = 0;
    while ((got = system.get_message(m)) > 0) system.dispatch_message(m);
    code = got == 0 ? 0 : 14;
  }
  return code;
}

std::atomic<int> hellos{0};

MessageResult device_procedure(WindowHandle window, std::uint32_t message, WParam wparam, LParam lparam) {
  if (message == kInner) return static_cast<MessageResult>(wparam) + 1;
  if (message == kHello && wparam == 7 && lparam == 8) ++hellos;
  return WindowSystem::current().default_procedure(window, message, wparam, lparam);
}

TEST(WindowProcessTest, MessagesCrossProcessesToWindowsFoundByClassAndTitleAndPointersAreRefused) {
  char directory[] = "/tmp/ductra-window-XXXXXX";
  ASSERT_NE(::mkdtemp(directory), nullptr);
  const std::string socket_path = std::string(directory) + "/server";
  int go[2];
  int ready[2];
  ASSERT_EQ(::pipe(go), 0);
  ASSERT_EQ(::pipe(ready), 0);
  // Fork before any thread exists; the child is a process of its own.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(run_peer(socket_path, go[0], ready[1]));

  {
    WindowServer server(240, 320);
    WindowSystem system(server);
    system.register_class({kDeviceClass, device_procedure});
    CreateWindowParams params;
    params.class_name = kDeviceClass;
    params.title = kDeviceTitle;
    params.style = WS_POPUP;
    const WindowHandle device = system.create_window(params);
    ASSERT_TRUE(device);
    ASSERT_TRUE(server.listen(socket_path));
    ASSERT_EQ(::write(go[1], "g", 1), 1);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);

    const WindowHandle peer = system.find_window(kPeerClass, kPeerTitle);
    ASSERT_TRUE(peer);
    EXPECT_NE(system.describe(peer)->thread.process, system.describe(device)->thread.process);

    SendOutcome doubled = system.send_message(peer, kDouble, 21, 0);
    EXPECT_EQ(doubled.status, MessageStatus::delivered);
    EXPECT_EQ(doubled.result, 42);
    // Device thread -> application -> device thread: the device answers while it waits.
    EXPECT_EQ(system.send_message(peer, kCallBack, 5, 0).result, 1006);
    EXPECT_EQ(system.send_message(peer, kTryPointers, 0, 0).result, 1);
    EXPECT_EQ(system.send_message(peer, kPostHello, 0, 0).result, 1);
    Message m;
    while (hellos.load() == 0 && system.get_message(m) > 0) system.dispatch_message(m);
    EXPECT_EQ(hellos.load(), 1);

    int local = 0;
    EXPECT_EQ(system.send_message(peer, WM_NOTIFY, 0, reinterpret_cast<LParam>(&local)).status, MessageStatus::refused);
    EXPECT_EQ(system.post_message(peer, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, reinterpret_cast<LParam>(&local)),
              MessageStatus::refused);
    EXPECT_EQ(system.post_message(peer, WM_CLOSE, 0, 0), MessageStatus::delivered);

    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The ended process's windows answer no more.
    EXPECT_NE(system.send_message(peer, kDouble, 1, 0).status, MessageStatus::delivered);
  }
  ::unlink(socket_path.c_str());
  ::rmdir(directory);
  for (int fd : {go[0], go[1], ready[0], ready[1]}) ::close(fd);
}

}  // namespace
}  // namespace ductra::platform
