// The main menu of menu mode, and the menu engine's texts on the medium.
#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "Dbm.h"
#include "HelpTty.h"
#include "NlsUtils.h"
#include "TextMenu.h"
#include "html.h"
#include "installer.h"
#include "utils.h"

TtyMenuItem MainMenuItems[] = {
    {.pTitle = "Install Driver and Utilities", .Type = kItemAction, .pfnAction = Install},
    {.pTitle = "Create an installation site.", .Type = kItemAction, .pfnAction = GenInstallSite},
    {.pTitle = "Create installation diskettes.", .Type = kItemAction, .pfnAction = GenInstallDisks},
    {.pTitle = "~e Exit", .Type = kItemLeave},
    {.pTitle = "", .Type = kItemText},
    {.pTitle = nullptr},
};

TtyMenu MainMenu = {
    .pTitle = "Install Print Driver and Utilities",
    .TitleAlign = kAlignCenter,
    .pItems = MainMenuItems,
    .Flags = kMenuEmptySelects,
};

namespace {

bool IsRegularFile(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

// The name to open the database of language (NULL: English) under, in
// name: "<LANG>/drvcore" when the medium's db folder holds it, else the
// absolute path of its DOS form; false when the medium holds neither.
bool FindDriverCoreDb(const char* language, char* name, size_t size) {
  char relative[kNameSize];
  FormatText(relative, sizeof relative, "%s%s%s", language != nullptr ? language : "", language != nullptr ? "/" : "",
             kDrvCoreDbName);
  char path[kAppDirSize];
  if (DbTFilePath(relative, path, sizeof path) && IsRegularFile(path)) return FormatText(name, size, "%s", relative);
  // A DOS diskette holds the same names in upper case.
  if (!FormatText(path, sizeof path, "%s/%s/%s.VDB", pToolPath, kDosMediumNames.dbFolder, relative)) return false;
  for (char* c = path + std::strlen(pToolPath); *c != '\0'; ++c)
    *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return IsRegularFile(path) && FormatText(name, size, "%s", path);
}

}  // namespace

void OpenDriverCoreDb() {
  if (pDrvCoreDB != nullptr || pToolPath == nullptr) return;
  char name[kAppDirSize];
  const char* language = SetupLanguageName();
  if (!(language != nullptr && FindDriverCoreDb(language, name, sizeof name)) &&
      !FindDriverCoreDb(nullptr, name, sizeof name))
    return;
  // Read once and kept: the medium may go away (or change) while the menus run.
  pDrvCoreDB = DbTOpen(name, kDbNoCheck);
  DbTUpDate(pDrvCoreDB);
}

bool OfferMediumHelp() {
  static char path[kAppDirSize];
  pTtyHtmlName = nullptr;
  MainMenu.Flags = kMenuEmptySelects;
  if (pToolPath == nullptr) return false;
  for (const char* name : {kHelpFileName, kHelpFileDosName}) {
    if (!FormatText(path, sizeof path, "%s/%s", pToolPath, name) || !IsRegularFile(path)) continue;
    // The viewer would take a '#' for the start of a target.
    if (std::strchr(path, '#') != nullptr) return false;
    char load[kAppDirSize];
    CopyText(load, sizeof load, path);
    // Loaded now and kept: the medium may go away while the menus run.
    if (ParseHtmlFile(load, nullptr) == nullptr) return false;
    pTtyHtmlName = path;
    pfnTtyHelp = TtyHtmlHelp;
    MainMenu.Flags = kMenuEmptySelects | kMenuHelp;
    return true;
  }
  return false;
}

void RunMainMenu() {
  OfferMediumHelp();
  RunMenu(&MainMenu, nullptr, 1);
}
