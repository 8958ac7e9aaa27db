// The text image of a help page: elements are written into a grid of rows
// 132 cells wide (a row's text runs on into the rows below it when it is
// longer), tables are measured first and drawn with ASCII rules, and the
// grid is finally compacted into one text with the links' offsets in it.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "html.h"
#include "html_impl.h"
#include "utils.h"

const char HtmlKeys[] =
    ",p,/p,b,/b,font,/font,a,/a,tr,/tr,br,table,fitab,/table,td,/td,h1,h2,h3,h4,h5,h6,/h1,/h2,/h3,/h4,/h5,/h6,"
    "ol,/ol,li,/li,div,/div,img,";

namespace {

// Positions in HtmlKeys.
enum Tag : unsigned {
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

constexpr long long kMaxGridCells = static_cast<long long>(kHtmlMaxGridRows) * kHtmlGridWidth;
constexpr long long kMaxAttributeNumber = 1000000;  // pixels or percent an attribute can give
const char kWhiteSpace[] = " \t\n\r";

Tag TagOf(const HtmlElement* e) {
  if (e->pTag == nullptr) return kTagOther;
  const auto tag = static_cast<Tag>(TagPosition(e->pTag, HtmlKeys));
  // Only a table the layout measured is a "fitab"; a source tag of that name is passed over.
  if (tag == kTagFitab && !e->flMeasured) return kTagOther;
  return tag;
}

bool IsText(const HtmlElement* e) { return e->pTag == nullptr; }

HtmlElement* NextElement() { return static_cast<HtmlElement*>(ListWalk(&pCurrentPage->Body, 1)); }

// The grid grows (zero-filled, by doubling) to hold the rows written, up to
// kHtmlMaxGridRows. False when cell lies beyond what it can hold.
bool GridHolds(HtmlPage* page, long long cell) {
  if (cell < 0 || cell >= kMaxGridCells) return false;
  const long long rows = cell / kHtmlGridWidth + 1;
  if (rows <= page->GridRows) return true;
  const long long grown = std::min<long long>(std::max<long long>({rows, 2LL * page->GridRows, 16}), kHtmlMaxGridRows);
  void* grid = AdjustMem(page->pImage, static_cast<size_t>(grown * kHtmlGridWidth) + 1);
  if (grid == nullptr) return false;
  page->pImage = static_cast<char*>(grid);
  page->GridRows = static_cast<int>(grown);
  return true;
}

// Writes len cells from cell on: text, or len copies of text[0] with fill.
// What lies beyond the grid's limit is dropped.
void PutCells(long long cell, const char* text, long long len, bool fill) {
  HtmlPage* page = pCurrentPage;
  if (len <= 0 || cell < 0 || cell >= kMaxGridCells) return;
  const long long end = std::min(cell + len, kMaxGridCells);
  if (!GridHolds(page, end - 1)) {
    // Memory is short: write what the grid has room for.
    if (!GridHolds(page, cell)) return;
  }
  const long long room = std::min(end, static_cast<long long>(page->GridRows) * kHtmlGridWidth);
  char* cells = page->pImage;
  if (fill || len == 1)
    std::memset(cells + cell, text[0], static_cast<size_t>(room - cell));
  else
    std::memcpy(cells + cell, text, static_cast<size_t>(room - cell));
}

long long CellAt(int row, int col) { return static_cast<long long>(row) * kHtmlGridWidth + col; }

int Clamp(long long value, long long low, long long high) { return static_cast<int>(std::clamp(value, low, high)); }

int RowHeight(const TableLayout* t, int i) { return i >= 0 && i < t->RowCnt ? t->pRowHeights[i] : 0; }
int ColWidth(const TableLayout* t, int i) { return i >= 0 && i < t->ColCnt ? t->pColWidths[i] : 0; }

// The leading decimal number of an attribute value (a leading double quote
// passed over), bounded so that no size computed from it overflows.
long long LeadingNumber(const char* value) {
  if (*value == '"') ++value;
  long long n = 0;
  for (; *value >= '0' && *value <= '9'; ++value) n = std::min(n * 10 + (*value - '0'), kMaxAttributeNumber);
  return n;
}

// The name=value attributes of a tag, read with the tokenizer.
struct Attribute {
  std::string name;
  std::string value;
  bool hasValue;
};
std::vector<Attribute> ReadAttributes(const char* text) {
  std::vector<Attribute> attributes;
  if (text == nullptr || *text == '\0') return attributes;
  for (const char* token = GetToken(text, kWhiteSpace); token != nullptr; token = GetToken(nullptr, kWhiteSpace)) {
    const char* eq = std::strchr(token, '=');
    if (eq == nullptr)
      attributes.push_back({token, "", false});
    else
      attributes.push_back({std::string(token, eq), eq + 1, true});
  }
  return attributes;
}

struct TableShape {
  int rows = 0;  // tr or /tr tags, whichever are more
  int cols = 0;  // the most cells in a row
};

// The shape of the table whose contents follow the walk cursor; the cursor
// is left where it was.
TableShape ShapeOfTable() {
  List& body = pCurrentPage->Body;
  ListNode* saved = body.pWalk;
  TableShape shape;
  int depth = 0, cells = 0, opened = 0, closed = 0;
  for (HtmlElement* e = NextElement(); e != nullptr; e = NextElement()) {
    const Tag tag = TagOf(e);
    if (tag == kTagTable || tag == kTagFitab) {
      ++depth;
    } else if (tag == kTagEndTable) {
      if (depth == 0) break;
      --depth;
    } else if (depth == 0) {
      if (tag == kTagTr) {
        cells = 0;
        ++opened;
      } else if (tag == kTagTd) {
        ++cells;
      } else if (tag == kTagEndTr) {
        shape.cols = std::max(shape.cols, cells);
        ++closed;
      }
    }
  }
  body.pWalk = saved;
  shape.rows = std::max(opened, closed);
  return shape;
}

// What measuring a table's contents gathers, row by row and column by column.
struct Measure {
  std::vector<int> rowLines = std::vector<int>(kHtmlTableMax, 0);
  std::vector<int> colWidths = std::vector<int>(kHtmlTableMax, 0);
  std::vector<int> givenWidths = std::vector<int>(kHtmlTableMax, 0);
  int r = 0;  // rows ended so far
  int c = 0;  // the current cell's column
  int h = 0;  // lines of the current cell

  bool HasRow() const { return r >= 0 && r < kHtmlTableMax; }
  void Lines(int lines) {
    h += lines;
    if (HasRow()) rowLines[r] = std::max(rowLines[r], h);
  }
  void Width(int column, int width) {
    if (column >= 0 && column < kHtmlTableMax) colWidths[column] = std::max(colWidths[column], width);
  }
};

// A td's own width attribute, for a table whose width is known.
void ReadCellWidth(const TableLayout* t, const HtmlElement* e, Measure* m) {
  if (t->TableWidth == 0 || e->Len == 0 || m->c < 0 || m->c >= kHtmlTableMax || m->givenWidths[m->c] != 0) return;
  for (const Attribute& a : ReadAttributes(static_cast<const char*>(e->pData))) {
    if (!a.hasValue || strcasecmp(a.name.c_str(), "width") != 0) continue;
    const long long w = LeadingNumber(a.value.c_str());
    const long long given = a.value.find('%') != std::string::npos
                                ? static_cast<long long>(t->TableWidth) * w / 100 - 2LL * t->CellPadding - t->RuleWidth
                                : w / kHtmlPixelsPerColumn;
    m->givenWidths[m->c] = Clamp(given, 0, kHtmlMaxTableWidth);
  }
}

// Reads the table's elements up to its "/table", advancing the cursor.
void MeasureContents(HtmlFile* file, const TableLayout* t, Measure* m) {
  for (HtmlElement* e = NextElement(); e != nullptr; e = NextElement()) {
    if (IsText(e)) {
      if (m->c >= 0) {
        m->Width(m->c, e->Len);
        m->Lines(1);
      }
      continue;
    }
    switch (TagOf(e)) {
      case kTagTr:
        if (m->HasRow()) m->rowLines[m->r] = 0;
        m->h = 0;
        m->c = -1;
        break;
      case kTagEndTr:
        if (m->r < kHtmlTableMax) ++m->r;
        break;
      case kTagTd:
        ++m->c;
        ReadCellWidth(t, e, m);
        break;
      case kTagEndTd:
        m->h = 0;
        break;
      case kTagTable: {
        // A table before the first cell of a row counts as the first cell's.
        const int column = std::clamp(m->c, 0, kHtmlTableMax - 1);
        if (TableLayout* nested = MeasureTable(file, e, m->givenWidths[column], t->Depth + 1)) {
          m->Width(column, nested->TableWidth);
          m->Lines(nested->TableHeight);
        }
        break;
      }
      case kTagEndTable:
        return;
      default:
        break;
    }
  }
}

int* CopyOf(const std::vector<int>& values, int count) {
  if (count <= 0) return nullptr;
  auto* copy = GetMemT<int>(sizeof(int) * static_cast<size_t>(count));
  if (copy != nullptr) std::copy(values.begin(), values.begin() + count, copy);
  return copy;
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
  bool inList = false;
  int counter = 0;
  HtmlLink* link = nullptr;  // the link being built
  bool bracketOpen = false;

  void Write(const char* text, int len) { PrintText(file, &row, &col, text, len, false); }
  void NewLine(int n = 1) {
    row += n;
    col = table != nullptr ? cellX : 0;
  }
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
  link->Width = Clamp(CellAt(row, col) - CellAt(link->Start, link->End), 0, kMaxGridCells);
  ListPushItem(&pCurrentPage->Links, &link, sizeof link);
  // A link is listed once: a second "/a" adds nothing.
  link = nullptr;
}

void Layout::ListItem() {
  if (!inList) return;
  NewLine();
  char number[24];
  FormatText(number, sizeof number, "   %i. ", ++counter);
  Write(number, StrLen(number));
}

// Row and cell tags mean something only inside a table.
void Layout::StartRow() {
  if (table == nullptr) return;
  colIndex = -1;
  cellX = table->X + table->CellPadding + 1;
  rowTop = row;
  col = table->X + 1;
}

void Layout::EndRow() {
  if (table == nullptr) return;
  row = rowTop + RowHeight(table, rowIndex) + 1;
  ++rowIndex;
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
  if (inList) NewLine();
  List& body = pCurrentPage->Body;
  ListNode* saved = body.pWalk;
  const int available = table != nullptr ? ColWidth(table, std::max(colIndex, 0)) : 0;
  MeasureTable(file, e, available, table != nullptr ? table->Depth + 1 : 1);
  body.pWalk = saved;
  NestedTable(e);
}

void Layout::NestedTable(HtmlElement* e) {
  if (!e->flMeasured) return;
  auto* t = static_cast<TableLayout*>(e->pData);
  if (table == nullptr) {
    t->X = col;
    t->Y = row;
  } else {
    t->X = cellX;
    t->Y = row + (col > cellX ? 1 : 0);
  }
  BuildTextBody(file, t, t->Y, t->X);
  row = t->Y + t->TableHeight;
  col = t->X;
}

void Layout::Element(HtmlElement* e) {
  if (IsText(e)) {
    Write(static_cast<const char*>(e->pData), e->Len);
    return;
  }
  const Tag tag = TagOf(e);
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
      counter = 0;
      inList = true;
      break;
    case kTagEndOl:
      inList = false;
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

}  // namespace

void PrintText(HtmlFile*, int* row, int* col, const char* text, int len, bool fill) {
  if (len <= 0) return;
  PutCells(CellAt(*row, *col), text, len, fill);
  if (len < kHtmlGridWidth) {
    *col += len;
  } else {
    const long long end = static_cast<long long>(*col) + len;
    *row = Clamp(*row + end / kHtmlGridWidth, 0, kHtmlMaxGridRows);
    *col = static_cast<int>(end % kHtmlGridWidth);
  }
}

int GetColumnCnt() { return ShapeOfTable().cols; }

TableLayout* MeasureTable(HtmlFile* file, HtmlElement* element, int available, int depth) {
  if (depth > kHtmlMaxTableDepth) return nullptr;
  const TableShape shape = ShapeOfTable();
  if (shape.rows > kHtmlTableMax || shape.cols > kHtmlTableMax) return nullptr;
  auto* t = GetMemT<TableLayout>(sizeof(TableLayout));
  if (t == nullptr) return nullptr;
  t->RuleWidth = 1;
  t->Depth = depth;

  long long border = 0, spacing = 0, padding = 0;
  std::string width;
  bool hasWidth = false;
  for (const Attribute& a : ReadAttributes(static_cast<const char*>(element->pData))) {
    switch (TagPosition(a.name.c_str(), ",border,cellspacing,cellpadding,width,")) {
      case 1:
        t->flBorder = 1;
        border = a.hasValue ? LeadingNumber(a.value.c_str()) : 1;
        break;
      case 2:
        if (a.hasValue) spacing = LeadingNumber(a.value.c_str());
        break;
      case 3:
        if (a.hasValue) padding = LeadingNumber(a.value.c_str());
        break;
      case 4:
        if (a.hasValue) {
          width = a.value;
          hasWidth = true;
        }
        break;
      default:
        break;
    }
  }
  t->ColCnt = shape.cols;
  t->CellPadding = static_cast<int>(padding / kHtmlPixelsPerColumn);
  if (hasWidth) {
    const long long w = LeadingNumber(width.c_str());
    const long long cols = t->ColCnt;
    long long given = 0;
    if (width.find('%') != std::string::npos)
      given = available != 0 ? available * w / 100 : 0;
    else
      given = (w - 2 * padding * cols - (cols + 1) * spacing - (cols + 1) * border) / kHtmlPixelsPerColumn;
    t->TableWidth = Clamp(given, -kHtmlMaxTableWidth, kHtmlMaxTableWidth);
  }

  Measure m;
  MeasureContents(file, t, &m);

  std::memcpy(element->pTag, "fitab", 5);
  element->pData = t;
  element->flMeasured = 1;

  if (hasWidth && t->TableWidth != 0)
    for (int c = 0; c < t->ColCnt; ++c)
      if (m.givenWidths[c] != 0) m.colWidths[c] = m.givenWidths[c];
  long long needed = 2LL * t->CellPadding * t->ColCnt + t->ColCnt + 1;
  for (int c = 0; c < t->ColCnt; ++c) needed += m.colWidths[c];
  // A width too small for the rules and the contents (or negative) is
  // widened to what they need.
  t->TableWidth = Clamp(std::max<long long>(t->TableWidth, needed), 1, kHtmlMaxTableWidth);
  long long height = m.r + 1;
  for (int r = 0; r < m.r; ++r) height += m.rowLines[r];
  t->TableHeight = Clamp(height, 1, kHtmlMaxGridRows);
  t->RowCnt = m.r;
  t->pRowHeights = CopyOf(m.rowLines, m.r);
  t->pColWidths = CopyOf(m.colWidths, t->ColCnt);
  if ((m.r > 0 && t->pRowHeights == nullptr) || (t->ColCnt > 0 && t->pColWidths == nullptr)) {
    t->RowCnt = t->pRowHeights != nullptr ? t->RowCnt : 0;
    t->ColCnt = t->pColWidths != nullptr ? t->ColCnt : 0;
  }
  return t;
}

TableLayout* GetTextTable(HtmlFile* file, HtmlElement* element, int available) {
  return MeasureTable(file, element, available, 1);
}

void DrawTableArea(HtmlFile*, TableLayout* t) {
  const long long base = CellAt(t->Y, t->X);
  if (!t->flBorder) {
    for (int k = 0; k < t->TableHeight; ++k) {
      const long long line = base + static_cast<long long>(k) * kHtmlGridWidth;
      if (line >= kMaxGridCells) break;
      PutCells(line, " ", t->TableWidth, true);
    }
    return;
  }
  std::vector<long long> rules;  // inner rule offsets from the left edge
  long long offset = 0;
  for (int k = 0; k + 1 < t->ColCnt; ++k) {
    offset += ColWidth(t, k) + 2LL * t->CellPadding + 1;
    if (offset < t->TableWidth - 1) rules.push_back(offset);
  }
  int lines = 0;
  // One line of the table: its ends, what lies between, the inner rules.
  auto line = [&](char end, char between, char rule) {
    const long long at = base + static_cast<long long>(lines++) * kHtmlGridWidth;
    if (at >= kMaxGridCells) return false;
    PutCells(at, &between, t->TableWidth, true);
    PutCells(at, &end, 1, false);
    PutCells(at + t->TableWidth - 1, &end, 1, false);
    for (long long r : rules) PutCells(at + r, &rule, 1, false);
    return true;
  };
  bool room = true;
  for (int i = 0; room && i < t->RowCnt; ++i) {
    room = line('|', '-', '+');
    for (int k = 0; room && k < RowHeight(t, i); ++k) room = line('|', ' ', '|');
  }
  if (room) line('\'', '-', '+');
  PutCells(base, ",", 1, false);
  PutCells(base + t->TableWidth - 1, ",", 1, false);
}

void BuildTextBody(HtmlFile* file, TableLayout* table, int row, int col) {
  Layout level{.file = file, .table = table, .row = row, .col = col};
  HtmlElement* e = nullptr;
  if (table != nullptr) {
    DrawTableArea(file, table);
    level.row = table->Y + 1;
    level.cellX = table->X + table->CellPadding + 1;
    level.rowTop = level.row;
    e = NextElement();
  } else {
    e = static_cast<HtmlElement*>(ListWalk(&pCurrentPage->Body, 0));
  }
  for (; e != nullptr; e = NextElement()) {
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
    row += 2;
  }
  page->Rows = row;
  BuildTextBody(file, nullptr, row, 0);
}

void PrintTextImage(HtmlFile* file) {
  HtmlPage* page = pCurrentPage;
  if (page->pImage == nullptr) BuildTextImage(file);
  const char* grid = page->pImage;
  const long long cells = static_cast<long long>(page->GridRows) * kHtmlGridWidth;
  auto cell = [&](long long i) { return grid != nullptr && i < cells ? grid[i] : '\0'; };

  // Text written below the last row the layout ended on still belongs to the page.
  int rows = std::clamp(page->Rows, 0, kHtmlMaxGridRows);
  for (long long i = cells - 1; i >= static_cast<long long>(rows) * kHtmlGridWidth; --i)
    if (cell(i) != '\0') {
      rows = static_cast<int>(i / kHtmlGridWidth) + 1;
      break;
    }

  std::string text;
  std::vector<RowSpan> spans(static_cast<size_t>(rows));
  for (int i = 0; i < rows;) {
    const long long first = static_cast<long long>(i) * kHtmlGridWidth;
    long long n = 0;
    while (cell(first + n) != '\0') ++n;
    const int start = static_cast<int>(text.size());
    text.append(grid != nullptr ? grid + first : "", static_cast<size_t>(n));
    const int end = static_cast<int>(text.size());
    text += '\n';
    // Rows the line runs on into have no text of their own; their cells
    // lie further on in the same line.
    const long long covered = n / kHtmlGridWidth;
    for (long long j = 0; j <= covered && i + j < rows; ++j)
      spans[static_cast<size_t>(i + j)] = {static_cast<int>(std::min<long long>(start + j * kHtmlGridWidth, end)), end};
    i += static_cast<int>(covered) + 1;
  }
  char* image = GetMemT<char>(text.size() + 1);
  if (image != nullptr) std::memcpy(image, text.c_str(), text.size() + 1);
  PutMem(page->pImage);
  page->pImage = image;
  page->GridRows = 0;
  page->Rows = rows;

  const int length = image != nullptr ? static_cast<int>(text.size()) : 0;
  for (auto** p = static_cast<HtmlLink**>(ListWalk(&page->Links, 0)); p != nullptr;
       p = static_cast<HtmlLink**>(ListWalk(&page->Links, 1))) {
    HtmlLink* link = *p;
    const long long at = CellAt(link->Start, link->End);
    const long long row = at / kHtmlGridWidth;
    RowSpan span{length, length};
    if (row >= 0 && row < rows && image != nullptr) span = spans[static_cast<size_t>(row)];
    link->Start = Clamp(span.start + at % kHtmlGridWidth, span.start, span.end);
    link->End = Clamp(static_cast<long long>(link->Start) + link->Width, link->Start, span.end);
  }
}
