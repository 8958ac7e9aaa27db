#include "TextMenu.h"

unsigned char flExitTextMenu = 0;
