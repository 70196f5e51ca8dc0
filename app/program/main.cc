// Ductra, the application: started by the input-panel component with the
// command line "start", by the installation with "reboot", or with none for
// its first run.
#include "app/program/run_ductra.h"
#include "appplatform/text.h"

int main(int argc, char** argv) {
  return ductra::run_ductra(argc > 1 ? ductra::platform::to_utf16(argv[1]) : std::u16string());
}
