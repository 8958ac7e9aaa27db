// The terminal's character set. The program's texts (message tables,
// string databases, help pages) are ISO 8859-1; a terminal whose locale
// says UTF-8 gets them converted at one place, the standard output and
// error streams, after every column has been counted on the ISO 8859-1
// text; what is typed is converted back in Gets before it is judged.
// Elsewhere the bytes go out as they are. Files the program writes (the
// log, the scripts, the manifest) are never converted.
#pragma once

#include <cstddef>
#include <string>

// The locale name that the C library would take for messages: the first
// of LC_ALL, LC_MESSAGES and LANG that is set and not empty; NULL when
// none is.
const char* MessagesLocaleName();

// Whether the locale's character set (the codeset of the first of LC_ALL,
// LC_CTYPE and LANG that is set: "fr_FR.UTF-8", "C.utf8") is UTF-8.
bool LocaleIsUtf8();

// From here on, when the locale is UTF-8, standard output and standard
// error convert ISO 8859-1 to UTF-8 as they write. Call it once at the
// start, before anything is written; later calls do nothing.
void UseTerminalCharset();

// Whether UseTerminalCharset made the streams convert.
bool TerminalConverts();

// A name the program did not choose (a typed directory, a path read from a
// manifest or a folder, a link's target) as it may be shown: each control
// character (below 32, and 127) as '?', so that none can drive the
// terminal. Every other byte stays.
std::string ShownWithoutControls(const std::string& text);

// ISO 8859-1 text as UTF-8.
std::string Latin1ToUtf8(const char* text, size_t length);

// Converts UTF-8 text in place to ISO 8859-1: a character outside it
// becomes '?'; a byte that is no part of a UTF-8 character stays as it is
// (it was typed in ISO 8859-1). Returns the new length.
size_t Utf8ToLatin1InPlace(char* text);
