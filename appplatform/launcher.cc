#include "appplatform/launcher.h"

#include <spawn.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "appplatform/request_log.h"
#include "appplatform/runtime_dir.h"
#include "appplatform/text.h"

extern char** environ;

namespace ductra::platform {
namespace {

constexpr std::string_view kRootVariable = "DUCTRA_DEVICE_ROOT=";
constexpr std::string_view kProgramVariable = "DUCTRA_DEVICE_PROGRAM=";

std::string root_text(const DeviceRoot& root) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(root.host(), error);
  return (error ? root.host() : absolute).lexically_normal().string();
}

std::string percent_encoded(std::string_view bytes, std::string_view keep) {
  std::string out;
  char spelled[4];
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || keep.find(c) != keep.npos) {
      out += c;
    } else {
      std::snprintf(spelled, sizeof spelled, "%%%02X", byte);
      out += spelled;
    }
  }
  return out;
}

// What an opener is handed: a file URL for a device file, else the text.
Status opener_target(const DeviceRoot& root, std::u16string_view parameters, std::string* target) {
  if (parameters.empty() || (parameters.front() != u'\\' && parameters.front() != u'/')) {
    *target = to_utf8(parameters);
    return Status::ok;
  }
  const std::size_t hash = parameters.find(u'#');
  std::filesystem::path host;
  if (const Status status = root.to_host(parameters.substr(0, hash), &host); status != Status::ok) return status;
  *target = "file://" + percent_encoded(std::filesystem::absolute(host).string(), "-._~/");
  if (hash != parameters.npos) *target += "#" + percent_encoded(to_utf8(parameters.substr(hash + 1)), "-._~");
  return Status::ok;
}

// This process's environment with the device's two variables set anew.
std::vector<std::string> child_environment(const DeviceRoot& root, std::u16string_view device_path) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    if (!text.starts_with(kRootVariable) && !text.starts_with(kProgramVariable)) variables.emplace_back(text);
  }
  variables.push_back(std::string(kRootVariable) + root_text(root));
  variables.push_back(std::string(kProgramVariable) + to_utf8(device_path));
  return variables;
}

std::vector<char*> pointers_to(std::vector<std::string>& words) {
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  return pointers;
}

// The start time of process `pid` (field 22 of its stat line), which tells
// it from a later process of the same number; empty when it is gone or has
// ended and waits to be collected.
std::string start_time_of(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  const std::size_t name_end = line.rfind(')');
  if (name_end == line.npos) return {};
  std::istringstream fields(line.substr(name_end + 1));
  std::string field;
  for (int number = 3; number <= 22 && fields >> field; ++number) {
    if (number == 3 && field == "Z") return {};
  }
  return field;
}

// Every program started here is listed in the device's runtime folder as
// "program-<pid>" (its start time, then its device path), so a snapshot can
// name it without reading other processes' memory.
void list_program(const DeviceRoot& root, pid_t pid, std::u16string_view device_path) {
  RuntimeDir dir;
  if (RuntimeDir::for_device(root, &dir) != Status::ok) return;
  std::ofstream(dir.path() / ("program-" + std::to_string(pid))) << start_time_of(pid) << '\n'
                                                                   << to_utf8(device_path) << '\n';
}

Status spawn(const DeviceRoot& root, const ProgramEntry& entry, std::vector<std::string> arguments, Process* out) {
  std::vector<std::string> variables = child_environment(root, entry.device_path);
  arguments.insert(arguments.begin(), entry.host_program.string());
  std::vector<char*> argv = pointers_to(arguments);
  std::vector<char*> envp = pointers_to(variables);
  pid_t pid = 0;
  const int error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data());
  if (error != 0) return error == ENOENT || error == EACCES ? Status::not_found : Status::io_error;
  list_program(root, pid, entry.device_path);
  return Process::adopt_child(pid, out);
}

}  // namespace

Status start_program(const DeviceRoot& root, const ProgramMap& map, std::u16string_view program,
                     std::u16string_view parameters, Process* out) {
  const ProgramEntry* entry = map.find(program);
  if (entry == nullptr) return Status::not_found;
  switch (entry->kind) {
    case ProgramKind::executable: {
      std::vector<std::string> arguments;
      if (!parameters.empty()) arguments.push_back(to_utf8(parameters));
      return spawn(root, *entry, std::move(arguments), out);
    }
    case ProgramKind::opener: {
      std::string target;
      if (const Status status = opener_target(root, parameters, &target); status != Status::ok) return status;
      return spawn(root, *entry, {target}, out);
    }
    case ProgramKind::recorder: {
      std::u16string line = entry->device_path;
      line += u' ';
      line += parameters;
      if (const Status status = record_request(root, line); status != Status::ok) return status;
      *out = Process::ended(0);
      return Status::ok;
    }
  }
  return Status::not_found;
}

std::vector<RunningProgram> running_programs(const DeviceRoot& root) {
  std::vector<RunningProgram> programs;
  RuntimeDir dir;
  if (RuntimeDir::for_device(root, &dir) != Status::ok) return programs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path(), error)) {
    const std::string file = entry.path().filename().string();
    if (!file.starts_with("program-")) continue;
    const pid_t pid = static_cast<pid_t>(std::atol(file.c_str() + 8));
    std::ifstream in(entry.path());
    std::string started, device_path;
    std::getline(in, started);
    std::getline(in, device_path);
    if (pid <= 0 || started.empty() || started != start_time_of(pid)) {
      std::filesystem::remove(entry.path(), error);  // the program has ended
      continue;
    }
    programs.push_back(RunningProgram{pid, std::u16string(device_file_name(to_utf16(device_path)))});
  }
  return programs;
}

}  // namespace ductra::platform
