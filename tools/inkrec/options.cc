#include "tools/inkrec/options.h"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace inkrec::tool {
namespace {

constexpr const char* kDataFileName = "qlmain.dt";

bool parse_charsets(std::string_view text, std::vector<std::uint32_t>* ids) {
  ids->clear();
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    std::uint32_t id = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + end;
    const auto [stop, fault] = std::from_chars(first, last, id);
    if (first == last || fault != std::errc() || stop != last) return false;
    ids->push_back(id);
    start = end + 1;
  }
  return !ids->empty();
}

bool parse_switch(std::string_view text, bool* value) {
  if (text != "on" && text != "off") return false;
  *value = text == "on";
  return true;
}

// The option's value, or an error when it has none.
bool value_of(std::span<char* const> args, std::size_t* i, std::string_view* value,
              std::string* error) {
  if (*i + 1 >= args.size()) {
    *error = std::string(args[*i]) + " needs a value";
    return false;
  }
  *value = args[++*i];
  return true;
}

std::filesystem::path installed_data_dir() {
  std::error_code error;
  const std::filesystem::path tool = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return tool.parent_path() / INKREC_INSTALLED_DATA_DIR;
}

}  // namespace

bool parse_recognition_options(std::span<char* const> args, bool json_allowed,
                               RecognitionOptions* options, std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    std::string_view value;
    if (arg == "--charsets") {
      if (!value_of(args, &i, &value, error)) return false;
      if (!parse_charsets(value, &options->charsets)) {
        *error = "--charsets takes charset ids separated by commas, not \"" + std::string(value) + "\"";
        return false;
      }
    } else if (arg == "--data") {
      if (!value_of(args, &i, &value, error)) return false;
      options->data_dir = value;
    } else if (arg == "--words") {
      if (!value_of(args, &i, &value, error)) return false;
      if (!parse_switch(value, &options->request.words)) {
        *error = "--words takes on or off, not \"" + std::string(value) + "\"";
        return false;
      }
    } else if (arg == "--joined") {
      if (!value_of(args, &i, &value, error)) return false;
      if (!parse_switch(value, &options->request.joined)) {
        *error = "--joined takes on or off, not \"" + std::string(value) + "\"";
        return false;
      }
    } else if (arg == "--json" && json_allowed) {
      options->json = true;
    } else if (arg.starts_with("--")) {
      *error = "unknown option " + std::string(arg);
      return false;
    } else if (options->input.empty()) {
      options->input = arg;
    } else {
      *error = "one input file only, found a second: " + std::string(arg);
      return false;
    }
  }
  return true;
}

std::string data_file_path(const RecognitionOptions& options) {
  if (!options.data_dir.empty()) {
    return (std::filesystem::path(options.data_dir) / kDataFileName).string();
  }
  const std::filesystem::path installed = installed_data_dir() / kDataFileName;
  std::error_code error;
  if (std::filesystem::exists(installed, error)) return installed.string();
  return (std::filesystem::path(INKREC_SOURCE_DATA_DIR) / kDataFileName).string();
}

}  // namespace inkrec::tool
