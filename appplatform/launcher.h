// Starting programs of the device by device path (CreateProcess and
// ShellExecuteEx of the programs): the program map says what runs on the
// host. A started program learns its device and its own device path from
// the environment (DUCTRA_DEVICE_ROOT, DUCTRA_DEVICE_PROGRAM), so it uses
// the same device and knows its own path.
#pragma once

#include <string_view>
#include <sys/types.h>
#include <vector>

#include "appplatform/device_root.h"
#include "appplatform/process.h"
#include "appplatform/program_map.h"
#include "appplatform/status.h"

namespace ductra::platform {

// Starts `program` with `parameters`. not_found when the map has no such
// program or its host program cannot be run. For an opener, parameters
// that begin with '\' name a device file (with an optional "#" and a
// place in it), handed over as a file URL; any other text (a web address)
// is handed over as it is. A recorder adds the line "<device path>
// <parameters>" to the request log and gives an ended process.
Status start_program(const DeviceRoot& root, const ProgramMap& map, std::u16string_view program,
                     std::u16string_view parameters, Process* out);

struct RunningProgram {
  pid_t pid = 0;
  std::u16string name;  // file name of the device path it was started as
};

// The programs of this device started through start_program that still
// run, as a process snapshot lists them (each is listed in the device's
// runtime folder when it starts; ended ones are struck off here).
std::vector<RunningProgram> running_programs(const DeviceRoot& root);

}  // namespace ductra::platform
