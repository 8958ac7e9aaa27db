// Start-up and the command line: the installer state every other part of
// the installer shares, and the entry that hands control to the install.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ShellWord.h"
#include "SysCmd.h"
#include "installer.h"
#include "utils.h"

char* pTmpDir = const_cast<char*>("/tmp");
char* pVexlaInstallDir = nullptr;
char* pInstallDir = nullptr;
unsigned char flMenu = 0;
unsigned char flInstalled = 0;
const char* InstallInfo[6] = {};
const char* InstallSiteInfo[5] = {};
char AppDir[kAppDirSize];
char Name[kNameSize];

namespace {

constexpr const char* kOptionWords = ",manual,install,menu,-v,no_space_check";
enum OptionWord { kWordOther = 0, kWordManual, kWordInstall, kWordMenu, kWordVersion, kWordNoSpaceCheck };

}  // namespace

void RefuseDirectory(const char* why, const char* dir) {
  // The name is shown with its control characters as '?': it must not be
  // able to drive the terminal.
  std::string shown = dir != nullptr ? dir : "";
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  std::fflush(stdout);
  std::fprintf(stderr, "%s: %s\n", my_name, why);
  std::fprintf(stderr, "%s: refused: %s\n", my_name, shown.c_str());
  std::exit(2);
}

const char* CheckDirectoryText(const char* dir) {
  if (dir == nullptr || dir[0] == '\0') return "no directory given";
  if (std::strlen(dir) > kMaxDirText)
    return "the directory name is too long (at most 200 characters)";
  if (JudgeShellWord(dir) != kShellPlain)
    return "a directory name may hold only letters, digits and / . _ - + , @ : =";
  return nullptr;
}

char* StripToBaseName(char* text) {
  if (text == nullptr) return nullptr;
  if (char* p = StrStr(text, "vpxx")) *p = '\0';
  if (char* p = StrStr(text, "Vexla")) *p = '\0';
  size_t len = std::strlen(text);
  if (len > 1 && text[len - 1] == '/') text[len - 1] = '\0';
  return text;
}

bool TestConfigFlag(const char* dir, const char* name) { return FindFile(dir, name); }

bool IsDisketteMedium() {
  if (GetFileContent(pToolPath, "installf.rom")) return LineBuf[0] == 'd';
  if (GetFileContent(pToolPath, "INSTALLF.ROM")) return LineBuf[0] == 'd';
  return true;
}

void ReadCommandLine(int argc, char** argv, unsigned char* flCleanWork, unsigned char* flSpaceCheck) {
  for (int i = 1; i < argc; ++i) {
    char* word = argv[i];
    switch (FindToken(word, kOptionWords)) {
      case kWordManual:
        *flCleanWork = 0;
        break;
      case kWordInstall:
        if (i + 1 < argc) {
          pInstallDir = StripToBaseName(argv[++i]);
          if (const char* why = CheckDirectoryText(pInstallDir)) RefuseDirectory(why, pInstallDir);
          if (pInstallDir[0] != '\0' && pInstallDir[0] != '/')
            RefuseDirectory("the installation directory must be a full path", pInstallDir);
        }
        break;
      case kWordMenu:
        flMenu = 1;
        break;
      case kWordVersion:
        std::fflush(stdout);
        std::fprintf(stderr, "%s %s\n", my_name, kVersion);
        std::exit(0);
      case kWordNoSpaceCheck:
        *flSpaceCheck = 0;
        break;
      default:
        // Any other word names the work area.
        if (const char* why = CheckDirectoryText(word)) RefuseDirectory(why, word);
        pTmpDir = word;
        pVexlaInstallDir = SaveStr("%s/%sInstall", word, "Vexla");
        if (!FindFile(word, "")) {
          std::printf(NlsSetupStrCvt(57), word);
          std::fflush(stdout);
          std::exit(2);
        }
        break;
    }
  }
}

void SetupMain(int argc, char** argv) {
  flUseLog = 1;
  pVexlaInstallDir = SaveStr("/tmp/%sInstall", "Vexla");
  const char* invocation = argc > 0 && argv[0] != nullptr ? argv[0] : "setup";
  if (std::strlen(invocation) > kMaxDirText)
    RefuseDirectory("the program's path is too long (at most 200 characters)", invocation);
  pToolPath = GetToolPath(invocation);
  my_name = SaveText(StripPath(invocation));
  InitSysCmdList();
  OpenDriverCoreDb();
  for (int i = 0; i < 5; ++i) InstallInfo[i] = NlsSetupStrCvt(10 + i);
  const int siteLines[] = {10, 11, 17, 18};
  for (int i = 0; i < 4; ++i) InstallSiteInfo[i] = NlsSetupStrCvt(siteLines[i]);

  unsigned char flCleanWork = 1;
  unsigned char flSpaceCheck = 1;
  ReadCommandLine(argc, argv, &flCleanWork, &flSpaceCheck);

  if (!flMenu && pInstallDir == nullptr) {
    pInstallDir = LocatePreviousInstallation();
    if (pInstallDir == nullptr) pInstallDir = const_cast<char*>("/usr");
  }
  if (pInstallDir != nullptr) pInstallDir = SaveText(pInstallDir);
  if (!flMenu && flSpaceCheck) FreeSpaceForInstall(pVexlaInstallDir, pInstallDir, "Vexla");

  const int result = IsDisketteMedium() ? InstallFromDiskette() : InstallFromSite();

  if (!TestConfigFlag(AppDir, ".StandAloneDb") && !TestConfigFlag(AppDir, ".StandAlone")) VexlaClean(flCleanWork);
  // An installation that was asked for on the command line and did not
  // happen (not root, abandoned in the package list) is no success.
  std::exit(!flMenu && result != 0 ? 1 : 0);
}
