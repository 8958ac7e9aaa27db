// The program's entry: the installer, with the installation's record and
// the run's guards connected to it.
#include "guards.h"
#include "installer.h"
#include "record.h"
#include "utils.h"

int main(int argc, char** argv) {
  OpenStandardStreams();
  ConnectInstallationRecord();
  ConnectRunGuards();
  SetupMain(argc, argv);
}
