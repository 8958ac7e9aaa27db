// The terminal HTML help: a small HTML subset read into a cache of help
// files (pages of head and body elements), each page laid out once as plain
// text with its links, and the navigation between pages, targets and files.
//
// Files of the module:
//   html_parse.cpp   the file cache, the in-place scanner, character references
//   html_layout.cpp  the text image: the grid, title, paragraphs, lists,
//                    links, the compaction into the page text
//   html_table.cpp   tables: measured ahead of the layout, drawn with rules
//   html_nav.cpp     targets, links to other files and the history of jumps
#pragma once

#include <array>
#include <string>

#include "List.h"

// ---------------------------------------------------------------------------
// Parser and file cache.

constexpr int kHtmlMaxFiles = 100;  // files the cache holds; a further one is refused

// One text run or tag of a page.
struct HtmlElement {
  char* pTag;    // tag name as written (td, /table, A), NULL for a text run
  void* pData;   // run: its text; tag: its attribute text; a: its HtmlLink; measured table: its TableLayout
  int Len;       // characters of the run or attribute text when it was added
  unsigned char flMeasured;  // a table the layout has measured (pTag then reads "fitab")
};

// Link kinds.
enum : int { kLinkNone = 0, kLinkAnchor = 1, kLinkHref = 2 };

// One a tag. The layout sets Start and End first to the grid row and
// column where the link begins, then to the offsets in the page text of its
// first character and of the character just behind it.
struct HtmlLink {
  char* pTarget;  // value of the last name or href attribute, NULL without one
  int Start;
  int End;
  int Width;  // columns the link takes on its line
  int Kind;   // kLink...
};

struct HtmlPage {
  char* pPageName;  // the page="..." name of the opening html tag, or NULL
  char* pImage;     // the page text (owned), built by PrintTextImage; NULL before
  List Head;        // HtmlElement of the first head section
  List Body;        // HtmlElement of all body sections; its cursor is the layout's reading position
  List Links;       // HtmlLink* of every link and anchor, in text order
  int Rows;         // grid rows the layout used
  int GridRows;     // rows the grid has room for while it is being laid out; 0 once the page has its text
};

struct HtmlFile {
  char* pFileName;  // the requested name (owned copy), without "file://" and "#target"
  char* pContent;   // the source text, cut up in place; every string of the model points into it
  char* pCur;       // scan position in pContent
  List Pages;       // HtmlPage, in the order they were opened
  unsigned char flOwnContent;  // pContent was read from the file (the cache gives it back)
};

extern HtmlFile* aFile[kHtmlMaxFiles];  // loaded files, in load order
extern int FileIndex;                   // committed entries of aFile
extern int CurrentFile;                 // index of the file in use
extern HtmlPage* pCurrentPage;          // the page being filled, laid out or shown

// The Latin-1 character references "nbsp;" to "yuml;" (96 names with
// their ';', comma-separated keyword list), the length of the i-th name
// (position 0 holds 0), and the byte the i-th name stands for (159 + i).
constexpr int kHtmlCharRefs = 96;
extern const char HTMLKeys[];
extern const int HTMLKeySizes[kHtmlCharRefs + 1];
extern const std::array<unsigned char, kHtmlCharRefs + 1> HTMLChars;

// Loads the source called name (buffer as its text when not NULL; it is
// cut up in place and must live as long as the cache), or finds it in the
// cache, and makes its first page current. "file://" is dropped; the first
// '#' of name is overwritten with NUL and the text after it is looked up
// with GoToTarget after a fresh load. NULL for "http://" names, a source
// that cannot be read or opens no page, and when the cache is full.
HtmlFile* ParseHtmlFile(char* name, char* buffer);

// The committed file whose name equals name (case-sensitive); it becomes
// CurrentFile. NULL when none does.
HtmlFile* FindHtmlFile(const char* name);

// Reads one section from the file's scan position into list, up to the
// tag "/endName" (any case) or the end of the text.
void ParseHtml(HtmlFile* file, List* list, const char* endName);

// Appends the element {tag, data, length of data} to list; a tag "a" (any
// case) gets an HtmlLink read from its attributes instead of its data.
void AddAtribute(List* list, char* tag, char* data);

// The next tag text at the file's scan position (text between tags is
// passed over), cut out in place; NULL at the end of the text.
char* GetKeyWord(HtmlFile* file);

// Gives back every cached file, page and text and empties the cache (the
// help viewer itself never does; tests start afresh with it).
void HtmlClearCache();

// A byte of a help source as the screen shows it: one that would make the
// terminal act instead of showing a character (a control code but tab and
// line feed, or 127 to 159) is '?'; NUL stays. Text runs are read so, and
// every other text of a source that is printed (page names, link targets)
// goes through HtmlShownText.
char HtmlShownChar(char c);
std::string HtmlShownText(const char* text);

// ---------------------------------------------------------------------------
// Text layout of pCurrentPage: a grid of rows 132 cells wide, compacted into
// one text with a line feed after every row.

constexpr int kHtmlGridWidth = 132;
constexpr int kHtmlTitleWidth = 80;      // titles are centred on this many columns
constexpr int kHtmlPixelsPerColumn = 7;  // table sizes given in pixels
constexpr int kHtmlTableMax = 1000;      // rows and columns of a table that is drawn
constexpr int kHtmlMaxGridRows = 1 << 18;  // lines a page may take; a longer one is shown as a message
constexpr int kHtmlMaxTableDepth = 16;   // tables nested deeper are not drawn as tables
constexpr int kHtmlMaxTableWidth = 100000;  // columns a width attribute can ask for

struct TableLayout {
  int X;            // grid column of the left edge
  int Y;            // grid row of the top rule
  int TableWidth;   // columns, rules included
  int TableHeight;  // rows, rules included
  int CellPadding;  // blank columns on each side of a cell's content
  int RuleWidth;    // 1
  unsigned char flBorder;  // rules are drawn (else the area is blanked)
  int* pRowHeights;  // content lines of each row (RowCnt, owned)
  int* pColWidths;   // content width of each column (ColCnt, owned)
  int RowCnt;
  int ColCnt;
  int Depth;  // 1 for a table in the body, one more for each table around it
};

// Tags the layout knows (case-insensitive); others are passed over.
extern const char HtmlKeys[];

// Lays out pCurrentPage unless it has its text already, compacts the grid
// into the page text and turns the link positions into text offsets. A
// page whose layout the grid cannot hold (longer than kHtmlMaxGridRows, or
// memory short) gets a text that says so, and its links take no room.
void PrintTextImage(HtmlFile* file);

// Allocates the grid, writes the centred title and lays out the body.
void BuildTextImage(HtmlFile* file);

// Lays out body elements: the whole body when table is NULL, else the
// contents of that measured table from the body's walk cursor to its
// "/table". row and col are the starting position.
void BuildTextBody(HtmlFile* file, TableLayout* table, int row, int col);

// Measures the table that element opens (available: the columns a
// percentage width refers to, 0 for none), renames the element "fitab" and
// hangs the layout on it. NULL, the element left as it was, for a table of
// more than kHtmlTableMax rows or columns or nested deeper than
// kHtmlMaxTableDepth, or when memory cannot be had.
TableLayout* GetTextTable(HtmlFile* file, HtmlElement* element, int available);

// Columns of the table whose contents follow the body's walk cursor (the
// most cells in one of its rows); the cursor is left where it was.
int GetColumnCnt();

// Draws the rules (or blanks) of a measured table into the grid.
void DrawTableArea(HtmlFile* file, TableLayout* table);

// Writes len characters of text at (row, col) of the grid (len copies of
// text[0] when fill is set) and advances the position past them. A write
// beyond kHtmlMaxGridRows is not made, and the page is refused.
void PrintText(HtmlFile* file, int* row, int* col, const char* text, int len, bool fill);

// ---------------------------------------------------------------------------
// Navigation: targets, links and the history of jumps.

constexpr int kHtmlHistorySize = 100;

struct HtmlHistoryEntry {
  int FileIndex;     // into aFile
  HtmlPage* pPage;
  int TargetPos;
};

extern HtmlHistoryEntry History[kHtmlHistorySize];
extern int HistoryI;   // entries in use; Back takes the last
extern int TargetPos;  // offset in the page text of the last target jumped to

// Empties the history and loads name (buffer as its text when not NULL).
// 1 when its first page is current; 0 with "Error reading HTML buffer\n" or
// "Error in reading HTML file %s\n" on standard output, or the message that
// the cache is full (0 silently for a NULL name). name itself is not
// changed.
int HtmlHelp(const char* name, char* buffer);

// Follows a link: another file (shown at its first page, or at its target
// when it is loaded now) or a "#target" of the current file. Returns what
// went wrong, as a line: "Error in reading file %s\n" for a file that
// cannot be loaded, or that the cache is full; empty when nothing did.
std::string FollowLink(HtmlLink* link);

// FollowLink, its message printed on standard output.
void ProcessLink(HtmlLink* link);

// Makes the page called target (one leading '#' dropped), or the page of
// the anchor called so, current in the current file, recording the jump.
// Nothing changes when there is none.
void GoToTarget(const char* target);

// Records the current file, page and TargetPos; the 101st entry is not kept.
void SetHistory();

// mode 0: back to the first page of the first file loaded, history emptied;
// mode -1: one step back. 0, and nothing changes, when the history is empty.
int HtmlSetHistory(int mode);
