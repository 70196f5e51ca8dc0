#include "appplatform/launcher.h"

#include <spawn.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "appplatform/request_log.h"
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

Status spawn(const DeviceRoot& root, const ProgramEntry& entry, std::vector<std::string> arguments, Process* out) {
  std::vector<std::string> variables = child_environment(root, entry.device_path);
  arguments.insert(arguments.begin(), entry.host_program.string());
  std::vector<char*> argv = pointers_to(arguments);
  std::vector<char*> envp = pointers_to(variables);
  pid_t pid = 0;
  const int error = ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data());
  if (error != 0) return error == ENOENT || error == EACCES ? Status::not_found : Status::io_error;
  return Process::adopt_child(pid, out);
}

// The value of `name` (with its '=') in a NUL-separated environment block.
std::string_view variable(std::string_view block, std::string_view name) {
  for (std::size_t at = 0; at < block.size();) {
    std::size_t end = block.find('\0', at);
    if (end == block.npos) end = block.size();
    const std::string_view entry = block.substr(at, end - at);
    if (entry.starts_with(name)) return entry.substr(name.size());
    at = end + 1;
  }
  return {};
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
  const std::string ours = root_text(root);
  std::vector<RunningProgram> programs;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != name.npos) continue;
    std::ifstream in(entry.path() / "environ", std::ios::binary);
    const std::string block{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string_view program = variable(block, kProgramVariable);
    if (program.empty() || variable(block, kRootVariable) != ours) continue;
    programs.push_back(RunningProgram{static_cast<pid_t>(std::stol(name)),
                                      std::u16string(device_file_name(to_utf16(program)))});
  }
  return programs;
}

}  // namespace ductra::platform
