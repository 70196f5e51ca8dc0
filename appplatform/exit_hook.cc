#include "appplatform/exit_hook.h"

#include <cstdlib>
#include <mutex>
#include <utility>

namespace ductra::platform {
namespace {

std::mutex hook_mutex;
ExitHook installed_hook;

}  // namespace

ExitHook set_exit_hook(ExitHook hook) {
  const std::lock_guard lock(hook_mutex);
  return std::exchange(installed_hook, std::move(hook));
}

void exit_process(int code) {
  ExitHook hook;
  {
    const std::lock_guard lock(hook_mutex);
    hook = installed_hook;
  }
  if (!hook) std::exit(code);
  hook(code);
}

}  // namespace ductra::platform
