// The tables of a help page: measured ahead of their layout (columns, rows,
// widths given in pixels or percent, nested tables within their cells) and
// drawn into the grid with ASCII rules. A row or cell that is not closed
// is closed by the next one, as HTML allows.
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "html.h"
#include "html_impl.h"
#include "utils.h"

namespace {

constexpr long long kMaxAttributeNumber = 1000000;  // pixels or percent an attribute can give
const char kWhiteSpace[] = " \t\n\r";

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
  bool rowOpen = false;
  auto endRow = [&] {
    shape.cols = std::max(shape.cols, cells);
    rowOpen = false;
  };
  for (HtmlElement* e = NextBodyElement(); e != nullptr; e = NextBodyElement()) {
    const HtmlTag tag = TagOf(e);
    if (tag == kTagTable || tag == kTagFitab) {
      ++depth;
    } else if (tag == kTagEndTable) {
      if (depth == 0) break;
      --depth;
    } else if (depth == 0) {
      if (tag == kTagTr) {
        if (rowOpen) endRow();
        cells = 0;
        ++opened;
        rowOpen = true;
      } else if (tag == kTagTd) {
        ++cells;
      } else if (tag == kTagEndTr) {
        endRow();
        ++closed;
      }
    }
  }
  if (rowOpen) endRow();
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
  bool rowOpen = false;
  bool cellOpen = false;

  bool HasRow() const { return r >= 0 && r < kHtmlTableMax; }
  void Lines(int lines) {
    h += lines;
    if (HasRow()) rowLines[r] = std::max(rowLines[r], h);
  }
  void Width(int column, int width) {
    if (column >= 0 && column < kHtmlTableMax) colWidths[column] = std::max(colWidths[column], width);
  }
  void EndCell() {
    h = 0;
    cellOpen = false;
  }
  void EndRow() {
    if (cellOpen) EndCell();
    if (r < kHtmlTableMax) ++r;
    rowOpen = false;
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
    m->givenWidths[m->c] = ClampInt(given, 0, kHtmlMaxTableWidth);
  }
}

// Reads the table's elements up to its "/table", advancing the cursor. A
// tr while a row is open ends that row first, a td while a cell is open
// that cell, and the "/table" the row still open.
void MeasureContents(HtmlFile* file, const TableLayout* t, Measure* m) {
  for (HtmlElement* e = NextBodyElement(); e != nullptr; e = NextBodyElement()) {
    if (IsText(e)) {
      if (m->c >= 0) {
        m->Width(m->c, e->Len);
        m->Lines(1);
      }
      continue;
    }
    switch (TagOf(e)) {
      case kTagTr:
        if (m->rowOpen) m->EndRow();
        if (m->HasRow()) m->rowLines[m->r] = 0;
        m->h = 0;
        m->c = -1;
        m->rowOpen = true;
        break;
      case kTagEndTr:
        m->EndRow();
        break;
      case kTagTd:
        if (m->cellOpen) m->EndCell();
        ++m->c;
        m->cellOpen = true;
        ReadCellWidth(t, e, m);
        break;
      case kTagEndTd:
        m->EndCell();
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
        if (m->rowOpen) m->EndRow();
        return;
      default:
        break;
    }
  }
  if (m->rowOpen) m->EndRow();
}

int* CopyOf(const std::vector<int>& values, int count) {
  if (count <= 0) return nullptr;
  auto* copy = GetMemT<int>(sizeof(int) * static_cast<size_t>(count));
  if (copy != nullptr) std::copy(values.begin(), values.begin() + count, copy);
  return copy;
}

}  // namespace

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
    t->TableWidth = ClampInt(given, -kHtmlMaxTableWidth, kHtmlMaxTableWidth);
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
  t->TableWidth = ClampInt(std::max<long long>(t->TableWidth, needed), 1, kHtmlMaxTableWidth);
  long long height = m.r + 1;
  for (int r = 0; r < m.r; ++r) height += m.rowLines[r];
  t->TableHeight = ClampInt(height, 1, kHtmlMaxGridRows);
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
    for (int k = 0; k < t->TableHeight; ++k) PutCells(base + static_cast<long long>(k) * kHtmlGridWidth, " ", t->TableWidth, true);
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
    PutCells(at, &between, t->TableWidth, true);  // refuses the page when the line lies beyond the grid
    if (at >= kMaxGridCells) return false;
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
