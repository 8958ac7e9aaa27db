#include <gtest/gtest.h>

#include <string>

#include "MemMgr.h"
#include "TextMenu.h"

namespace {

// A grid of the terminal's size, given back when the test ends.
struct Screen {
  Screen() { GetTermInfo(&s); }
  ~Screen() { PutMem(s.pCells); }
  std::string Row(int row) const { return std::string(s.pCells + row * s.Cols, static_cast<size_t>(s.Cols)); }
  TtyScreen s;
};

std::string Blanks(size_t n) { return std::string(n, ' '); }

}  // namespace

TEST(Screen, TheDescriptionIsVt100WithABlankGrid) {
  Screen screen;
  EXPECT_EQ(screen.s.Cols, 80);
  EXPECT_EQ(screen.s.Lines, 24);
  for (int row = 0; row < 24; ++row) EXPECT_EQ(screen.Row(row), Blanks(80)) << row;
}

TEST(Screen, WriteStringPlacesTextAndCorrectsThePosition) {
  Screen screen;
  SetPosition(&screen.s, 0, 0);
  WriteString(&screen.s, "%s-%d", "top", 1);
  EXPECT_EQ(screen.Row(0).substr(0, 6), "top-1 ");
  EXPECT_EQ(screen.s.CursorY, 1) << "row 0 is taken as row 1";
  EXPECT_EQ(screen.s.CursorX, 0);

  // A title of 10 centred on row 1 starts at column 35 of the top row.
  SetPosition(&screen.s, (80 - 10) / 2, 1);
  WriteString(&screen.s, "0123456789");
  EXPECT_EQ(screen.Row(0).substr(35, 10), "0123456789");

  // Rows from 1: row 3 is the third line; a column past the width is 0.
  SetPosition(&screen.s, 81, 3);
  WriteString(&screen.s, "x");
  EXPECT_EQ(screen.Row(2)[0], 'x');
  EXPECT_EQ(screen.s.CursorX, 0);
  SetPosition(&screen.s, 5, 25);
  WriteString(&screen.s, "y");
  EXPECT_EQ(screen.Row(0)[5], 'y') << "a row past the height is row 1";
}

TEST(Screen, TextRunsOnIntoTheNextRowAndIsCutAtTheEnd) {
  Screen screen;
  SetPosition(&screen.s, 78, 2);
  WriteString(&screen.s, "abcd");
  EXPECT_EQ(screen.Row(1).substr(78), "ab");
  EXPECT_EQ(screen.Row(2).substr(0, 2), "cd");
  SetPosition(&screen.s, 77, 24);
  WriteString(&screen.s, "%s", std::string(600, 'z').c_str());
  EXPECT_EQ(screen.Row(23).substr(77), "zzz");
  EXPECT_EQ(screen.Row(0)[0], ' ') << "nothing wraps round to the top";
}

TEST(Screen, FillAreaStaysInsideTheGrid) {
  Screen screen;
  FillArea(&screen.s, 2, 1, 3, 2, '#');
  EXPECT_EQ(screen.Row(1).substr(0, 6), "  ### ");
  EXPECT_EQ(screen.Row(2).substr(0, 6), "  ### ");
  EXPECT_EQ(screen.Row(3), Blanks(80));
  FillArea(&screen.s, 78, 22, 10, 10, '*');
  EXPECT_EQ(screen.Row(23).substr(76), "  **");
  FillArea(&screen.s, -3, -3, 5, 5, '-');
  EXPECT_EQ(screen.Row(0).substr(0, 3), "-- ");
}

TEST(Screen, RefreshPrintsAllButTheLastCellWithoutLineFeeds) {
  Screen screen;
  SetPosition(&screen.s, 0, 1);
  WriteString(&screen.s, "first");
  SetPosition(&screen.s, 79, 24);
  WriteString(&screen.s, "!");
  testing::internal::CaptureStdout();
  Refresh(&screen.s);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.size(), 1919u);
  EXPECT_EQ(out.find('\n'), std::string::npos);
  EXPECT_EQ(out.substr(0, 5), "first");
  EXPECT_EQ(out.find('!'), std::string::npos) << "the bottom-right cell is never printed";
}

TEST(Screen, ALineFeedCellEndsItsRow) {
  Screen screen;
  SetPosition(&screen.s, 0, 1);
  WriteString(&screen.s, "ab\ncd");
  testing::internal::CaptureStdout();
  Refresh(&screen.s);
  std::string out = testing::internal::GetCapturedStdout();
  // "ab", then the next row is read from the cell after the line feed.
  EXPECT_EQ(out.substr(0, 4), "abcd");
  // Every row after it starts one cell later: 24 rows print "ab" and then
  // 23 rows of 80 cells, and the cells at the end of the grid stay unread.
  EXPECT_EQ(out.size(), 2u + 23u * 80u);
}

TEST(Screen, ClearAndCursorUseTheTerminalCapabilities) {
  Screen screen;
  SetPosition(&screen.s, 0, 1);
  WriteString(&screen.s, "gone");
  testing::internal::CaptureStdout();
  ClearScreen(&screen.s);
  MoveCursor(&screen.s, 10, 4);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(screen.Row(0), Blanks(80));
  EXPECT_NE(out.find("\033[H\033[J"), std::string::npos) << out;
  EXPECT_NE(out.find("\033[5;11H"), std::string::npos) << "line first, then column, both from 1 on the wire";
  EXPECT_EQ(screen.s.CursorX, 10);
  EXPECT_EQ(screen.s.CursorY, 4);
}
