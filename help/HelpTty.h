// The terminal help viewer as the menu engine sees it: the help source a
// menu with the help flag opens on its key h, and the entry that shows it.
#pragma once

// The help source: its name (a file name), its text when it is held in
// memory (NULL: read the file), and the title of the help menu ("Help").
extern char* pTtyHtmlName;
extern char* pTtyHtmlData;
extern char* pTtyHtmlTitle;

// Shows help on name (with buffer as its text when not NULL) under title
// until the user leaves it. Does nothing when name or title is NULL.
void TtyHtmlHelp(const char* name, const char* buffer, const char* title);
