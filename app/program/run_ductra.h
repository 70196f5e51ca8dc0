// The program's run: the application on the device named by the
// environment (DUCTRA_DEVICE_ROOT, else the user's). It joins the device's
// window server and loads the engine (libinkrec.so) first; exit code 1,
// with the reason on standard error, when either cannot be had. Otherwise
// the exit code of the run (ductra_main.h).
#pragma once

#include <string_view>

namespace ductra {

int run_ductra(std::u16string_view command_line);

}  // namespace ductra
