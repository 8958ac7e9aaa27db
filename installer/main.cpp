#include "installer.h"
#include "utils.h"

int main(int argc, char** argv) {
  OpenStandardStreams();
  SetupMain(argc, argv);
}
