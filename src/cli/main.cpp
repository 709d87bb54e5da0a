#include "cli/cli_app.h"

int main(int argc, char** argv) {
  return quorvane::RunCli(argc, argv);
}
