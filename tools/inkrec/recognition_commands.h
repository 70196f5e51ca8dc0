// The recognition commands of the tool. Each takes the arguments after its
// name and returns the exit status: 0 when every sample was read and
// recognised, 1 when a sample or the engine failed (each failure reported
// on standard error, with its line for a sample), 2 for bad arguments (the
// usage then goes to standard error).
#pragma once

#include <span>

namespace inkrec::tool {

// inkrec recognize [INK] [--charsets IDS] [--data DIR] [--words on|off] [--json]
int run_recognize(std::span<char* const> args);

// inkrec eval LABELLED [--charsets IDS] [--data DIR] [--words on|off]
int run_eval(std::span<char* const> args);

}  // namespace inkrec::tool
