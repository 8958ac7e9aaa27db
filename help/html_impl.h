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

// ---------------------------------------------------------------------------
// Shared by the body layout (html_layout.cpp) and the tables
// (html_table.cpp).

// Positions in HtmlKeys.
enum HtmlTag : unsigned {
  kTagOther = 0,
  kTagP = 1,
  kTagEndP,
  kTagB,
  kTagEndB,
  kTagFont,
  kTagEndFont,
  kTagA,
  kTagEndA,
  kTagTr,
  kTagEndTr,
  kTagBr,
  kTagTable,
  kTagFitab,
  kTagEndTable,
  kTagTd,
  kTagEndTd,
  kTagH1,
  kTagH6 = kTagH1 + 5,
  kTagEndH1,
  kTagEndH6 = kTagEndH1 + 5,
  kTagOl,
  kTagEndOl,
  kTagLi,
  kTagEndLi,
  kTagDiv,
  kTagEndDiv,
  kTagImg,
};

// The layout's tag of an element: kTagOther for text runs and tags it does
// not know, and for a source's own "fitab" (only a measured table is one).
HtmlTag TagOf(const HtmlElement* e);

inline bool IsText(const HtmlElement* e) { return e->pTag == nullptr; }

// The body element at the walk cursor of pCurrentPage, advancing it.
HtmlElement* NextBodyElement();

constexpr long long kMaxGridCells = static_cast<long long>(kHtmlMaxGridRows) * kHtmlGridWidth;

// The grid cell of (row, col).
inline long long CellAt(int row, int col) { return static_cast<long long>(row) * kHtmlGridWidth + col; }

int ClampInt(long long value, long long low, long long high);

// Writes len cells of pCurrentPage's grid from cell on: text, or len copies
// of text[0] with fill. A write the grid cannot take (past kHtmlMaxGridRows,
// or with memory short) is not made, and the page is refused.
void PutCells(long long cell, const char* text, long long len, bool fill);

// The content lines of table row i and the content width of column i, 0
// outside the table.
inline int RowHeight(const TableLayout* t, int i) { return i >= 0 && i < t->RowCnt ? t->pRowHeights[i] : 0; }
inline int ColWidth(const TableLayout* t, int i) { return i >= 0 && i < t->ColCnt ? t->pColWidths[i] : 0; }

// GetTextTable for a table nested depth levels deep (1 in the body).
TableLayout* MeasureTable(HtmlFile* file, HtmlElement* element, int available, int depth);
