// Helpers shared by the files of the menu engine; not for its callers.
#pragma once

#include <string>
#include <vector>

#include "TextMenu.h"

// Shows text number of the engine's section of the string database (a
// format for the further arguments) through PostMsg; returns what PostMsg
// returned.
char* PostNlsMsg(int number, ...);

// The terminal's input has ended: message 1016 through SysError, status 1.
[[noreturn]] void EndOfTerminalInput();

// A set of states (kind 10) is a bit set in one word: at most this many.
constexpr int kMaxSetStates = 63;

// Gives a text item (kinds 11, 12) its 256-byte buffer when it has none.
void EnsureTextBuffer(TtyMenuItem* item);

// Number of items before the terminator (0 for a NULL menu).
int MenuItemCount(const TtyMenu* menu);

// The comma-separated state names of a kind-9 or kind-10 item, as written
// (a leading blank: unavailable; a leading '_': not shown); an empty name
// between two commas is a state ("a,,b" is three). None for an empty text.
std::vector<std::string> ItemStateNames(const TtyMenuItem* item);

// A state name as it is shown: without a leading '_'.
std::string ShownStateName(const std::string& name);

// The title as shown: a "~k " prefix left out.
const char* ShownTitle(const TtyMenuItem* item);

// Draws the chooser of a kind-9 or kind-10 item into the screen's grid (a
// fresh grid of blanks), showing the states from page on (index from 0;
// out of range: the first page). Returns how many states it shows.
int DrawStateChooser(TtyScreen* screen, const TtyMenuItem* item, int page);
