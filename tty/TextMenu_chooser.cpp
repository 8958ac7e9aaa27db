// The full-screen chooser of the states of a choice (kind 9) or a set
// (kind 10): its texts, its drawing into the screen grid and its dialogue.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "NlsUtils.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"

char* VPATTYMENU_DEFAULT = nullptr;
char* VPATTYMENU_SAVE = nullptr;
char* VPATTYMENU_CANCEL = nullptr;
char* VPATTYMENU_CURSEL = nullptr;
char* VPATTYMENU_CURSELTRUNC = nullptr;
char* VPATTYMENU_OPTION = nullptr;

namespace {

enum : int {
  kMsgTooSmall = 206,      // the list does not fit
  kMsgTermHas = 207,       // %d columns, %d lines
  kMsgTermNeeds = 208,     // %d columns, %d lines
};

void FetchChooserTexts() {
  static bool fetched = false;
  if (fetched) return;
  fetched = true;
  char** texts[] = {&VPATTYMENU_DEFAULT, &VPATTYMENU_SAVE,        &VPATTYMENU_CANCEL,
                    &VPATTYMENU_CURSEL,  &VPATTYMENU_CURSELTRUNC, &VPATTYMENU_OPTION};
  int number = 200;
  for (char** text : texts) *text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, number++);
}

// The states the chooser offers: the item's names, at most Count of them
// when Count is not negative.
std::vector<std::string> ChooserStateNames(const TtyMenuItem* item) {
  std::vector<std::string> names = ItemStateNames(item);
  if (item->Count >= 0 && static_cast<int>(names.size()) > item->Count) names.resize(static_cast<size_t>(item->Count));
  return names;
}

int TextLength(const char* text) { return text != nullptr ? static_cast<int>(std::strlen(text)) : 0; }

bool StateChosen(const TtyMenuItem* item, int state) {
  if (item->Type == kItemChoice) return item->Value.Int == state;
  return state < kMaxSetStates && (item->Value.Int >> state & 1) != 0;
}

// Where the state columns of one page go: the width of each column the page
// could fill, how many of them fit the terminal, how many states they show,
// and the blanks added before every column after the first.
struct ChooserColumns {
  std::vector<int> widths;
  int taken = 0;
  int shown = 0;
  int shift = 0;
};

ChooserColumns LayOutColumns(const std::vector<std::string>& names, int page, int rows, int cols) {
  const int count = static_cast<int>(names.size());
  ChooserColumns columns;
  for (int first = page; first < count; first += rows) {
    int w = 0;
    for (int s = first; s < first + rows && s < count; ++s)
      w = std::max(w, static_cast<int>(ShownStateName(names[s]).size()));
    columns.widths.push_back(w);
  }
  int x = 0;
  for (int w : columns.widths) {
    if (x + w + 7 <= cols) {
      x += w + 7;
      ++columns.taken;
      continue;
    }
    if (columns.taken == 0 && x + w / 2 + 7 <= cols) {
      columns.taken = 1;
      x = cols;
    }
    break;
  }
  if (columns.taken == 0 && !columns.widths.empty()) columns.taken = 1;
  columns.shown = std::min(rows * columns.taken, count - page);
  columns.shift = columns.taken >= 2 ? (cols - x) / columns.taken : 0;
  return columns;
}

void DrawTitle(TtyScreen* screen, const TtyMenuItem* item) {
  const char* title = ShownTitle(item);
  const int titleLen = TextLength(title);
  SetPosition(screen, titleLen < screen->Cols ? (screen->Cols - titleLen) / 2 : 0, 1);
  WriteString(screen, "%s", title);
}

// One state's line: the marker when it is chosen, its number when it is
// available, its name, cut with "..." where the terminal ends.
void DrawStateLine(TtyScreen* screen, const TtyMenuItem* item, const std::string& written, int s, int colStart,
                   int row) {
  // The marker's leading blank is left unwritten, so that the last
  // character of a name in the column before stays visible.
  if (StateChosen(item, s)) {
    SetPosition(screen, colStart + 1, row);
    WriteString(screen, "->");
  }
  if (written[0] != ' ') {
    SetPosition(screen, colStart + 4, row);
    WriteString(screen, "%2d) ", s + 1);
  }
  std::string name = ShownStateName(written);
  const int room = screen->Cols - (colStart + 8);
  if (static_cast<int>(name.size()) > room) name = name.substr(0, room > 3 ? room - 3 : 0) + "...";
  SetPosition(screen, colStart + 8, row);
  WriteString(screen, "%s", name.c_str());
}

void DrawStateColumns(TtyScreen* screen, const TtyMenuItem* item, const std::vector<std::string>& names, int page,
                      int rows, const ChooserColumns& columns) {
  int start = 0;
  for (int c = 0; c < columns.taken; ++c) {
    const int colStart = start + (c > 0 ? columns.shift : 0);
    for (int r = 0; r < rows; ++r) {
      const int s = page + c * rows + r;
      if (s >= page + columns.shown) break;
      DrawStateLine(screen, item, names[s], s, colStart, 3 + r);
    }
    start += columns.widths[c] + 7;
  }
}

// The line of the current selection, cut so that the whole line fits.
void DrawSelection(TtyScreen* screen, const TtyMenuItem* item, const std::vector<std::string>& names) {
  const int cols = screen->Cols;
  std::string selection;
  for (int s = 0; s < static_cast<int>(names.size()); ++s) {
    if (!StateChosen(item, s)) continue;
    selection += ShownStateName(names[s]);
    if (item->Type == kItemSet) selection += ' ';
  }
  char text[512];
  std::snprintf(text, sizeof text, VPATTYMENU_CURSEL, selection.c_str());
  if (TextLength(text) > cols) {
    std::snprintf(text, sizeof text, VPATTYMENU_CURSELTRUNC, "");
    int room = cols - TextLength(text);
    selection.resize(room > 0 ? static_cast<size_t>(room) : 0);
    std::snprintf(text, sizeof text, VPATTYMENU_CURSELTRUNC, selection.c_str());
  }
  SetPosition(screen, 0, screen->Lines - 1);
  WriteString(screen, "%s", text);
}

// The keys that save and cancel, the selection and the input prompt.
void DrawFooter(TtyScreen* screen, const TtyMenuItem* item, const std::vector<std::string>& names) {
  const int lines = screen->Lines;
  SetPosition(screen, 0, lines - 2);
  WriteString(screen, "%s", VPATTYMENU_SAVE);
  SetPosition(screen, screen->Cols / 2, lines - 2);
  WriteString(screen, "%s", VPATTYMENU_CANCEL);
  DrawSelection(screen, item, names);
  SetPosition(screen, 0, lines);
  WriteString(screen, "%s", VPATTYMENU_OPTION);
}

int DrawChooser(TtyScreen* screen, const TtyMenuItem* item, const std::vector<std::string>& names, int page) {
  const int rows = screen->Lines - 6;
  DrawTitle(screen, item);
  const ChooserColumns columns = LayOutColumns(names, page, rows, screen->Cols);
  DrawStateColumns(screen, item, names, page, rows, columns);
  DrawFooter(screen, item, names);
  return columns.shown;
}

}  // namespace

int DrawStateChooser(TtyScreen* screen, const TtyMenuItem* item, int page) {
  FetchChooserTexts();
  const std::vector<std::string> names = ChooserStateNames(item);
  if (page < 0 || page >= static_cast<int>(names.size())) page = 0;
  return DrawChooser(screen, item, names, page);
}

namespace {

// Says that the terminal is too small for the list and waits for the user.
void TooSmall(const TtyScreen& screen, int needed) {
  Nlsfprintf(stdout, pDrvCoreDB, kNlsSection, kMsgTooSmall);
  Nlsfprintf(stdout, pDrvCoreDB, kNlsSection, kMsgTermHas, screen.Cols, screen.Lines);
  Nlsfprintf(stdout, pDrvCoreDB, kNlsSection, kMsgTermNeeds, needed, 7);
  std::fflush(stdout);
  // A whole line: what the user typed must not become the menu's next answer.
  Gets(LineBuf, kLineBufSize);
}

// Applies one answer of numbers to the item: a choice takes the last number
// (an unavailable state is stepped past afterwards, as everywhere), a set
// toggles every available state named.
void ChooseStates(TtyMenuItem* item, const std::vector<std::string>& names, const std::string& answer) {
  const int count = static_cast<int>(names.size());
  std::string word;
  auto take = [&] {
    if (word.empty() || !IsDigit(word[0])) return;
    const char* p = word.c_str();
    long n = 0;
    ReadNumber(&p, &n);
    word.clear();
    if (n < 1 || n > count) return;
    if (item->Type == kItemChoice) {
      if (item->Value.Int != n - 1) {
        item->PrevValue = static_cast<int>(item->Value.Int);
        item->Value.Int = n - 1;
      }
    } else if (n <= kMaxSetStates && names[n - 1][0] != ' ') {
      item->Value.Int ^= static_cast<intptr_t>(1) << (n - 1);
    }
  };
  for (char c : answer) {
    if (c == ',' || c == ' ' || c == '\t') {
      take();
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  take();
}

// Gives the item back the value and previous value it had before the
// chooser; the items the rules switched follow the value back.
void RestoreStates(TtyMenu* menu, int index, intptr_t keptValue, int keptPrev) {
  TtyMenuItem* item = &menu->pItems[index];
  const bool changed = item->Value.Int != keptValue;
  item->Value.Int = keptValue;
  item->PrevValue = keptPrev;
  if (changed) ProcessStateFormat(menu, index);
  UpdateStateSelection(item);
}

// The next answer: the one given by the caller the first time, then a line
// typed on the terminal.
std::string NextAnswer(const char** given) {
  if (*given != nullptr) {
    std::string line = *given;
    *given = nullptr;
    return line;
  }
  if (Gets(LineBuf, kLineBufSize) == nullptr) EndOfTerminalInput();
  return LineBuf;
}

}  // namespace

void ProcessStateValue(TtyMenu* menu, int index, const char* answer) {
  if (index < 0 || index >= MenuItemCount(menu)) return;
  TtyMenuItem* item = &menu->pItems[index];
  if (item->Type != kItemChoice && item->Type != kItemSet) return;
  const intptr_t keptValue = item->Value.Int;
  const int keptPrev = item->PrevValue;
  FetchChooserTexts();
  const std::vector<std::string> names = ChooserStateNames(item);
  int longest = 0;
  for (const std::string& n : names) longest = std::max(longest, static_cast<int>(ShownStateName(n).size()));
  const int textsWidth =
      TextLength(VPATTYMENU_DEFAULT) + TextLength(VPATTYMENU_SAVE) + TextLength(VPATTYMENU_CANCEL);

  const char* given = answer != nullptr && answer[0] != '\0' ? answer : nullptr;
  int page = 0;
  for (;;) {
    TtyScreen screen;
    GetTermInfo(&screen);
    if (screen.Lines - 6 < 1 || screen.Cols < textsWidth || screen.Cols < longest / 2 + 20) {
      PutMem(screen.pCells);
      TooSmall(screen, std::max(textsWidth, longest / 2 + 20));
      return;
    }
    ClearScreen(&screen);
    const int shown = DrawStateChooser(&screen, item, page);
    Refresh(&screen);
    MoveCursor(&screen, TextLength(VPATTYMENU_OPTION), screen.Lines - 1);
    PutMem(screen.pCells);

    const std::string line = NextAnswer(&given);
    if (line.empty()) {
      // The next page, or the first again after the last.
      page = page + shown < static_cast<int>(names.size()) ? page + shown : 0;
      continue;
    }
    if (VPATTYMENU_SAVE != nullptr && line[0] == VPATTYMENU_SAVE[0]) return;
    if (VPATTYMENU_CANCEL != nullptr && line[0] == VPATTYMENU_CANCEL[0]) {
      RestoreStates(menu, index, keptValue, keptPrev);
      return;
    }
    ChooseStates(item, names, line);
    UpdateStateSelection(item);
    ProcessStateFormat(menu, index);
    if (item->pfnAction != nullptr) item->pfnAction(menu, item);
  }
}
