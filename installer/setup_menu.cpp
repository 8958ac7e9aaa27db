// The main menu of menu mode.
#include <cstdio>
#include <cstdlib>

#include "installer.h"
#include "utils.h"

void RunMainMenu() {
  // The menu engine is not part of this build yet: say so plainly rather
  // than pretend that a menu ran.
  std::fflush(stdout);
  std::fprintf(stderr, "%s: menu mode is not available in this build\n", my_name);
  std::exit(1);
}
