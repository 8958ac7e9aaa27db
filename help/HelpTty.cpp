// The help entry of the menu engine. The help viewer itself is not part of
// this build: asked for help, this says so in one line and returns, so that
// the menu that asked simply shows itself again.
#include "HelpTty.h"

#include <cstdio>

char* pTtyHtmlName = nullptr;
char* pTtyHtmlData = nullptr;
char* pTtyHtmlTitle = const_cast<char*>("Help");

void TtyHtmlHelp(const char* name, const char*, const char* title) {
  if (name == nullptr || title == nullptr) return;
  std::printf("\n%s: help is not available in this build (%s)\n", title, name);
  std::fflush(stdout);
}
