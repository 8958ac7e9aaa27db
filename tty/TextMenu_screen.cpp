// The character grid of the state chooser and the few terminal
// capabilities it needs, taken from the terminfo description "vt100".
#include <curses.h>
#include <term.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "MemMgr.h"
#include "TextMenu.h"

namespace {

// The sizes of "vt100", assumed when its description cannot be loaded.
constexpr int kDefaultCols = 80;
constexpr int kDefaultLines = 24;
constexpr int kTextMax = 512;  // WriteString formats at most 511 characters

bool LoadTerminal() {
  static int loaded = -1;
  if (loaded < 0) {
    // The description's own sizes count, whatever the environment or the
    // window says.
    use_env(FALSE);
    int err = 0;
    loaded = setupterm(const_cast<char*>("vt100"), 1, &err) == OK ? 1 : 0;
  }
  return loaded == 1;
}

int TermNumber(const char* name, int fallback) {
  if (!LoadTerminal()) return fallback;
  int n = tigetnum(const_cast<char*>(name));
  return n > 0 ? n : fallback;
}

// putp may write past the stdio buffer: what stdio holds goes first.
void SendCapability(const char* text) {
  std::fflush(stdout);
  putp(text);
  std::fflush(stdout);
}

}  // namespace

char* GetTermInfo(TtyScreen* screen) {
  screen->Cols = TermNumber("cols", kDefaultCols);
  screen->Lines = TermNumber("lines", kDefaultLines);
  screen->CursorX = 0;
  screen->CursorY = 1;
  const size_t cells = static_cast<size_t>(screen->Cols) * static_cast<size_t>(screen->Lines);
  screen->pCells = GetMemT<char>(cells + 1);
  if (screen->pCells == nullptr) SysError("%s", RunUtilText(UtilText::kNoMemory));
  std::memset(screen->pCells, ' ', cells);
  return screen->pCells;
}

void ClearScreen(TtyScreen* screen) {
  if (LoadTerminal() && clear_screen != nullptr)
    SendCapability(clear_screen);
  else
    std::fputs("\033[H\033[J", stdout);
  FillArea(screen, 0, 0, screen->Cols, screen->Lines, ' ');
}

void FillArea(TtyScreen* screen, int x, int y, int width, int height, char ch) {
  if (screen->pCells == nullptr) return;
  int x0 = x < 0 ? 0 : x;
  int x1 = x + width > screen->Cols ? screen->Cols : x + width;
  int y0 = y < 0 ? 0 : y;
  int y1 = y + height > screen->Lines ? screen->Lines : y + height;
  for (int row = y0; row < y1; ++row)
    if (x1 > x0) std::memset(screen->pCells + row * screen->Cols + x0, ch, static_cast<size_t>(x1 - x0));
}

void SetPosition(TtyScreen* screen, int x, int y) {
  screen->CursorX = x;
  screen->CursorY = y;
}

void WriteString(TtyScreen* screen, const char* format, ...) {
  if (screen->CursorY < 1 || screen->CursorY > screen->Lines) screen->CursorY = 1;
  if (screen->CursorX < 1 || screen->CursorX > screen->Cols) screen->CursorX = 0;
  if (screen->pCells == nullptr) return;
  char text[kTextMax];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  const long cells = static_cast<long>(screen->Cols) * screen->Lines;
  long at = static_cast<long>(screen->CursorY - 1) * screen->Cols + screen->CursorX;
  for (const char* c = text; *c != '\0' && at < cells; ++c) screen->pCells[at++] = *c;
}

void Refresh(TtyScreen* screen) {
  if (screen->pCells == nullptr) return;
  const long last = static_cast<long>(screen->Cols) * screen->Lines - 1;  // never printed
  long cell = 0;
  // Row by row: a row's output ends at its width, at a line feed (which
  // is passed over: the next row starts after it) or, shown, at a NUL.
  for (int row = 0; row < screen->Lines && cell < last; ++row) {
    const char* start = screen->pCells + cell;
    const size_t room = static_cast<size_t>(std::min<long>(screen->Cols, last - cell));
    const char* feed = static_cast<const char*>(std::memchr(start, '\n', room));
    const size_t len = feed != nullptr ? static_cast<size_t>(feed - start) : room;
    std::fwrite(start, 1, strnlen(start, len), stdout);
    cell += static_cast<long>(feed != nullptr ? len + 1 : len);
  }
  std::fflush(stdout);
}

void MoveCursor(TtyScreen* screen, int x, int y) {
  if (LoadTerminal() && cursor_address != nullptr)
    SendCapability(tparm(cursor_address, y, x));
  else
    std::printf("\033[%d;%dH", y + 1, x + 1);
  std::fflush(stdout);
  screen->CursorX = x;
  screen->CursorY = y;
}
