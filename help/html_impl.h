// Helpers shared by the files of the help viewer; not for its callers.
#pragma once

#include "html.h"

// The first page of a file, NULL when it has none.
HtmlPage* FirstPage(const HtmlFile* file);

// 1-based position of name in the keyword list (any case), 0 when absent;
// a name holding the list's separator is never found.
unsigned TagPosition(const char* name, const char* list);

// Gives back what a page owns: its text, its element and link lists, the
// links of its a tags and the layouts of its measured tables.
void FreePage(HtmlPage* page);

// GetTextTable for a table nested depth levels deep (1 in the body).
TableLayout* MeasureTable(HtmlFile* file, HtmlElement* element, int available, int depth);
