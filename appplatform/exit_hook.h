// The end of the program with an exit code. Tests put a hook in its place
// to see the code without ending; with no hook the process ends through
// std::exit, so exit-time destructors run.
#pragma once

#include <functional>

namespace ductra::platform {

using ExitHook = std::function<void(int code)>;

// Installs `hook` (an empty one restores the real end); returns the old one.
ExitHook set_exit_hook(ExitHook hook);

// Ends the process with `code`, or hands the code to the installed hook and
// returns.
void exit_process(int code);

}  // namespace ductra::platform
