// The terminal UI of the menu engine: line-oriented prompts and entry
// validation, and the menus built on them. Everything is written to
// standard output and read a line at a time from standard input.
//
// Files of the module:
//   TextMenu_prompts.cpp  yes/no questions, messages, entry validation
//   TextMenu_screen.cpp   the character grid of the state chooser (terminfo)
//   TextMenu_model.cpp    menu and item records, item states, state rules
//                         and conditions
//   TextMenu_chooser.cpp  the full-screen state chooser: texts, drawing,
//                         dialogue
//   TextMenu_loop.cpp     the menu loop and its rendering
//   TextMenu_settings.cpp settings files: storing and loading a menu tree
//   TextMenu_state.cpp    the menu loop's shared flag, the help key's entry
#pragma once

#include <cstdint>

#include "utils.h"  // SETUP_PRINTF

// ---------------------------------------------------------------------------
// Prompts and entry validation.

// The program's own texts of the validator.
extern const char setup_044[];     // "This number must be between %i to %i."
extern const char setup_045[];     // "This number must be between %x to %x."
extern const char setup_046[];     // "This text length must be from %i to %i characters long."
extern const char textmenu_060[];  // "This number must be between %f to %f."

// The pattern of a directory typed in a menu: a leading '/', then letters,
// digits, '-', '_' and '/', 1 to 255 characters in all.
constexpr const char kDirectoryPattern[] = "/A(1,255)+-+_+/";

// Asks the question (format filled in, then "? [y/n] ") until a line
// beginning with a lower-case y (1) or n (0) is read. End of input answers
// no, after ending the question's line.
SETUP_PRINTF(1, 2) int PromptYN(const char* format, ...);

// Shows the message, then the request to press Enter (text 1001 of the
// driver core string database), and waits for a line. Returns LineBuf, or
// NULL at end of input.
SETUP_PRINTF(1, 2) char* PostMsg(const char* format, ...);

// Checks value against pattern. 0 when it fits (or pattern is NULL or
// empty); otherwise the user has been told why through PostMsg and the
// result is the kind of fault: 1 a number outside its range or a malformed
// fraction, 2 a text length outside its range, 3 a character the pattern does
// not allow, 4 a value the pattern forbids.
//
// Pattern elements, read left to right with the value scanned in step
// (min and max are decimal, a max of 0 meaning no limit):
//   d(min,max)  decimal integer, then one separator character
//   x(min,max)  hexadecimal integer, then one separator character
//   f(min,max)  the rest of the value is a decimal fraction (digits, one '.')
//   t(min,max)  the whole value is min to max characters long
//   A(min,max)+c+c...  the rest is letters, digits and the listed characters,
//               and the whole value min to max characters long
//   a(min,max)+c+c...  the same with letters only
//   !(text)     the value is anything but text (nothing after it is examined)
//   |           the value fits
//   other       that very character
// Only a t not followed by '(' is a plain character; the other element
// letters take the character after them as their '(' whatever it is. Where
// a d, x or f element finds no number, whatever its range, the value is
// refused with "A number is needed here." in the run's language (result 1).
int ValidateEntry(const char* value, const char* pattern);

// ---------------------------------------------------------------------------
// Screen buffer and terminal: a grid of characters the size of the terminal
// ("vt100" always), written to the terminal in one pass.

struct TtyScreen {
  int Cols;      // terminal width
  int Lines;     // terminal height
  int CursorX;   // column of the write position, from 0
  int CursorY;   // line of the write position, from 1 (see WriteString)
  char* pCells;  // Cols x Lines cells, row after row; the caller gives it back with PutMem
};

// Loads the terminal description "vt100" (once; a missing description is no
// failure: its sizes, 80 by 24, are assumed), fills Cols and Lines and
// allocates a fresh grid of blanks, which it returns (also in pCells).
char* GetTermInfo(TtyScreen* screen);

// Clears the terminal and fills the grid with blanks.
void ClearScreen(TtyScreen* screen);

// Sets height rows of width cells from column x of row y (both from 0) to
// ch; the part of the area outside the grid is left out.
void FillArea(TtyScreen* screen, int x, int y, int width, int height, char ch);

// Sets the write position; writes nothing.
void SetPosition(TtyScreen* screen, int x, int y);

// Formats the text (at most 511 characters) into the grid at the write
// position, running on into the next rows and cut at the end of the grid.
// A CursorY outside 1..Lines becomes 1 and a CursorX outside 1..Cols
// becomes 0 first; row 1 is the top row (so is row 0). The write position
// does not move.
SETUP_PRINTF(2, 3) void WriteString(TtyScreen* screen, const char* format, ...);

// Writes the whole grid to standard output, row after row without line
// feeds, leaving out the bottom-right cell so that the terminal does not
// scroll. A line feed in a cell ends its row's output.
void Refresh(TtyScreen* screen);

// Moves the terminal's cursor to column x, line y (from 0) and makes that
// the write position.
void MoveCursor(TtyScreen* screen, int x, int y);

// ---------------------------------------------------------------------------
// Menu model: menus are tables of items ended by an item whose title is
// NULL. Items may carry a value (a state among named states, a set of
// states, a number, a fraction, a text) whose changes switch other items on,
// off or out of sight through small rule texts.

struct TtyMenu;
struct TtyMenuItem;

using TtyItemAction = int (*)(TtyMenu*, TtyMenuItem*);
using TtyMenuApply = void* (*)(TtyMenu*);
using TtyMenuRefresh = void (*)(TtyMenu*);

// An item's initial or current value; which member holds it follows from
// the item's kind.
union TtyWord {
  intptr_t Int;        // state number (9), bit set (10), integer (13), bar columns (1, 3)
  float Float;         // fraction (14)
  char* pText;         // kinds 11, 12: Value is the item's 256-byte buffer
  const char* pConst;  // kinds 11, 12: Default, the initial text (or NULL)
  TtyMenu* pMenu;      // kind 8 without conditions: the sub-menu
  TtyMenu** ppMenus;   // kind 8 with conditions: one sub-menu per condition
};

struct TtyMenu {
  const char* pTitle{};          // heading; its first line is centred
  int TitleAlign{};              // kAlign... placement of the heading
  const char* pLeaveQuestion{};  // asked when a changed menu is left, or NULL
  TtyMenuApply pfnApply{};       // called when the menu is left normally
  const char** ppName{};         // the menu's name in the leave question, or NULL
  TtyMenuRefresh pfnRefresh{};   // called on entry, after a sub-menu, after declining to leave
  TtyMenuItem* pItems{};         // the items, ended by an item with a NULL title
  uint16_t Flags{};              // kMenu... bits
};

// TtyMenu TitleAlign.
enum : int {
  kAlignLeft = 0,    // at the left, followed by a colon
  kAlignCenter = 1,  // centred in 80 columns
  kAlignRight = 2,   // right-aligned to column 80
};

// TtyMenu Flags.
enum : uint16_t {
  kMenuEmptySelects = 0x01,   // an empty line goes to the selection (no leave dialogue)
  kMenuHelp = 0x02,           // key h shows help
  kMenuKeep = 0x04,           // the menu is not released when its loop ends
  kMenuStoreAsk = 0x08,       // key s stores the settings in a file whose name is asked
  kMenuStoreAndEnd = 0x10,    // key s stores the settings in ".settings" and ends the program
  kMenuReinit = 0x40,         // items are prepared again after a kind-7 action succeeded
  kMenuKindBefore = 0x80,     // the chosen item's kind is taken as it was before its selection
  kMenuNoBlankLines = 0x100,  // no empty line between items
};

struct TtyMenuItem {
  const char* pTitle{};      // shown text; "~k text" makes k the key and shows "text"
  unsigned Type{};           // kItem... kind
  unsigned State{};          // kState... availability
  const char* pPrompt{};     // prompt of entry items (11 to 14)
  const char* pStates{};     // kinds 9, 10: comma-separated state names (" x" unavailable, "_x" shown as x)
  const char* pCurState{};   // kinds 9, 10: the current state's name (the engine's; tables leave it NULL)
  TtyWord Default{};         // initial value
  TtyWord Value{};           // current value
  int PrevValue{};           // value before the last change (kind 9)
  TtyItemAction pfnAction{};  // the item's action, or NULL
  int TitleLen{};            // length of pTitle, set by InitMenu
  const char* pFormat{};     // state rules (9, 10, 13), conditions (8) or validation pattern (11 to 14)
  int SavedValue{};          // value saved by another item's S rule; -1 when none (a table's 0 counts as saved)
  int Count{};               // kinds 9, 10: number of states
  void* pUserData{};         // free for the action
  unsigned Key{};            // selection key: hot-key character, item number, or 0 (kinds 0 to 3)
};

// Item State.
enum : unsigned {
  kStateAvailable = 0,  // shown with its number or key, selectable
  kStateDimmed = 1,     // shown without number, not selectable
  kStateHidden = 2,     // not shown, not selectable
};

// Item kinds.
enum : unsigned {
  kItemText = 0,       // text line
  kItemBar1 = 1,       // bar head (printed like kind 3)
  kItemNumbered = 2,   // printed with a number, cannot be selected
  kItemBar = 3,        // bar head: the rest of the items in Value columns (0: 3)
  kItemApplyNamed = 4, // action that first requires every kind-11 entry to be filled; leaves
  kItemApply = 5,      // action that leaves; also run when a settings file cannot be opened
  kItemLeave = 6,      // leave item
  kItemAction = 7,     // action item
  kItemSubMenu = 8,    // sub-menu
  kItemChoice = 9,     // one state of several
  kItemSet = 10,       // a set of states (bit i: state i+1)
  kItemRequired = 11,  // required text
  kItemOptional = 12,  // optional text
  kItemInteger = 13,   // integer
  kItemFraction = 14,  // fraction (single precision)
  kItemKinds = 15,
};

constexpr int kItemTextSize = 256;  // the buffer of a text item: 255 characters

// Chooser texts, fetched on first use from the driver core string database.
extern char* VPATTYMENU_DEFAULT;     // 200
extern char* VPATTYMENU_SAVE;        // 201: its first character is the key that saves
extern char* VPATTYMENU_CANCEL;      // 202: its first character is the key that cancels
extern char* VPATTYMENU_CURSEL;      // 203: %s the current selection
extern char* VPATTYMENU_CURSELTRUNC; // 204: %s the current selection, cut
extern char* VPATTYMENU_OPTION;      // 205: the input prompt

// Prepares every item (lengths, state counts, initial values, keys; kinds 9
// and 10 also get their state rules applied) and returns the length of the
// longest title. SavedValue is left as it is.
int InitMenu(TtyMenu* menu);

// Releases the text buffers of kinds 11 and 12 (Value becomes NULL).
void FreeMenu(TtyMenu* menu);

// Makes pCurState name the state of Value; a kind-9 item on an unavailable
// state moves on to the next available one.
void UpdateStateSelection(TtyMenuItem* item);

// 0 when a kind-11 item before the first hidden item is empty (the user is
// told through PostMsg), else 1.
unsigned char TestNames(TtyMenu* menu);

// 1 when the value list (decimal numbers separated by any non-digits) holds
// value, or holds "*".
unsigned char TestFormatState(const char* list, int value);

// Applies the state rules (pFormat) of item index, unless it has none or is
// not available. Rules: a letter, a value list, then the target item indexes,
// e.g. "N0{3,4} H1{5} S2{6.1} P*{7}": N makes targets shown-without-number
// (1) when the value is listed, else available; H the same with hidden (2);
// P applies the target's own rules and runs its action (rules already being
// applied are not applied again, and one call runs at most a few hundred P
// targets in all); S sets the target's value to the number after it,
// restoring the saved value when unlisted.
void ProcessStateFormat(TtyMenu* menu, int index);

// One condition atom "n.v", "+n.v" or "-n.v": item n (absolute, or counted
// from index) holding value v. 0 when it does not, 2 when it does but is not
// available, 1 otherwise.
int TestState(TtyMenu* menu, const char* atom, int index);

// Evaluates a condition: atoms, "atomA" (true when the item holds the value
// but is not available), ! (tightest), & , | and parentheses. A malformed
// condition is false.
unsigned char TestStateCondition(TtyMenu* menu, const char* text, int index);

// The sub-menu of the kind-8 item index: NULL when it is not available; its
// Value when it has no conditions; else the sub-menu of the first condition
// (blank-separated in pFormat) that holds, or NULL.
TtyMenu* ValidateMenu(TtyMenu* menu, int index);

// The full-screen chooser of a kind-10 item or a kind-9 item with three or
// more states; answer, when not empty, is taken as the first input. Numbers
// choose (kind 9: the last one; an unavailable state moves on to the next
// available one) or toggle (kind 10: available states only), an empty line
// shows the next page, the save key keeps the new value and the cancel key
// restores the old one. End of input ends the program like the menu loop.
void ProcessStateValue(TtyMenu* menu, int index, const char* answer);

// ---------------------------------------------------------------------------
// Menu loop, rendering and settings files.

extern const char setup_056[];  // "Enter the settings file name: "

// Set by an item's action (the installer's install sequence) to make the
// running menu loop end after the action returns.
extern unsigned char flExitTextMenu;

// The rest of the input line after its first word, handed to the chosen item.
extern char* pOption;

// Shows the menu and carries out the user's choices until the menu is left.
// With a settings path the values are first read from that file; when it
// cannot be opened, the first kind-5 item's action runs and its result is
// returned, as a pointer-sized integer (0 is NULL), or that item itself
// when it has no action (NULL when there is no kind-5 item). With interactive 0 no dialogue takes place: the result is
// pfnApply(menu), or the menu itself without pfnApply. NULL after an
// interactive run. End of input ends the program through SysError
// (message 1016, status 1).
void* RunMenu(TtyMenu* menu, const char* settingsPath, int interactive);

// Prints the menu: a form feed, the heading, the items, the prompt line.
// width is the longest item title, titleLength the length of the heading's
// first line. Returns the number of items.
int PrintMenu(TtyMenu* menu, int width, int titleLength);

// Prints the items after the bar head item in columns, advancing *index and
// *number for each; returns the last item handled.
TtyMenuItem* PrintMenuBarItem(TtyMenuItem* item, unsigned kind, int* index, int* number);

// 1 + the index of the item that the line in LineBuf selects (a number, or a
// hot key in either case), or 0; also sets pOption and handles the help and
// settings keys of menus that have them.
int FindSelection(TtyMenu* menu, int count);

// Carries out item index with option as its argument text; 1 when the item
// did its work.
unsigned char ProcessSelection(TtyMenu* menu, int index, const char* option);

// The first item of that kind, or NULL.
TtyMenuItem* FindTextMenuItem(TtyMenu* menu, unsigned kind);

// Reads value lines from the current input file (pIn) into the menu and its
// sub-menus. Lines that do not fit the menu (unknown index, bad kind or
// state, missing brackets, blocks of no sub-menu or nested too deep) are
// passed over.
void LoadMenu(TtyMenu* menu);

// Writes the value lines of the menu and its sub-menus to pOut.
void StoreMenu(TtyMenu* menu);

// ---------------------------------------------------------------------------
// The help key. A menu with kMenuHelp shows help on h through pfnTtyHelp,
// called with the help source below. The help viewer sits above the menu
// engine, so whoever offers help sets the entry (the viewer's is
// TtyHtmlHelp, help/HelpTty.h); while it is NULL, h shows nothing.

// The help source: its name (a file name), its text when it is held in
// memory (NULL: read the file), and the title of the help menu ("Help").
extern char* pTtyHtmlName;
extern char* pTtyHtmlData;
extern char* pTtyHtmlTitle;

using TtyHelpEntry = void (*)(const char* name, char* buffer, const char* title);
extern TtyHelpEntry pfnTtyHelp;
