// The menu engine's shared state: the loop's flag and the help key's entry
// and source.
#include "TextMenu.h"

unsigned char flExitTextMenu = 0;

char* pTtyHtmlName = nullptr;
char* pTtyHtmlData = nullptr;
char* pTtyHtmlTitle = const_cast<char*>("Help");
TtyHelpEntry pfnTtyHelp = nullptr;
