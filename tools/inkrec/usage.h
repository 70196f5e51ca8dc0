// The tool's usage text: every command's synopsis, and a few lines more on
// the commands that have options.
#pragma once

#include <cstdio>
#include <string_view>

namespace inkrec::tool {

// Prints every synopsis.
void print_usage(std::FILE* out);

// Prints the synopsis and description of a command; false for an unknown
// command (nothing printed).
bool print_command_usage(std::string_view command, std::FILE* out);

// Reports a bad use of a command on standard error with its usage; returns
// the exit status 2.
int usage_error(std::string_view command, std::string_view problem);

}  // namespace inkrec::tool
