// inkrec: the engine's command-line tool.
//
//   inkrec version       prints the engine's version text
//   inkrec error CODE    prints the message of a status code
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "inkrec/inkrec.h"

namespace {

int usage() {
  std::fputs(
      "usage: inkrec version\n"
      "       inkrec error CODE\n",
      stderr);
  return 2;
}

std::string to_utf8(const char16_t* text) {
  std::string out;
  for (; *text != u'\0'; ++text) {
    char32_t c = *text;
    if (c >= 0xD800 && c <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (*++text - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

int print_version() {
  char text[64];
  const int build = crmGetVersion(text, sizeof text);
  std::printf("inkrec %s (build %d)\n", text, build);
  return 0;
}

int print_error(const char* argument) {
  char* end = nullptr;
  errno = 0;
  const long code = std::strtol(argument, &end, 10);
  if (errno != 0 || end == argument || *end != '\0' || code < INT32_MIN || code > INT32_MAX) {
    std::fprintf(stderr, "inkrec: not a status code: %s\n", argument);
    return 2;
  }
  char16_t text[256];
  const int status = crReturnErrText(static_cast<int>(code), text);
  if (status != 0) {
    std::fprintf(stderr, "inkrec: no message for %ld (status %d)\n", code, status);
    return 1;
  }
  std::printf("%s\n", to_utf8(text).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "version") return print_version();
  if (argc == 3 && std::string_view(argv[1]) == "error") return print_error(argv[2]);
  return usage();
}
