// Setting a device root up for a run. On the first start the root gets its
// standard folders and the default data (the data file and the word lists
// in "\Program Files\Ductra", beside the application, where the engine
// keeps the user's files too); data already there is never overwritten, so
// the user's dictionaries and choices survive. On every start the device
// libraries are put in "\Windows" ("Quillpad.dll" the input-panel component,
// "touch.dll" the touch driver chosen for this run), and the user's default
// input method is recorded unless one is.
#pragma once

#include <string>

#include "appplatform/com/guid.h"
#include "appplatform/device_root.h"
#include "device/device_files.h"

namespace ductra::device {

// False, with the reason in *error, when the root cannot be made ready.
bool set_up_device_root(const platform::DeviceRoot& root, const DeviceFiles& files, const char* touch_driver,
                        const platform::Guid& default_input_method, std::string* error);

}  // namespace ductra::device
