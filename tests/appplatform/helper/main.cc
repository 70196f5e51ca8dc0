// The other process of the platform's cross-process tests. It takes a
// command and a device root, does one thing, reports on standard output
// line by line and ends (or waits to be killed).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>

#include "appplatform/alive_marker.h"
#include "appplatform/device_file.h"
#include "appplatform/registry.h"
#include "appplatform/shared_event.h"
#include "appplatform/shared_memory.h"
#include "appplatform/wait.h"
#include "appplatform/text.h"

namespace {

using namespace ductra::platform;

void say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

[[noreturn]] void wait_to_be_killed() {
  while (true) ::pause();
}

// Holds the alive marker until killed.
int hold_alive(const RuntimeDir& dir, std::u16string_view name) {
  AliveMarker marker;
  say(AliveMarker::hold(dir, name, &marker) == Status::ok ? "held" : "busy");
  wait_to_be_killed();
}

int probe_alive(const RuntimeDir& dir, std::u16string_view name) {
  say(AliveMarker::is_held(dir, name) ? "held" : "absent");
  return 0;
}

// Opens the block, writes 4242 into word 2 and waits up to two seconds for
// the other side to write 7 into word 3.
int share_block(const RuntimeDir& dir, std::u16string_view name, std::size_t size) {
  SharedMemory block;
  bool created = false;
  if (SharedMemory::open(dir, name, size, &block, &created) != Status::ok) return 2;
  say(created ? "created" : "opened");
  block.word(2).store(4242);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (block.word(3).load() != 7) {
    if (std::chrono::steady_clock::now() > deadline) return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  say("seen");
  return 0;
}

// Writes `count` DWORD values named prefix0, prefix1, ... into one key.
int write_registry(const DeviceRoot& root, const std::string& prefix, int count) {
  const Registry registry(root);
  const std::u16string key = u"SOFTWARE\\Korvale Software\\Race";
  if (registry.create_key(Hive::local_machine, key) != Status::ok) return 2;
  for (int i = 0; i < count; ++i) {
    const std::u16string name = to_utf16(prefix + std::to_string(i));
    if (registry.write_dword(Hive::local_machine, key, name, static_cast<std::uint32_t>(i)) != Status::ok) return 1;
  }
  say("done");
  return 0;
}

// Opens the named event, says whether it exists, and waits up to
// `timeout_ms` for it.
int wait_event(const RuntimeDir& dir, std::u16string_view name, std::uint32_t timeout_ms) {
  std::unique_ptr<SharedEvent> event;
  if (SharedEvent::open(dir, name, &event) != Status::ok) {
    say("missing");
    return 1;
  }
  say("opened");
  say(wait_for(*event, timeout_ms).signalled() ? "signalled" : "timeout");
  return 0;
}

// Creates (or opens) the named event, auto-reset, and sets it.
int set_event(const RuntimeDir& dir, std::u16string_view name) {
  std::unique_ptr<SharedEvent> event;
  const Status status = SharedEvent::create(dir, name, EventReset::automatic, false, &event);
  if (event == nullptr) return 2;
  event->set();
  say(status == Status::ok ? "created" : "exists");
  return 0;
}

// Creates the named event, manual-reset and set, and holds it until killed.
int hold_event(const RuntimeDir& dir, std::u16string_view name) {
  std::unique_ptr<SharedEvent> event;
  say(SharedEvent::create(dir, name, EventReset::manual, true, &event) == Status::ok ? "created" : "exists");
  wait_to_be_killed();
}

// Started through the launcher with one argument, the command line: writes
// the command line and its own device path to "launched.txt" in its device
// root, stays as many milliseconds as the number after the first blank
// says, and ends with exit code 7.
int report_launch(std::string_view command_line) {
  const char* root = std::getenv("DUCTRA_DEVICE_ROOT");
  if (root == nullptr) return 2;
  {
    std::FILE* report = std::fopen((std::string(root) + "/launched.txt").c_str(), "w");
    if (report == nullptr) return 2;
    std::fprintf(report, "%.*s\n%s\n", static_cast<int>(command_line.size()), command_line.data(),
                 to_utf8(module_device_path()).c_str());
    std::fclose(report);
  }
  if (const auto blank = command_line.find(' '); blank != command_line.npos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(command_line.data() + blank + 1)));
  }
  return 7;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2) return report_launch(argv[1]);
  if (argc < 4) return 64;
  const std::string_view command = argv[1];
  const DeviceRoot root{std::filesystem::path(argv[2])};
  RuntimeDir dir;
  if (RuntimeDir::for_device(root, &dir) != Status::ok) return 3;
  const std::u16string name = to_utf16(argv[3]);
  if (command == "wait-event" && argc == 5) return wait_event(dir, name, std::strtoul(argv[4], nullptr, 10));
  if (command == "set-event") return set_event(dir, name);
  if (command == "hold-event") return hold_event(dir, name);
  if (command == "hold-alive") return hold_alive(dir, name);
  if (command == "probe-alive") return probe_alive(dir, name);
  if (command == "share-block" && argc == 5) return share_block(dir, name, std::strtoul(argv[4], nullptr, 10));
  if (command == "write-registry" && argc == 5) return write_registry(root, argv[3], std::atoi(argv[4]));
  return 64;
}
