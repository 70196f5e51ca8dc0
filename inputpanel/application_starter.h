// Finding the application's shell window and starting the application.
//
// The application is "Ductra.exe" in the folder the installer recorded
// (HKLM "SOFTWARE\Apps\Korvale Software Ductra 9.0" "InstallDir", a key
// made empty when missing), else in "\Program Files\Ductra"; it is started
// with the command line "start" and has started once it sets the event
// "Korvale Software Ductra window created Event".
#pragma once

#include <cstdint>

#include "appplatform/process.h"
#include "appplatform/window_system.h"
#include "inputpanel/component.h"

namespace ductra::quillpad {

// The application's shell window when it is a live window; none otherwise.
platform::WindowHandle find_shell_window(platform::WindowSystem& windows);

// Starts the application and waits up to the device's start time-out for
// its event. `process` takes the started program (replacing what it held)
// even when the wait then runs out. False when the program cannot be
// started or does not signal in time.
bool start_application(const ComponentDevice& device, platform::Process& process);

// The shell window, starting the application first when there is none;
// none when it cannot be started or still cannot be found.
platform::WindowHandle find_or_start_application(platform::WindowSystem& windows, const ComponentDevice& device,
                                                 platform::Process& process);

}  // namespace ductra::quillpad
