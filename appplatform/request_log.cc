#include "appplatform/request_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "appplatform/text.h"

namespace ductra::platform {
namespace {

std::filesystem::path log_file(const DeviceRoot& root) { return root.host() / "requests.log"; }

}  // namespace

Status record_request(const DeviceRoot& root, std::u16string_view line) {
  std::string text = to_utf8(line);
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';  // one request, one line
  }
  text += '\n';
  const int fd = ::open(log_file(root).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return Status::access_denied;
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return written ? Status::ok : Status::io_error;
}

std::vector<std::u16string> recorded_requests(const DeviceRoot& root) {
  std::vector<std::u16string> lines;
  std::ifstream in(log_file(root));
  for (std::string line; std::getline(in, line);) lines.push_back(to_utf16(line));
  return lines;
}

Status request_reboot(const DeviceRoot& root) { return record_request(root, u"reboot"); }

}  // namespace ductra::platform
