// menu_driver: a small menu with a state chooser, for the terminal tests
// of the menu engine. It lies beside its string database (db/drvcore.vdb)
// the way setup does, and prints the chosen state when the menu is left.
#include <cstdio>
#include <string>

#include "Dbm.h"
#include "NlsUtils.h"
#include "TextMenu.h"
#include "utils.h"

int main(int, char** argv) {
  my_name = SaveText("menu_driver");
  pToolPath = GetToolPath(argv[0]);
  pDrvCoreDB = DbTOpen("drvcore", kDbNoCheck);
  DbTUpDate(pDrvCoreDB);

  // 40 states of 28 characters: two columns of 18 fit, so there are two
  // pages; state 4 is unavailable.
  std::string states;
  for (int i = 1; i <= 40; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "%sPaper tray number %02d (upper)", i == 4 ? " " : "", i);
    states += (i > 1 ? "," : "") + std::string(name);
  }
  TtyMenuItem items[3];
  items[0].pTitle = "Paper source";
  items[0].Type = kItemChoice;
  items[0].pStates = states.c_str();
  items[1].pTitle = "~e Exit";
  items[1].Type = kItemLeave;
  TtyMenu menu;
  menu.pTitle = "Printer settings";
  menu.TitleAlign = kAlignCenter;
  menu.pItems = items;
  menu.Flags = kMenuEmptySelects;
  RunMenu(&menu, nullptr, 1);
  std::printf("chosen state %d\n", static_cast<int>(items[0].Value.Int) + 1);
  return 0;
}
