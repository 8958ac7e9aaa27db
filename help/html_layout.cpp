// The text image of a help page: elements are written into a grid of rows
// 132 cells wide (a row's text runs on into the rows below it when it is
// longer), tables (html_table.cpp) are measured first and drawn into it,
// and the grid is finally compacted into one text with the links' offsets
// in it.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "UtilText.h"
#include "html.h"
#include "html_impl.h"
#include "utils.h"

const char HtmlKeys[] =
    ",p,/p,b,/b,font,/font,a,/a,tr,/tr,br,table,fitab,/table,td,/td,h1,h2,h3,h4,h5,h6,/h1,/h2,/h3,/h4,/h5,/h6,"
    "ol,/ol,li,/li,div,/div,img,";

namespace {

// Why the page being laid out cannot be shown. Its grid is not cut short:
// a page it cannot hold is shown as a message instead.
enum class Refusal { kNone, kTooLong, kNoMemory };
Refusal refusal = Refusal::kNone;

// Positions saturate one row below the grid's limit: a page that reaches
// it is too long, and no sum of rows overflows.
constexpr int kRowBeyond = kHtmlMaxGridRows + 1;

// The grid grows (zero-filled, by doubling) to hold the rows written, up to
// kHtmlMaxGridRows. False, the page refused, when cell lies beyond that or
// memory is short.
bool GridHolds(HtmlPage* page, long long cell) {
  if (cell < 0 || cell >= kMaxGridCells) {
    refusal = Refusal::kTooLong;
    return false;
  }
  const long long rows = cell / kHtmlGridWidth + 1;
  if (rows <= page->GridRows) return true;
  const long long grown = std::min<long long>(std::max<long long>({rows, 2LL * page->GridRows, 16}), kHtmlMaxGridRows);
  void* grid = AdjustMem(page->pImage, static_cast<size_t>(grown * kHtmlGridWidth) + 1);
  if (grid == nullptr) {
    refusal = Refusal::kNoMemory;
    return false;
  }
  page->pImage = static_cast<char*>(grid);
  page->GridRows = static_cast<int>(grown);
  return true;
}

// The page text of a page the grid cannot hold.
std::string RefusedText() {
  if (refusal == Refusal::kNoMemory) return RunUtilText(UtilText::kPageNoMemory);
  return UtilFormat(UtilText::kPageTooLong, kHtmlMaxGridRows);
}

// The state of one level of the layout: the body, or one table's contents.
struct Layout {
  HtmlFile* file;
  TableLayout* table;  // NULL in the body
  int row = 0;
  int col = 0;
  int cellX = 0;
  int rowTop = 0;
  int colIndex = -1;
  int rowIndex = 0;
  bool rowOpen = false;
  std::vector<int> lists{};  // the item counter of each open ordered list, the innermost last
  HtmlLink* link = nullptr;  // the link being built
  bool bracketOpen = false;

  void Write(const char* text, int len) { PrintText(file, &row, &col, text, len, false); }
  void NewLine(int n = 1);
  void Element(HtmlElement* e);
  void OpenLink(HtmlElement* e);
  void CloseLink();
  void ListItem();
  void StartRow();
  void EndRow();
  void StartCell();
  void StartTable(HtmlElement* e);
  void NestedTable(HtmlElement* e);
};

// In the body, a line that ran on past the grid's width (several runs,
// each shorter than a row) holds the rows below it too: the new line
// starts below all of them. A table's lines keep to the rows it measured.
void Layout::NewLine(int n) {
  if (table == nullptr) row += col / kHtmlGridWidth;
  row = ClampInt(static_cast<long long>(row) + n, 0, kRowBeyond);
  col = table != nullptr ? cellX : 0;
}

// A link starts where its text will: an href link's text goes between
// angle brackets.
void Layout::OpenLink(HtmlElement* e) {
  link = static_cast<HtmlLink*>(e->pData);
  if (link == nullptr) return;
  link->Start = row;
  link->End = col;
  if (link->Kind == kLinkHref) {
    Write("<", 1);
    bracketOpen = true;
  }
}

void Layout::CloseLink() {
  if (bracketOpen) {
    Write(">", 1);
    bracketOpen = false;
  }
  if (link == nullptr) return;
  // Counted along the line, which may run on into the rows below.
  link->Width = ClampInt(CellAt(row, col) - CellAt(link->Start, link->End), 0, kMaxGridCells);
  ListPushItem(&pCurrentPage->Links, &link, sizeof link);
  // A link is listed once: a second "/a" adds nothing.
  link = nullptr;
}

void Layout::ListItem() {
  if (lists.empty()) return;
  NewLine();
  char number[24];
  FormatText(number, sizeof number, "   %i. ", ++lists.back());
  Write(number, StrLen(number));
}

// Row and cell tags mean something only inside a table. A tr while a row
// is open ends that row first.
void Layout::StartRow() {
  if (table == nullptr) return;
  if (rowOpen) EndRow();
  colIndex = -1;
  cellX = table->X + table->CellPadding + 1;
  rowTop = row;
  col = table->X + 1;
  rowOpen = true;
}

void Layout::EndRow() {
  if (table == nullptr) return;
  row = rowTop + RowHeight(table, rowIndex) + 1;
  ++rowIndex;
  rowOpen = false;
}

void Layout::StartCell() {
  if (table == nullptr) return;
  row = rowTop;
  ++colIndex;
  if (colIndex > 0) cellX += ColWidth(table, colIndex - 1) + 2 * table->CellPadding + 1;
  col = cellX;
}

// A table is measured where it stands (a nested one within the width of
// its cell), then drawn into the grid.
void Layout::StartTable(HtmlElement* e) {
  if (!lists.empty()) NewLine();
  List& body = pCurrentPage->Body;
  ListNode* saved = body.pWalk;
  const int available = table != nullptr ? ColWidth(table, std::max(colIndex, 0)) : 0;
  MeasureTable(file, e, available, table != nullptr ? table->Depth + 1 : 1);
  body.pWalk = saved;
  NestedTable(e);
}

// In the body a table takes lines of its own: one met after text on the
// same line starts on the next, and what follows it starts below it.
void Layout::NestedTable(HtmlElement* e) {
  if (!e->flMeasured) return;
  auto* t = static_cast<TableLayout*>(e->pData);
  if (table == nullptr) {
    if (col > 0) NewLine();
    t->X = col;
    t->Y = row;
  } else {
    t->X = cellX;
    t->Y = row + (col > cellX ? 1 : 0);
  }
  BuildTextBody(file, t, t->Y, t->X);
  row = ClampInt(static_cast<long long>(t->Y) + t->TableHeight, 0, kRowBeyond);
  col = t->X;
}

void Layout::Element(HtmlElement* e) {
  if (IsText(e)) {
    Write(static_cast<const char*>(e->pData), e->Len);
    return;
  }
  const HtmlTag tag = TagOf(e);
  if (tag >= kTagH1 && tag <= kTagH6) {
    NewLine();
    return;
  }
  if (tag >= kTagEndH1 && tag <= kTagEndH6) {
    NewLine(2);
    return;
  }
  switch (tag) {
    case kTagP:
      if (table == nullptr) NewLine(2);
      break;
    case kTagEndP:
      if (table == nullptr) NewLine();
      break;
    case kTagBr:
    case kTagDiv:
      NewLine();
      break;
    case kTagEndDiv:
      NewLine(2);
      break;
    case kTagA:
      OpenLink(e);
      break;
    case kTagEndA:
      CloseLink();
      break;
    case kTagOl:
      lists.push_back(0);
      break;
    case kTagEndOl:
      // Only the innermost list ends: an outer one goes on numbering.
      if (!lists.empty()) lists.pop_back();
      NewLine();
      break;
    case kTagLi:
      ListItem();
      break;
    case kTagTr:
      StartRow();
      break;
    case kTagEndTr:
      EndRow();
      break;
    case kTagTd:
      StartCell();
      break;
    case kTagTable:
      StartTable(e);
      break;
    case kTagFitab:
      NestedTable(e);
      break;
    default:
      break;
  }
}

// Row starts of the compacted text: where each grid row's cells begin in
// it, and where the line holding them ends.
struct RowSpan {
  int start;
  int end;
};

// The page text of the grid, one line per row (a row its line runs on
// into has none of its own), and the span of every row in it.
std::string CompactGrid(const HtmlPage* page, int rows, std::vector<RowSpan>* spans) {
  const char* grid = page->pImage;
  const long long cells = static_cast<long long>(page->GridRows) * kHtmlGridWidth;
  auto cell = [&](long long i) { return grid != nullptr && i < cells ? grid[i] : '\0'; };
  std::string text;
  spans->assign(static_cast<size_t>(rows), RowSpan{0, 0});
  for (int i = 0; i < rows;) {
    const long long first = static_cast<long long>(i) * kHtmlGridWidth;
    long long n = 0;
    while (cell(first + n) != '\0') ++n;
    const int start = static_cast<int>(text.size());
    text.append(grid != nullptr ? grid + first : "", static_cast<size_t>(n));
    const int end = static_cast<int>(text.size());
    text += '\n';
    const long long covered = n / kHtmlGridWidth;
    for (long long j = 0; j <= covered && i + j < rows; ++j)
      (*spans)[static_cast<size_t>(i + j)] = {static_cast<int>(std::min<long long>(start + j * kHtmlGridWidth, end)),
                                              end};
    i += static_cast<int>(covered) + 1;
  }
  return text;
}

}  // namespace

HtmlTag TagOf(const HtmlElement* e) {
  if (e->pTag == nullptr) return kTagOther;
  const auto tag = static_cast<HtmlTag>(TagPosition(e->pTag, HtmlKeys));
  // Only a table the layout measured is a "fitab"; a source tag of that name is passed over.
  if (tag == kTagFitab && !e->flMeasured) return kTagOther;
  return tag;
}

HtmlElement* NextBodyElement() { return static_cast<HtmlElement*>(ListWalk(&pCurrentPage->Body, 1)); }

int ClampInt(long long value, long long low, long long high) { return static_cast<int>(std::clamp(value, low, high)); }

void PutCells(long long cell, const char* text, long long len, bool fill) {
  HtmlPage* page = pCurrentPage;
  if (len <= 0 || !GridHolds(page, cell) || !GridHolds(page, cell + len - 1)) return;
  if (fill || len == 1)
    std::memset(page->pImage + cell, text[0], static_cast<size_t>(len));
  else
    std::memcpy(page->pImage + cell, text, static_cast<size_t>(len));
}

void PrintText(HtmlFile*, int* row, int* col, const char* text, int len, bool fill) {
  if (len <= 0) return;
  PutCells(CellAt(*row, *col), text, len, fill);
  if (len < kHtmlGridWidth) {
    *col += len;
  } else {
    const long long end = static_cast<long long>(*col) + len;
    *row = ClampInt(*row + end / kHtmlGridWidth, 0, kRowBeyond);
    *col = static_cast<int>(end % kHtmlGridWidth);
  }
}

void BuildTextBody(HtmlFile* file, TableLayout* table, int row, int col) {
  Layout level{.file = file, .table = table, .row = row, .col = col};
  HtmlElement* e = nullptr;
  if (table != nullptr) {
    DrawTableArea(file, table);
    level.row = table->Y + 1;
    level.cellX = table->X + table->CellPadding + 1;
    level.rowTop = level.row;
    e = NextBodyElement();
  } else {
    e = static_cast<HtmlElement*>(ListWalk(&pCurrentPage->Body, 0));
  }
  for (; e != nullptr; e = NextBodyElement()) {
    // A "/table" ends a table's level; in the body there is none to end.
    if (!IsText(e) && TagOf(e) == kTagEndTable) {
      if (table != nullptr) return;
      continue;
    }
    level.Element(e);
  }
  pCurrentPage->Rows = std::max(pCurrentPage->Rows, level.row);
}

void BuildTextImage(HtmlFile* file) {
  HtmlPage* page = pCurrentPage;
  page->Rows = 0;
  page->GridRows = 0;
  refusal = Refusal::kNone;
  GridHolds(page, CellAt(std::clamp(page->Body.Count, 1, kHtmlMaxGridRows) - 1, 0));
  int row = 0, col = 0;
  bool title = false;
  for (auto* e = static_cast<HtmlElement*>(ListWalk(&page->Head, 0)); e != nullptr;
       e = static_cast<HtmlElement*>(ListWalk(&page->Head, 1))) {
    if (!IsText(e)) {
      if (strcasecmp(e->pTag, "title") == 0) title = true;
      if (strcasecmp(e->pTag, "/title") == 0) title = false;
      continue;
    }
    if (!title) continue;
    const int blanks = (kHtmlTitleWidth - e->Len) / 2;
    if (blanks >= 1) PrintText(file, &row, &col, " ", blanks, true);
    PrintText(file, &row, &col, static_cast<const char*>(e->pData), e->Len, false);
    row = ClampInt(row + 2LL, 0, kRowBeyond);
  }
  page->Rows = row;
  BuildTextBody(file, nullptr, row, 0);
  // Rows the layout moved down to without writing are lines of the page too.
  if (page->Rows > kHtmlMaxGridRows) refusal = Refusal::kTooLong;
}

void PrintTextImage(HtmlFile* file) {
  HtmlPage* page = pCurrentPage;
  // A page that has its text already keeps it.
  if (page->pImage != nullptr && page->GridRows == 0) return;
  if (page->pImage == nullptr) BuildTextImage(file);
  const long long cells = static_cast<long long>(page->GridRows) * kHtmlGridWidth;

  // Text written below the last row the layout ended on still belongs to the page.
  int rows = std::clamp(page->Rows, 0, kHtmlMaxGridRows);
  for (long long i = cells - 1; page->pImage != nullptr && i >= static_cast<long long>(rows) * kHtmlGridWidth; --i)
    if (page->pImage[i] != '\0') {
      rows = static_cast<int>(i / kHtmlGridWidth) + 1;
      break;
    }

  std::vector<RowSpan> spans;
  const bool refused = refusal != Refusal::kNone;
  const std::string text = refused ? RefusedText() : CompactGrid(page, rows, &spans);
  refusal = Refusal::kNone;
  char* image = GetMemT<char>(text.size() + 1);
  if (image != nullptr) std::memcpy(image, text.c_str(), text.size() + 1);
  PutMem(page->pImage);
  page->pImage = image;
  page->GridRows = 0;
  page->Rows = refused ? 1 : rows;

  // The links of a refused page take no room in its text.
  const int length = image != nullptr ? static_cast<int>(text.size()) : 0;
  for (auto** p = static_cast<HtmlLink**>(ListWalk(&page->Links, 0)); p != nullptr;
       p = static_cast<HtmlLink**>(ListWalk(&page->Links, 1))) {
    HtmlLink* link = *p;
    const long long at = CellAt(link->Start, link->End);
    const long long row = at / kHtmlGridWidth;
    RowSpan span{length, length};
    if (refused) {
      span = {0, 0};
      link->Width = 0;
    } else if (row >= 0 && row < rows && image != nullptr) {
      span = spans[static_cast<size_t>(row)];
    }
    link->Start = ClampInt(span.start + at % kHtmlGridWidth, span.start, span.end);
    link->End = ClampInt(static_cast<long long>(link->Start) + link->Width, link->Start, span.end);
  }
}
