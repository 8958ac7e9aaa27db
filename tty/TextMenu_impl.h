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

// Sub-menus run inside their parents' loops, and settings files nest
// sub-menu blocks: both stop at this depth, so that a menu that reaches
// itself again cannot exhaust the stack.
constexpr int kMaxMenuDepth = 16;
// Characters of a settings file's name.
constexpr int kMaxEntry = kItemTextSize - 1;

// Stores the menu's settings in the file at path; false when it cannot be
// created.
bool StoreSettings(TtyMenu* menu, const char* path);

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a decimal number of up to 9 digits at *p and moves past all its
// digits; false when none stands there.
bool ReadNumber(const char** p, long* n);

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
