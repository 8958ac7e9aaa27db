// The terminal UI of the menu engine: line-oriented prompts and entry
// validation, and the menus built on them. Everything is written to
// standard output and read a line at a time from standard input.
//
// Files of the module:
//   TextMenu_prompts.cpp  yes/no questions, messages, entry validation
#pragma once

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
// A letter of d, x, f, t, A, a or a '!' not followed by '(' is a plain
// character. Where a d or x element finds no number the value is out of
// range (result 1).
int ValidateEntry(const char* value, const char* pattern);

// ---------------------------------------------------------------------------
// Menu loop state.

// Set by an item's action (the installer's install sequence) to make the
// running menu loop end after the action returns.
extern unsigned char flExitTextMenu;
