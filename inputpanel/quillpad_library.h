// The component library libquillpad.so: the input-panel manager finds the
// component's class through DllGetClassObject and may unload the library
// once DllCanUnloadNow answers S_OK. Everything the component needs of the
// platform (window system, registry, launcher, shared events, clock) it
// takes from the process that loads it, so it sees the device's windows.
// The application is started on the device named by DUCTRA_DEVICE_ROOT
// (else the user's), as the program DUCTRA_APPLICATION (else "Ductra"
// beside the loading program).
#pragma once

#include "appplatform/com/interfaces.h"

#define QUILLPAD_EXPORT __attribute__((visibility("default")))

extern "C" {

QUILLPAD_EXPORT ductra::platform::HResult DllGetClassObject(const ductra::platform::Guid& clsid,
                                                            const ductra::platform::Guid& iid, void** out);
QUILLPAD_EXPORT ductra::platform::HResult DllCanUnloadNow();

}  // extern "C"
