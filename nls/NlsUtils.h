// Language support for the menu engine: its fixed texts are records of the
// driver core string database, keyed "<section>_<number>", fetched and
// printed here. A text that cannot be found is the shared error text "Error".
#pragma once

#include <cstdio>

#include "Dbm.h"

// The driver core string database of the menu engine; NULL unless something
// opens one (the installer opens the one of its language from the medium).
extern DbTHandle* pDrvCoreDB;

constexpr int kNlsSection = 25;        // the menu engine's section
constexpr int kNlsFetchBufSize = 2048;  // texts up to this length are read without a further allocation

// Fetches a text from db (which may be NULL). mode selects the further
// arguments and the result:
//   0  (int section, int number): a new copy of the text (out NULL), or the
//      text copied into out; the shared error text when there is none
//   1  (const char* key): as 0, but with no record the key pointer itself
//   2  (const char* key): as 1
//   3  (int section, int number): always a new copy, or the error text
// Other modes return out. A new copy belongs to the caller (NlsFreeString
// gives it back); texts of any length are read whole. With out given it must
// hold the whole text: it receives the record's length in bytes, strncpy
// style. A section or number of 0 with no db fails at once.
char* NlsFetchString(DbTHandle* db, char* out, int mode, ...);

// Prints text number of section from db on stream, the text serving as the
// printf format of the further arguments; "Error" when it cannot be found.
// (The format comes from the database, so the compiler cannot check it; the
// string database's own test checks every text against its callers.)
void Nlsfprintf(FILE* stream, DbTHandle* db, int section, int number, ...);

// True for the shared error text, which is never given back.
bool NlsIsErrorText(const char* text);

// Gives back a text that NlsFetchString returned, unless it is the shared
// error text or NULL.
void NlsFreeString(char* text);

// The help viewer's fixed menu items, records 25_240 to 25_242 of the
// database: "~e Exit Help", "~c Contents" and "~b Back" in English.
enum NlsHelpItem { kNlsHelpExit = 240, kNlsHelpContents = 241, kNlsHelpBack = 242 };

// The title of one of those items from db (which may be NULL), a new text
// the caller gives back with NlsFreeString. The key after '~' is the same in
// every language: a text that is missing or names another key gives the
// English title instead, so that e, c and b always work.
char* NlsFetchHelpItem(DbTHandle* db, NlsHelpItem item);
