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
#include "appplatform/registry.h"
#include "appplatform/shared_memory.h"
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 64;
  const std::string_view command = argv[1];
  const DeviceRoot root{std::filesystem::path(argv[2])};
  RuntimeDir dir;
  if (RuntimeDir::for_device(root, &dir) != Status::ok) return 3;
  const std::u16string name = to_utf16(argv[3]);
  if (command == "hold-alive") return hold_alive(dir, name);
  if (command == "probe-alive") return probe_alive(dir, name);
  if (command == "share-block" && argc == 5) return share_block(dir, name, std::strtoul(argv[4], nullptr, 10));
  if (command == "write-registry" && argc == 5) return write_registry(root, argv[3], std::atoi(argv[4]));
  return 64;
}
