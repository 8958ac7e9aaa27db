// The host command table, its resolution at start-up and the two runners:
// SysCmd runs a row through the shell and judges its exit status,
// GetCmdResponse reads a row's output through a pipe.
#include "SysCmd.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MemMgr.h"
#include "ShellWord.h"
#include "utils.h"

SysCmdEntry ComList[kComListRows] = {
    {"", "", nullptr, 0},  // 0: the formatted text is the whole line, unlogged
    {"", "", nullptr, 0},  // 1: the same, logged
    {"cancel", "", nullptr, 2},  // 2
    {"cat", "", nullptr, 0},  // 3
    {"chgrp", "", nullptr, 0},  // 4
    {"chmod", "", nullptr, 0},  // 5
    {"chown", "", nullptr, 0},  // 6
    {"clear", "", nullptr, 0},  // 7
    {"compress", "", nullptr, 0},  // 8
    {"cp", "-p", nullptr, 0},  // 9
    {"cp", "-pr", nullptr, 0},  // 10
    {"cupsd", "", nullptr, 0},  // 11
    {"id", "", nullptr, 0},  // 12
    {"echo", "", nullptr, 0},  // 13
    {"eject", "-f", nullptr, 1},  // 14
    {"eject", "-q", nullptr, 1},  // 15
    {"file", "", nullptr, 0},  // 16
    {"ln", "", nullptr, 0},  // 17
    {"lp", "", nullptr, 0},  // 18
    {"lpc", "", nullptr, 1},  // 19
    {"lpr", "", nullptr, 0},  // 20
    {"lprm", "", nullptr, 1},  // 21
    {"lpstat", "", nullptr, 1},  // 22
    {"ls", "", nullptr, 0},  // 23
    {"kill", "-KILL", nullptr, 0},  // 24
    {"mv", "-f", nullptr, 0},  // 25
    {"mkdir", "-p", nullptr, 0},  // 26
    {"more", "", nullptr, 0},  // 27
    {"ping", "", nullptr, 0},  // 28
    {"rm", "-f", nullptr, 0},  // 29
    {"rm", "-rf", nullptr, 0},  // 30
    {"sh", "", nullptr, 0},  // 31
    {"sleep", "", nullptr, 0},  // 32
    {"tar", "cvfp", nullptr, 0},  // 33
    {"tar", "xvfp", nullptr, 0},  // 34
    {"touch", "", nullptr, 0},  // 35
    {"uncompress", "", nullptr, 0},  // 36
    {"whoami", "", nullptr, 0},  // 37
    {"zcat", "", nullptr, 0},  // 38
    {"uname", "", nullptr, 0},  // 39
    {"sed", "", nullptr, 0},  // 40
    {"du", "-s", nullptr, 0},  // 41
    {"checkpc", "", nullptr, 0},  // 42
    {"lpd", "", nullptr, 0},  // 43
    {"pkgadd", "", nullptr, 1},  // 44
    {"pkginfo", "", nullptr, 0},  // 45
    {"pkgrm", "", nullptr, 1},  // 46
    {"accept", "", nullptr, 1},  // 47
    {"disable", "", nullptr, 1},  // 48
    {"enable", "", nullptr, 1},  // 49
    {"lpadmin", "", nullptr, 1},  // 50
    {"lpfilter", "", nullptr, 1},  // 51
    {"lpsched", "", nullptr, 1},  // 52
    {"lpshut", "", nullptr, 1},  // 53
    {"lpsystem", "", nullptr, 1},  // 54
    {"ps", "-ace", nullptr, 0},  // 55
    {"bar", "", nullptr, 0},  // 56
    {"df", "", nullptr, 0},  // 57
    {"lpq", "-P", nullptr, 0},  // 58
    {"ypcat", "", nullptr, 0},  // 59
    {"reject", "", nullptr, 1},  // 60
    {"pmadm", "", nullptr, 1},  // 61
    {"sacadm", "", nullptr, 1},  // 62
    {"volcheck", "", nullptr, 0},  // 63
    {"capture", "", nullptr, 0},  // 64
    {"lpset", "", nullptr, 1},  // 65
    {"instnetpr", "", nullptr, 1},  // 66
    {"piomkpq", "", nullptr, 0},  // 67
    {"piomisc_ext", "", nullptr, 0},  // 68
    {"piomisc_base", "", nullptr, 0},  // 69
    {"lsallq", "", nullptr, 0},  // 70
    {"mkque", "", nullptr, 0},  // 71
    {"mkquedev", "", nullptr, 0},  // 72
    {"rmque", "", nullptr, 0},  // 73
    {"rmquedev", "", nullptr, 0},  // 74
    {"piochdfq", "", nullptr, 0},  // 75
    {"enq", "", nullptr, 0},  // 76
    {"lsquedev", "", nullptr, 0},  // 77
    {"lsque", "", nullptr, 0},  // 78
    {"startsrc", "", nullptr, 1},  // 79
    {"stopsrc", "", nullptr, 0},  // 80
    {"lssrc", "", nullptr, 0},  // 81
    {nullptr, nullptr, nullptr, 0},  // 82: end of the table
};

char* FullSearchPath = nullptr;
unsigned char flInitSysCmd = 1;
unsigned char flSysCmdLog = 0;

namespace {

// The system directories, searched before PATH.
constexpr char kSystemDirs[] = "/usr/sbin:/usr/bin:/bin:/sbin:/etc:/usr/etc";
// Cut in place at each ':' by InitSysCmdList; resolved rows point into it.
char SearchPaths[sizeof kSystemDirs];

// Rows 2 to 81 are commands; row 82 ends the table.
constexpr int kFirstCmd = 2;
constexpr int kEndRow = kComListRows - 1;

bool IsCmdRow(int index) { return index >= kFirstCmd && index < kEndRow; }

// While the table is not initialised, a row is looked up when first used.
void LazyResolve(int index) {
  if (flInitSysCmd && IsCmdRow(index) && ComList[index].pPath == nullptr) FillCmdPath(index);
}

void BuildFullSearchPath() {
  char* path = GetEnv("PATH");
  FullSearchPath = SaveStr("%s:%s", kSystemDirs, path ? path : "");
  if (path) PutMem(path);
}

// The directories listed so far in this resolution, by identity: a second
// listing of one (PATH repeats the system directories, /bin is often a link
// to /usr/bin) resolves nothing that the first did not, so it is skipped.
struct ListedDirs {
  static constexpr int kMax = 64;
  dev_t dev[kMax];
  ino_t ino[kMax];
  int count = 0;

  // True when dir was listed before; otherwise it is noted (when there is
  // room and it can be looked at).
  bool Seen(const char* dir) {
    struct stat st;
    if (stat(dir, &st) != 0) return false;
    for (int i = 0; i < count; ++i)
      if (dev[i] == st.st_dev && ino[i] == st.st_ino) return true;
    if (count < kMax) {
      dev[count] = st.st_dev;
      ino[count] = st.st_ino;
      ++count;
    }
    return false;
  }
};

// Cuts the ':'-separated list in place and hands each absolute directory
// to FillCmdPaths until every row is resolved. Empty and relative entries
// are skipped: a root installer must not pick commands from the current
// directory. Returns false once all rows are resolved.
bool FillFromList(char* list, ListedDirs& listed) {
  char* dir = list;
  while (dir != nullptr) {
    char* colon = std::strchr(dir, ':');
    if (colon != nullptr) *colon = '\0';
    if (dir[0] == '/' && !listed.Seen(dir) && FillCmdPaths(dir) == 0) return false;
    dir = colon ? colon + 1 : nullptr;
  }
  return true;
}

[[noreturn]] void Unlocatable(const char* name) {
  SayUtilError(UtilText::kNoSystemCommand, name);
  ExitProgram(1);
}

// Makes sure index is a usable row: resolves it and ends the program when
// it names no command of this host.
void RequireRow(int index) {
  if (index < 0 || index >= kEndRow) {
    char number[16];
    FormatText(number, sizeof number, "%d", index);
    Unlocatable(number);
  }
  LazyResolve(index);
  if (index >= kFirstCmd && ComList[index].pPath == nullptr) Unlocatable(ComList[index].pName);
}

// A command line of at most kCmdLineSize - 1 characters. A piece that does
// not fit marks the line as cut; a cut line is never run.
struct CmdLine {
  char text[kCmdLineSize] = "";
  size_t len = 0;
  bool cut = false;

  void AppendV(const char* format, va_list args) {
    if (cut) return;
    int n = std::vsnprintf(text + len, sizeof text - len, format, args);
    if (n < 0 || static_cast<size_t>(n) >= sizeof text - len) {
      cut = true;
      text[len] = '\0';
      return;
    }
    len += static_cast<size_t>(n);
  }
  SETUP_PRINTF(2, 3) void Append(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendV(format, args);
    va_end(args);
  }
};

// The name a failure report gives: the row's command, or the first word of
// a free command line.
void CommandName(int index, const CmdLine& line, char* name, size_t size) {
  if (index >= kFirstCmd) {
    CopyText(name, size, ComList[index].pName);
    return;
  }
  size_t n = std::strcspn(line.text, " \t");
  if (n >= size) n = size - 1;
  std::memcpy(name, line.text, n);
  name[n] = '\0';
}

// What became of a command: the text that names it and the number it
// names (an exit status, a signal, a wait status, an errno).
struct Outcome {
  UtilText text = UtilText::kLineTooLong;
  int number = 0;

  // The text in the run's language, or in English for the run log.
  std::string Text(bool english) const {
    if (text == UtilText::kNotStarted) {
      const char* reason = std::strerror(number);
      return english ? EnglishUtilFormat(text, reason) : UtilFormat(text, reason);
    }
    if (text == UtilText::kLineTooLong) return english ? EnglishUtilText(text) : RunUtilText(text);
    return english ? EnglishUtilFormat(text, number) : UtilFormat(text, number);
  }
};

// Severity 1 logs a warning and goes on; severity 2 logs and prints the
// error and ends the program, naming on standard error the command that
// failed (when given: the command and its arguments, without the shell
// around it and the redirections), so that the administrator sees what
// the run could not do. Other severities report nothing. The log says it
// in English, the terminal in the run's language.
void ReportFailure(int severity, const char* name, const Outcome& what, const char* command = nullptr, int len = 0) {
  if (severity != kSevWarning && severity != kSevFatal) return;
  PutLogMsg("%s: %s: %s\n", severity == kSevFatal ? "ERROR" : "WARNING_MSG", name, what.Text(true).c_str());
  if (severity == kSevFatal) {
    std::printf("ERROR: %s: %s\n", name, what.Text(false).c_str());
    std::fflush(stdout);
    if (command != nullptr) SayUtilError(UtilText::kFailedCommand, len, command);
    ExitProgram(1);
  }
}

// Turns the wait status of a run into the result and what happened;
// errnum is errno right after the run.
int JudgeStatus(int status, int errnum, Outcome* what) {
  if (status == -1) {
    *what = {UtilText::kNotStarted, errnum};
    return -1;
  }
  if (WIFEXITED(status)) {
    *what = {UtilText::kExitStatus, WEXITSTATUS(status)};
    return WEXITSTATUS(status);
  }
  if (WIFSIGNALED(status)) {
    *what = {UtilText::kKilledBySignal, WTERMSIG(status)};
    return 128 + WTERMSIG(status);
  }
  *what = {UtilText::kWaitStatus, status};
  return -1;
}

// Waits up to about ten seconds for a process of that name to appear.
void WaitForProcess(const char* name) {
  char* ids = GetSysPsIdList(name);
  for (int retries = 0; ids == nullptr && retries < 10; ++retries) {
    GetHostOps().pfnSleep(1);
    ids = GetSysPsIdList(name);
  }
  if (ids != nullptr) {
    PutMem(ids);
  } else {
    PutLogMsg("ERROR: Time out for command %s\n", name);
  }
}

}  // namespace

unsigned char FillCmdPaths(char* dir) {
  char* list = GetDirFileList(dir);
  if (list == nullptr) return 1;
  unsigned char open = 0;
  for (int i = kFirstCmd; ComList[i].pName != nullptr && ComList[i].pName[0] != '\0'; ++i) {
    if (ComList[i].pPath == nullptr && FindToken(ComList[i].pName, list) != 0) ComList[i].pPath = dir;
    if (ComList[i].pPath == nullptr) open = 1;
  }
  PutMem(list);
  return open;
}

unsigned char FillCmdPath(int index) {
  if (!IsCmdRow(index)) return 0;
  if (FullSearchPath == nullptr) BuildFullSearchPath();
  for (const char* dir = FullSearchPath; *dir != '\0';) {
    size_t n = std::strcspn(dir, ":");
    char candidate[kCmdLineSize];
    if (n > 0 && n < sizeof candidate && dir[0] == '/') {
      std::memcpy(candidate, dir, n);
      candidate[n] = '\0';
      if (FindFile(candidate, ComList[index].pName)) {
        ComList[index].pPath = SaveText(candidate);
        return 1;
      }
    }
    dir += n;
    if (*dir == ':') ++dir;
  }
  return 0;
}

void InitSysCmdList() {
  flInitSysCmd = 0;
  char* path = GetEnv("PATH");
  FullSearchPath = SaveStr("%s:%s", kSystemDirs, path ? path : "");
  CopyText(SearchPaths, sizeof SearchPaths, kSystemDirs);
  // The PATH copy is cut in place too and stays allocated: rows point into it.
  ListedDirs listed;
  if (FillFromList(SearchPaths, listed) && path != nullptr) FillFromList(path, listed);

  const SysCmdEntry& sh = ComList[kCmdSh];
  if (sh.pPath != nullptr) putenv(SaveStr("SHELL=%s/%s ", sh.pPath, sh.pName));

  flSysCmdLog = flUseLog ? 1 : 0;
  if (flUseLog) PutLogMsg("initializing system\n");
}

unsigned char TestCmd(int index) {
  if (!IsCmdRow(index)) return 0;
  LazyResolve(index);
  return ComList[index].pPath != nullptr ? 1 : 0;
}

char* GetCmd(int index) {
  if (!IsCmdRow(index)) return nullptr;
  LazyResolve(index);
  const SysCmdEntry& row = ComList[index];
  if (row.pPath == nullptr) return nullptr;
  return SaveStr("%s/%s %s", row.pPath, row.pName, row.pFlags);
}

int SysCmd(int index, int severity, const char* format, ...) {
  bool logged = index > 0;
  if (index < 0 && index > -kEndRow) index = -index;
  RequireRow(index);

  CmdLine line;
  size_t commandStart = 0;
  if (index >= kFirstCmd) {
    RequireRow(kCmdSh);
    const SysCmdEntry& sh = ComList[kCmdSh];
    const SysCmdEntry& row = ComList[index];
    line.Append("%s/%s -c \"", sh.pPath, sh.pName);
    commandStart = line.len;
    line.Append("%s/%s %s ", row.pPath, row.pName, row.pFlags);
  }
  va_list args;
  va_start(args, format);
  line.AppendV(format, args);
  va_end(args);
  size_t shownLen = line.len;

  bool toLog = logged && (severity == kSevWarning || severity == kSevFatal);
  if (severity == kSevSilent) {
    line.Append(" 1>/dev/null 2>/dev/null");
  } else if (toLog) {
    if (flUseLog && JudgeShellWord(my_name) == kShellPlain) {
      line.Append(" 1>>%s/%s.log 2>>%s/%s.log", pLogPath, my_name, pLogPath, my_name);
    } else {
      line.Append(" 1>>/dev/null 2>>/dev/null");
    }
  }
  if (index >= kFirstCmd) line.Append("\"");

  char name[256];
  CommandName(index, line, name, sizeof name);
  if (line.cut) {
    ReportFailure(severity, name, Outcome{UtilText::kLineTooLong});
    return -1;
  }

  if (toLog && flSysCmdLog) {
    std::fputs(".", stdout);
    std::fflush(stdout);
    PutLogMsg("%.*s\n", static_cast<int>(shownLen), line.text);
  }

  int status = GetHostOps().pfnSystem(line.text);
  int errnum = errno;
  Outcome what;
  int result = status == 0 ? 0 : JudgeStatus(status, errnum, &what);
  if (result != 0)
    ReportFailure(severity, name, what, line.text + commandStart, static_cast<int>(shownLen - commandStart));

  if (index >= kFirstCmd) {
    int delay = ComList[index].Delay;
    if (delay == -1) {
      WaitForProcess(ComList[index].pName);
    } else if (delay > 0) {
      GetHostOps().pfnSleep(static_cast<unsigned>(delay));
    }
  }
  return result;
}

ResponseNode* GetCmdResponse(int index, const char* pattern, const char* format, ...) {
  RequireRow(index);

  CmdLine line;
  if (index >= kFirstCmd) {
    const SysCmdEntry& row = ComList[index];
    line.Append("%s/%s %s ", row.pPath, row.pName, row.pFlags);
  }
  va_list args;
  va_start(args, format);
  line.AppendV(format, args);
  va_end(args);
  if (line.cut) {
    char name[256];
    CommandName(index, line, name, sizeof name);
    PutLogMsg("WARNING_MSG: %s: command line too long\n", name);
    return nullptr;
  }

  FILE* pipe = GetHostOps().pfnPopen(line.text);
  if (pipe == nullptr) return nullptr;
  bool filter = pattern != nullptr && pattern[0] != '\0';
  ResponseNode* head = nullptr;
  ResponseNode** tail = &head;
  char buf[kCmdLineSize];
  while (std::fgets(buf, sizeof buf, pipe) != nullptr) {
    if (filter && std::strstr(buf, pattern) == nullptr) continue;
    size_t n = std::strlen(buf);
    auto* node = static_cast<ResponseNode*>(GetMem(sizeof(ResponseNode) + n + 1));
    if (node == nullptr) continue;
    node->pNext = nullptr;
    node->pText = reinterpret_cast<char*>(node + 1);
    std::memcpy(node->pText, buf, n + 1);
    *tail = node;
    tail = &node->pNext;
  }
  GetHostOps().pfnPclose(pipe);
  return head;
}

void FreeResponseList(ResponseNode* list) {
  while (list != nullptr) {
    ResponseNode* next = list->pNext;
    PutMem(list);
    list = next;
  }
}
