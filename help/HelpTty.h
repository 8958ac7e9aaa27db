// The help menu: the current help page shown as a menu of the menu engine,
// its text first, then its links as numbered items and the commands Exit
// Help, Contents and Back, and TtyHtmlHelp, the entry a menu's help key
// calls once it is set as pfnTtyHelp (the help source globals are the menu
// engine's, TextMenu.h).
#pragma once

#include "TextMenu.h"
#include "html.h"

extern const char common_004[];  // "~e Exit Help"
extern const char common_005[];  // "~c Contents"
extern const char common_006[];  // "~b Back"

constexpr int kHelpLinkTextMax = 127;  // characters of a link's item text

// Shows help on name (with buffer as its text when not NULL; it is cut up
// in place and kept) under title until the user leaves it. Does nothing
// when name or title is NULL.
void TtyHtmlHelp(const char* name, char* buffer, const char* title);

extern TtyMenu HelpMenu;
extern TtyMenuItem HelpCommonItems[6];  // two bar heads, the three commands, the terminator
extern TtyMenuItem* HelpMenuItems;      // grown as pages need, never shrunk
extern int HelpMenuItemCnt;             // its capacity in items

// Rebuilds the items for pCurrentPage: the page text, one item per href
// link that takes room on the page (its text without the brackets, cut to
// kHelpLinkTextMax characters), the message of a link that could not be
// followed as a text line, then HelpCommonItems.
void TtyHelpBuildMenuItems();

// Item actions: follow the item's link (what went wrong is shown among the
// items until the next choice); go to the contents; go back. Each rebuilds
// the items and returns 0.
int TtyHelpGotoLink(TtyMenu* menu, TtyMenuItem* item);
int TtyHelpContents(TtyMenu* menu, TtyMenuItem* item);
int TtyHelpBack(TtyMenu* menu, TtyMenuItem* item);
