#include "gui/desktop_program.h"

// The resolving service's base address is a build setting; the test build points it at the
// stand-in service on a fixed loopback port.
int main(int argc, char** argv) {
  return quorvane::RunDesktopProgram(argc, argv, PROGRAM_RESOLVER_BASE);
}
