// Start-up and the command line: the installer state every other part of
// the installer shares, and the entry that hands control to the install.
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MediumLayout.h"
#include "MemMgr.h"
#include "ShellWord.h"
#include "SysCmd.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_extensions.h"
#include "setup_hold.h"
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
SetupAction RequestedAction = kActionInstall;
unsigned char flKeepEarlier = 0;

namespace {

enum OptionWord {
  kWordOther = 0, kWordManual, kWordInstall, kWordMenu, kWordVersion, kWordNoSpaceCheck,
  kWordPreview, kWordVerify, kWordRemove, kWordHelp, kWordShortHelp, kWordWait, kWordJson, kWordKeep, kWordRollback,
  kWordHistory,
};

// Whether a run whose command line holds the word starts the log at once:
// a preview writes nothing outside its own directory, not even the log;
// nor do verify (the installation's log stays as it was), the history and
// asking for the usage; remove and rollback start their log only once they
// trust the manifest they act on.
enum class StartsLog { kAtOnce, kLater };

// The words of the command line, each with what it asks for, whether it
// makes a run that changes nothing of the host (one that takes no lock:
// the command line acts on these wherever they stand), and when its run
// starts the log.
struct CommandWord {
  const char* word;
  OptionWord id;
  bool onlyReads;
  StartsLog log;
};
constexpr CommandWord kCommandWords[] = {
    {"manual", kWordManual, false, StartsLog::kAtOnce},
    {"install", kWordInstall, false, StartsLog::kAtOnce},
    {"menu", kWordMenu, false, StartsLog::kAtOnce},
    {"-v", kWordVersion, true, StartsLog::kAtOnce},
    {"no_space_check", kWordNoSpaceCheck, false, StartsLog::kAtOnce},
    {"preview", kWordPreview, true, StartsLog::kLater},
    {"verify", kWordVerify, true, StartsLog::kLater},
    {"remove", kWordRemove, false, StartsLog::kLater},
    {"--help", kWordHelp, true, StartsLog::kLater},
    {"-h", kWordShortHelp, true, StartsLog::kLater},
    {"wait", kWordWait, false, StartsLog::kAtOnce},
    {"--json", kWordJson, false, StartsLog::kAtOnce},
    {"keep", kWordKeep, false, StartsLog::kAtOnce},
    {"rollback", kWordRollback, false, StartsLog::kLater},
    {"history", kWordHistory, true, StartsLog::kLater},
};

// The table's row of word; NULL for any other word (a work area).
const CommandWord* CommandWordOf(const char* word) {
  if (word == nullptr) return nullptr;
  for (const CommandWord& w : kCommandWords)
    if (std::strcmp(w.word, word) == 0) return &w;
  return nullptr;
}

bool jsonOutput = false;  // --json: preview, verify and history answer in JSON

// Whether one of the words is the table's word id.
bool HasWord(int argc, char** argv, OptionWord id) {
  for (int i = 1; i < argc; ++i)
    if (const CommandWord* w = CommandWordOf(argv[i]); w != nullptr && w->id == id) return true;
  return false;
}

// Whether the words ask for a run that changes nothing of the host: a
// preview, a verify, the history, the version or the usage.
bool WordsOnlyRead(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (const CommandWord* w = CommandWordOf(argv[i]); w != nullptr && w->onlyReads) return true;
  return false;
}

// Whether the run starts its log at once: none of its words waits.
bool LogStartsAtOnce(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (const CommandWord* w = CommandWordOf(argv[i]); w != nullptr && w->log == StartsLog::kLater) return false;
  return true;
}

// The synopsis of the usage text: the same bytes in every language, since
// programs match its lines (a line that begins "setup history" offers the
// history). The explanation after it is the run's (kUsageMessage).
const char kSynopsis[] =
    "usage: setup [manual] [install DIR] [menu] [wait] [keep] [-v] [no_space_check] [WORK_AREA]\n"
    "       setup preview [install DIR] [no_space_check] [--json] [WORK_AREA]\n"
    "       setup verify [install DIR] [--json]\n"
    "       setup remove [install DIR] [wait]\n"
    "       setup rollback [install DIR] [wait]\n"
    "       setup history [--json]\n";

// The work area as a full path: the run changes its directory, so a
// relative one ("../w") is made absolute (resolved) at once; it is refused
// when the result cannot go into the command lines.
char* AbsoluteWorkArea(char* word) {
  if (word[0] == '/') return word;
  char resolved[PATH_MAX];
  if (realpath(word, resolved) == nullptr) RefuseDirectory(NlsSetupStrCvt(205), word);
  if (const char* why = CheckDirectoryText(resolved)) RefuseDirectory(why, resolved);
  return SaveText(resolved);
}

// The action word: one a command line. A second one is refused, since the
// run took the lock (or not) by the words as a whole: "verify remove"
// would otherwise remove without the lock.
void RequestAction(SetupAction action, const char* word) {
  if (RequestedAction != kActionInstall && RequestedAction != action)
    RefuseDirectory(NlsSetupStrCvt(384), word);
  RequestedAction = action;
}

// verify and remove: on the installation named with install, else the
// earlier one, else the one in /usr.
int RunManifestAction() {
  const char* d = pInstallDir;
  if (d == nullptr) d = LocatePreviousInstallation();
  if (d == nullptr) d = "/usr";
  AppDirOf(d, AppDir, sizeof AppDir);
  if (RequestedAction == kActionVerify) return Record().Verify(AppDir, jsonOutput);
  if (!RunByRoot()) return 1;
  if (RequestedAction == kActionRollback) return Record().Rollback(AppDir);
  return Record().Remove(AppDir);
}

}  // namespace

void SayToStderr(const char* format, ...) {
  std::fflush(stdout);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
}

void SayInputEnded() {
  std::printf("\n");
  SayNamed(stdout, 203);
  std::fflush(stdout);
}

void RefuseDirectory(const char* why, const char* dir) {
  SayToStderr("%s: %s\n", my_name, why);
  SayNamed(stderr, 204, ShownWithoutControls(dir != nullptr ? dir : "").c_str());
  ExitProgram(2);
}

void RefuseWorkAreaAmongInstalled(const char* installDir) {
  // Compared as the host resolves them, so that neither ".." nor a link
  // slips past; the work directory is the one this run would make there.
  const std::string area = ResolvedPath(pTmpDir);
  const std::string workDir = (area == "/" ? "" : area) + "/VexlaInstall";
  std::vector<std::string> written = {"/var/spool/Vexla", "/usr/Vexla"};
  if (installDir != nullptr) written.insert(written.begin(), std::string(installDir) + "/Vexla");
  for (const std::string& folder : written) {
    std::string why;
    if (ResolvedWithin(workDir.c_str(), folder.c_str()))
      why = SetupText(209, folder.c_str());
    else if (ResolvedWithin(folder.c_str(), workDir.c_str()))
      why = SetupText(210, folder.c_str());
    if (!why.empty()) RefuseDirectory(why.c_str(), pTmpDir);
  }
}

const char* CheckDirectoryText(const char* dir) {
  if (dir == nullptr || dir[0] == '\0') return NlsSetupStrCvt(211);
  if (std::strlen(dir) > kMaxDirText) return NlsSetupStrCvt(212);
  if (JudgeShellWord(dir) != kShellPlain) return NlsSetupStrCvt(213);
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
  if (GetFileContent(pToolPath, kUnixMediumNames.marker)) return LineBuf[0] == 'd';
  if (GetFileContent(pToolPath, kDosMediumNames.marker)) return LineBuf[0] == 'd';
  return true;
}

void ReadCommandLine(int argc, char** argv, unsigned char* flCleanWork, unsigned char* flSpaceCheck) {
  for (int i = 1; i < argc; ++i) {
    char* word = argv[i];
    const CommandWord* known = CommandWordOf(word);
    switch (known != nullptr ? known->id : kWordOther) {
      case kWordManual:
        *flCleanWork = 0;
        break;
      case kWordInstall:
        if (i + 1 < argc) {
          pInstallDir = StripToBaseName(argv[++i]);
          if (const char* why = CheckDirectoryText(pInstallDir)) RefuseDirectory(why, pInstallDir);
          if (pInstallDir[0] != '\0' && pInstallDir[0] != '/')
            RefuseDirectory(NlsSetupStrCvt(206), pInstallDir);
        }
        break;
      case kWordMenu:
        flMenu = 1;
        break;
      case kWordVersion:
        SayToStderr("%s %s\n", my_name, kVersion);
        ExitProgram(0);
      case kWordNoSpaceCheck:
        *flSpaceCheck = 0;
        break;
      case kWordPreview:
        RequestAction(kActionPreview, word);
        break;
      case kWordVerify:
        RequestAction(kActionVerify, word);
        break;
      case kWordRemove:
        RequestAction(kActionRemove, word);
        break;
      case kWordWait:
        break;  // taken before the command line is read: the lock comes first
      case kWordJson:
        jsonOutput = true;
        break;
      case kWordKeep:
        flKeepEarlier = 1;
        break;
      case kWordRollback:
        RequestAction(kActionRollback, word);
        break;
      case kWordHistory:
        RequestAction(kActionHistory, word);
        break;
      case kWordHelp:
      case kWordShortHelp:
        std::fputs(kSynopsis, stdout);
        std::fputs(NlsSetupStrCvt(kUsageMessage), stdout);
        ExitProgram(0);
      default:
        // Any other word names the work area.
        if (const char* why = CheckDirectoryText(word)) RefuseDirectory(why, word);
        if (!FindFile(word, "")) {
          std::printf(NlsSetupStrCvt(57), word);
          std::fflush(stdout);
          ExitProgram(2);
        }
        pTmpDir = AbsoluteWorkArea(word);
        pVexlaInstallDir = SaveStr("%s/%sInstall", pTmpDir, "Vexla");
        break;
    }
  }
}

void SetupMain(int argc, char** argv) {
  // Every text goes to a UTF-8 terminal converted, before the first is written.
  UseTerminalCharset();
  // The libraries' texts (file, memory and command failures, why a file or
  // a way is not trusted) come from the tables as well.
  UseSetupTextsInLibraries();
  Record().RunStarted();
  flUseLog = LogStartsAtOnce(argc, argv) ? 1 : 0;
  pVexlaInstallDir = SaveStr("/tmp/%sInstall", "Vexla");
  // What --json writes a program reads: in one language.
  if (HasWord(argc, argv, kWordJson)) UseEnglishTexts();
  const char* invocation = argc > 0 && argv[0] != nullptr ? argv[0] : "setup";
  if (std::strlen(invocation) > kMaxDirText)
    RefuseDirectory(NlsSetupStrCvt(207), invocation);
  pToolPath = GetToolPath(invocation);
  my_name = SaveText(StripPath(invocation));
  // A run that changes the host takes the lock before anything, its first
  // log line included (which empties the log of the run before).
  // From then on the folders it works in are held for it alone.
  if (!WordsOnlyRead(argc, argv)) {
    Guards().TakeHostLock(HasWord(argc, argv, kWordWait));
    BeginFolderHold();
  }
  InitSysCmdList();
  OpenDriverCoreDb();
  for (int i = 0; i < 5; ++i) InstallInfo[i] = NlsSetupStrCvt(10 + i);
  const int siteLines[] = {10, 11, 17, 18};
  for (int i = 0; i < 4; ++i) InstallSiteInfo[i] = NlsSetupStrCvt(siteLines[i]);

  unsigned char flCleanWork = 1;
  unsigned char flSpaceCheck = 1;
  ReadCommandLine(argc, argv, &flCleanWork, &flSpaceCheck);
  if (jsonOutput && RequestedAction != kActionVerify && RequestedAction != kActionPreview &&
      RequestedAction != kActionHistory)
    RefuseDirectory(NlsSetupStrCvt(208), "--json");
  if (RequestedAction == kActionHistory) ExitProgram(Record().History(jsonOutput));
  if (RequestedAction == kActionVerify || RequestedAction == kActionPreview) Guards().SayWhenHostLocked();

  if (RequestedAction == kActionVerify || RequestedAction == kActionRemove || RequestedAction == kActionRollback)
    ExitProgram(RunManifestAction());
  if (RequestedAction == kActionPreview) ExitProgram(Guards().Preview(flSpaceCheck, jsonOutput));

  if (!flMenu && pInstallDir == nullptr) {
    pInstallDir = LocatePreviousInstallation();
    if (pInstallDir == nullptr) pInstallDir = const_cast<char*>("/usr");
  }
  if (pInstallDir != nullptr) pInstallDir = SaveText(pInstallDir);
  RefuseWorkAreaAmongInstalled(pInstallDir);
  if (!flMenu) Record().RefuseKeepWithoutCopy(pInstallDir);
  if (!flMenu && flSpaceCheck &&
      !FreeSpaceForInstall(pVexlaInstallDir, pInstallDir, "Vexla", Record().SavedCopyNeed(pInstallDir)))
    Record().NoRoomToSaveEarlier();

  const int result = IsDisketteMedium() ? InstallFromDiskette() : InstallFromSite();

  if (!TestConfigFlag(AppDir, ".StandAloneDb") && !TestConfigFlag(AppDir, ".StandAlone")) VexlaClean(flCleanWork);
  // (Written during the clean-up; here when there was none.)
  if (Record().ManifestPending()) Record().WriteManifest();
  // An installation with failed steps, or one that was asked for on the
  // command line and did not happen (not root, abandoned in the package
  // list), is no success.
  const bool failed = ReportFailedSteps() > 0 || (!flMenu && result != 0);
  Record().EndSavedInstallation(!failed && flInstalled);
  ExitProgram(failed ? 1 : 0);
}
