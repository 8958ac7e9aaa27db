// What is already on the host: an earlier installation, the directory
// dialogue that offers it, the print daemons to stop before files are
// replaced, and programs that must end before the installation goes on.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "MemMgr.h"
#include "SysCmd.h"
#include "TextMenu.h"
#include "installer.h"
#include "utils.h"

namespace {

// Reads one answer line; NULL at end of input, after a line saying that
// nobody answered. What a line holds beyond the buffer is
// dropped, so that it is not read as the answer to the next question (the
// kept part is too long for any answer, and is refused as such).
char* ReadAnswer() {
  std::fflush(stdout);
  char* line = Gets(LineBuf, kLineBufSize);
  if (line == nullptr) {
    SayInputEnded();
    return nullptr;
  }
  if (std::strlen(line) == kLineBufSize - 1) {
    for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar()) {
    }
  }
  return line;
}

// A process id from ps as a number that is safe to signal: only digits,
// and never 0 or 1 (0 and -1 would reach whole groups of processes).
pid_t ParsePid(const char* word) {
  if (word == nullptr || *word == '\0' || std::strspn(word, "0123456789") != std::strlen(word)) return 0;
  long id = std::strtol(word, nullptr, 10);
  return id > 1 && id < 0x7fffffff ? static_cast<pid_t>(id) : 0;
}

// Kills every process named name; false when a signal was not permitted
// (reported as message 58).
bool KillAll(const char* name) {
  char* ids = GetSysPsIdList(name);
  if (ids == nullptr) return true;
  bool permitted = true;
  for (char* id = GetToken(ids, " \t\n"); id != nullptr; id = GetToken(nullptr, " \t\n")) {
    pid_t pid = ParsePid(id);
    if (pid == 0) continue;
    if (GetHostOps().pfnKill(pid, SIGKILL) != 0 && errno == EPERM) {
      SayToStderr("%s: %s\n", NlsSetupStrCvt(58), std::strerror(EPERM));
      permitted = false;
      break;
    }
    if (!flPreview) std::printf(NlsSetupStrCvt(59), id);
  }
  std::fflush(stdout);
  PutMem(ids);
  return permitted;
}

}  // namespace

char* LocatePreviousInstallation() {
  char pattern[32];
  FormatText(pattern, sizeof pattern, "/%s/%s", "Vexla", "vpxx");
  const char* wrapper = nullptr;
  if (FindFile(nullptr, "/bin/vprint"))
    wrapper = "/bin/vprint";
  else if (FindFile(nullptr, "/usr/bin/vprint"))
    wrapper = "/usr/bin/vprint";
  if (wrapper == nullptr) return nullptr;
  const char* line = FileSearch(wrapper, "cd ", kSevSilent);
  if (line == nullptr) return nullptr;
  char* word = GetTokenN(line, " \n", 2);
  if (word == nullptr) return nullptr;
  char* at = StrStr(word, pattern);
  // A wrapper that names no product tree tells of no earlier installation.
  if (at == nullptr) return nullptr;
  *at = '\0';
  if (CheckDirectoryText(word) != nullptr) return nullptr;
  CopyText(Name, sizeof Name, word);
  return Name;
}

bool GetDirName(const char* const* info, const char* proposal, unsigned char offerPrevious) {
  CopyText(Name, sizeof Name, proposal);
  if (offerPrevious && LocatePreviousInstallation() != nullptr) {
    std::printf(NlsSetupStrCvt(42), Name);
    if (PromptYN(NlsSetupStrCvt(7), Name)) return true;
    if (PromptYN(NlsSetupStrCvt(20), Name)) return true;
  }
  std::printf("\n");
  for (int i = 0; info != nullptr && info[i] != nullptr; ++i) std::printf("%s\n", info[i]);
  for (;;) {
    std::printf(NlsSetupStrCvt(7), Name);
    const char* line = ReadAnswer();
    if (line == nullptr) return false;
    if (line[0] == '\0') return PromptYN(NlsSetupStrCvt(8), Name) != 0;
    if (line[0] == '/') {
      if (const char* why = CheckDirectoryText(line)) {
        std::printf("%s: %s\n", my_name, why);
        continue;
      }
      CopyText(Name, sizeof Name, line);
      continue;
    }
    // Not a full path: offer the way back to the menu.
    std::printf("%s? [y/n] ", NlsSetupStrCvt(9));
    line = ReadAnswer();
    if (line == nullptr || line[0] == 'y') return false;
  }
}

void StopDemon() {
  if (!KillAll("VPrintD")) return;
  KillAll("VPD");
}

int QuitForRunningProcesses(const char* programs) {
  for (;;) {
    char* report = CheckProcTableForExecs(programs);
    if (report == nullptr) return 0;
    if (flPreview) {
      PreviewNote(NlsSetupStrCvt(376), programs);
      PutMem(report);
      return 0;
    }
    std::printf("%s", NlsSetupStrCvt(66));
    std::printf("%s\n", report);
    PutMem(report);
    for (int message : {67, 68, 69, 70}) std::printf("%s", NlsSetupStrCvt(message));
    const char* answer = ReadAnswer();
    if (answer == nullptr) return 1;  // nobody is there to wait for: quit
    if (answer[0] == '2') return 1;
    if (answer[0] != '1') continue;
    for (int check = 0; check < 6; ++check) {
      GetHostOps().pfnSleep(5);
      char* still = CheckProcTableForExecs(programs);
      if (still == nullptr) return 0;
      PutMem(still);
    }
  }
}
