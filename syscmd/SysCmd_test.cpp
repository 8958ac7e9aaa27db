#include "SysCmd.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "test_support.h"
#include "utils.h"

namespace {

constexpr char kSystemDirs[] = "/usr/sbin:/usr/bin:/bin:/sbin:/etc:/usr/etc";

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// First of the system directories that holds name, or "" when none does.
std::string FirstSystemDirWith(const std::string& name) {
  for (const char* dir : {"/usr/sbin", "/usr/bin", "/bin", "/sbin", "/etc", "/usr/etc"}) {
    if (Exists(std::string(dir) + "/" + name)) return dir;
  }
  return "";
}

std::vector<std::string> Texts(ResponseNode* list) {
  std::vector<std::string> out;
  for (ResponseNode* n = list; n != nullptr; n = n->pNext) out.emplace_back(n->pText);
  return out;
}

// ---------------------------------------------------------------------------
// The table.

TEST(ComListTest, RowsHoldTheirNamesFlagsAndDelays) {
  struct Row {
    int index;
    const char* name;
    const char* flags;
    int delay;
  };
  const Row rows[] = {
      {0, "", "", 0},          {1, "", "", 0},          {2, "cancel", "", 2},
      {3, "cat", "", 0},       {5, "chmod", "", 0},     {9, "cp", "-p", 0},
      {10, "cp", "-pr", 0},    {11, "cupsd", "", 0},    {14, "eject", "-f", 1},
      {15, "eject", "-q", 1},  {19, "lpc", "", 1},      {22, "lpstat", "", 1},
      {24, "kill", "-KILL", 0}, {25, "mv", "-f", 0},    {26, "mkdir", "-p", 0},
      {29, "rm", "-f", 0},     {30, "rm", "-rf", 0},    {31, "sh", "", 0},
      {33, "tar", "cvfp", 0},  {34, "tar", "xvfp", 0},  {37, "whoami", "", 0},
      {41, "du", "-s", 0},     {43, "lpd", "", 0},      {44, "pkgadd", "", 1},
      {55, "ps", "-ace", 0},   {57, "df", "", 0},       {58, "lpq", "-P", 0},
      {66, "instnetpr", "", 1}, {69, "piomisc_base", "", 0}, {79, "startsrc", "", 1},
      {80, "stopsrc", "", 0},  {81, "lssrc", "", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.index);
    EXPECT_STREQ(ComList[r.index].pName, r.name);
    EXPECT_STREQ(ComList[r.index].pFlags, r.flags);
    EXPECT_EQ(ComList[r.index].Delay, r.delay);
  }
  EXPECT_EQ(ComList[82].pName, nullptr);
}

TEST(ComListTest, DelaysAndNamedRowsAreConsistent) {
  int ones = 0, twos = 0, others = 0;
  for (int i = 2; i < 82; ++i) {
    ASSERT_NE(ComList[i].pName, nullptr) << i;
    EXPECT_STRNE(ComList[i].pName, "") << i;
    switch (ComList[i].Delay) {
      case 0: break;
      case 1: ++ones; break;
      case 2: ++twos; break;
      default: ++others;
    }
  }
  EXPECT_EQ(ones, 21);
  EXPECT_EQ(twos, 1);
  EXPECT_EQ(others, 0);
  const std::pair<int, const char*> named[] = {
      {kCmdCat, "cat"},     {kCmdChgrp, "chgrp"}, {kCmdChmod, "chmod"}, {kCmdChown, "chown"},
      {kCmdCupsd, "cupsd"}, {kCmdCp, "cp"},       {kCmdCpR, "cp"},      {kCmdLn, "ln"},
      {kCmdMv, "mv"},       {kCmdMkdir, "mkdir"}, {kCmdRm, "rm"},       {kCmdRmR, "rm"},
      {kCmdSh, "sh"},       {kCmdTarX, "tar"},    {kCmdTouch, "touch"}, {kCmdUncompress, "uncompress"},
      {kCmdWhoami, "whoami"}, {kCmdSed, "sed"},   {kCmdDu, "du"},       {kCmdLpd, "lpd"},
      {kCmdPs, "ps"},       {kCmdDf, "df"},
  };
  for (const auto& [row, name] : named) EXPECT_STREQ(ComList[row].pName, name) << row;
}

// ---------------------------------------------------------------------------
// Resolution.

class ResolveTest : public testing::Test {
 protected:
  void SetUp() override { table.Clear(); }
  ComListScope table;
  ScratchDir dir;
};

TEST_F(ResolveTest, SystemDirectoriesComeBeforePath) {
  dir.Write("chmod", "");
  dir.Write("lsallq", "");
  setenv("PATH", dir.path().c_str(), 1);
  InitSysCmdList();

  EXPECT_EQ(flInitSysCmd, 0);
  EXPECT_STREQ(FullSearchPath, (std::string(kSystemDirs) + ":" + dir.path()).c_str());
  std::string chmodDir = FirstSystemDirWith("chmod");
  ASSERT_FALSE(chmodDir.empty());
  EXPECT_STREQ(ComList[kCmdChmod].pPath, chmodDir.c_str());
  EXPECT_STREQ(ComList[70].pPath, dir.path().c_str());  // lsallq: only in PATH
  // Rows that share a name resolve together.
  EXPECT_STREQ(ComList[kCmdRm].pPath, ComList[kCmdRmR].pPath);
  EXPECT_STREQ(ComList[kCmdCp].pPath, ComList[kCmdCpR].pPath);
  if (FirstSystemDirWith("piomkpq").empty()) {
    EXPECT_EQ(ComList[67].pPath, nullptr);
  }
}

// A directory met again under another name (a link) or the same one is not
// listed again, and the rows keep the name under which they were found.
TEST_F(ResolveTest, ADirectoryMetAgainKeepsTheNameItWasFirstFoundUnder) {
  if (!FirstSystemDirWith("lsallq").empty() || !FirstSystemDirWith("mkque").empty())
    GTEST_SKIP() << "lsallq or mkque is installed here";
  dir.Write("a/lsallq", "");
  dir.Write("b/mkque", "");
  ASSERT_EQ(symlink(dir.File("a").c_str(), dir.File("link").c_str()), 0);
  const std::string path = dir.File("link") + ":" + dir.File("a") + ":" + dir.File("link") + ":" + dir.File("b");
  setenv("PATH", path.c_str(), 1);
  InitSysCmdList();
  EXPECT_STREQ(ComList[70].pPath, dir.File("link").c_str());  // lsallq
  EXPECT_STREQ(ComList[71].pPath, dir.File("b").c_str());     // mkque, after the repeats
}

TEST_F(ResolveTest, WithoutPathOnlyTheSystemDirectoriesAreSearched) {
  unsetenv("PATH");
  InitSysCmdList();
  EXPECT_STREQ(FullSearchPath, (std::string(kSystemDirs) + ":").c_str());
  EXPECT_NE(ComList[kCmdSh].pPath, nullptr);
  if (FirstSystemDirWith("lsallq").empty()) {
    EXPECT_EQ(ComList[70].pPath, nullptr);
  }
}

TEST_F(ResolveTest, RelativeAndEmptyPathEntriesAreNotSearched) {
  if (!FirstSystemDirWith("lsallq").empty()) GTEST_SKIP() << "lsallq is installed here";
  dir.Write("tools/lsallq", "");
  char* cwd = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  setenv("PATH", "tools::.", 1);
  InitSysCmdList();
  EXPECT_EQ(ComList[70].pPath, nullptr);
  // The lazy lookup skips them too.
  table.Clear();
  EXPECT_EQ(TestCmd(70), 0);
  ASSERT_EQ(chdir(cwd), 0);
  std::free(cwd);
}

TEST_F(ResolveTest, ShellIsTheShellPathFollowedByABlank) {
  InitSysCmdList();
  ASSERT_NE(ComList[kCmdSh].pPath, nullptr);
  const char* shell = std::getenv("SHELL");
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(std::string(shell), CmdPath(kCmdSh) + " ");
}

TEST_F(ResolveTest, InitialisationStartsTheLog) {
  LogScope log;
  std::string old = "left from an earlier run\n";
  {
    FILE* f = std::fopen(log.path().c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs(old.c_str(), f);
    std::fclose(f);
  }
  InitSysCmdList();
  EXPECT_EQ(log.Read(), "initializing system\n");
  EXPECT_EQ(flSysCmdLog, 1);
}

TEST_F(ResolveTest, WithLoggingOffNothingIsLogged) {
  LogScope log;
  flUseLog = 0;
  InitSysCmdList();
  EXPECT_FALSE(Exists(log.path()));
  EXPECT_EQ(flSysCmdLog, 0);
}

TEST_F(ResolveTest, FillCmdPathsKeepsTheDirectoryPointer) {
  flInitSysCmd = 0;
  dir.Write("lsallq", "");
  ASSERT_EQ(mkdir(dir.File("ypcat").c_str(), 0755), 0);  // any kind of entry counts
  std::string text = dir.path();
  EXPECT_EQ(FillCmdPaths(text.data()), 1);  // most rows are still open
  EXPECT_EQ(ComList[70].pPath, text.data());
  EXPECT_EQ(ComList[59].pPath, text.data());
  EXPECT_EQ(ComList[kCmdChmod].pPath, nullptr);

  std::string missing = dir.File("missing");
  EXPECT_EQ(FillCmdPaths(missing.data()), 1);

  // Once every row has a directory the walk can stop.
  static char elsewhere[] = "/elsewhere";
  for (int i = 2; i < 82; ++i)
    if (ComList[i].pPath == nullptr) ComList[i].pPath = elsewhere;
  ComList[70].pPath = nullptr;
  EXPECT_EQ(FillCmdPaths(text.data()), 0);
}

TEST_F(ResolveTest, BeforeInitialisationRowsResolveOneAtATime) {
  dir.Write("lsallq", "");
  setenv("PATH", dir.path().c_str(), 1);
  EXPECT_EQ(TestCmd(70), 1);
  EXPECT_STREQ(ComList[70].pPath, dir.path().c_str());
  EXPECT_NE(FullSearchPath, nullptr);
  EXPECT_EQ(ComList[kCmdChmod].pPath, nullptr);  // only the row asked for

  EXPECT_EQ(TestCmd(0), 0);
  EXPECT_EQ(TestCmd(1), 0);
  EXPECT_EQ(TestCmd(82), 0);
  EXPECT_EQ(TestCmd(-5), 0);
}

TEST_F(ResolveTest, AfterInitialisationAnUnresolvedRowStaysSo) {
  dir.Write("lsallq", "");
  setenv("PATH", dir.path().c_str(), 1);
  flInitSysCmd = 0;
  EXPECT_EQ(TestCmd(70), 0);
}

// ---------------------------------------------------------------------------
// The runner.

class SysCmdTest : public testing::Test {
 protected:
  void SetUp() override { table.ResolveFromHost(); }
  ComListScope table;
};

TEST_F(SysCmdTest, BuildsTheShellLine) {
  HostRecorder host;
  EXPECT_EQ(SysCmd(kCmdChmod, 0, "755 %s", "/tmp/x"), 0);
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], CmdPath(kCmdSh) + " -c \"" + CmdPath(kCmdChmod) +
                               "  755 /tmp/x 1>/dev/null 2>/dev/null\"");
  EXPECT_TRUE(host.sleeps.empty());
}

TEST_F(SysCmdTest, BuildsTheLineWithTheRowsDirectories) {
  table.SetPath(kCmdSh, "/bin");
  table.SetPath(kCmdChmod, "/bin");
  HostRecorder host;
  SysCmd(kCmdChmod, 0, "755 /tmp/x");
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], "/bin/sh -c \"/bin/chmod  755 /tmp/x 1>/dev/null 2>/dev/null\"");
}

TEST_F(SysCmdTest, RedirectsDotsAndLogsBySeverityAndIndex) {
  LogScope log;
  flSysCmdLog = 1;
  struct Case {
    int index;
    int severity;
    const char* args;
    std::string line;    // what runs
    std::string logged;  // what the log gets
    const char* dots;
  };
  const std::string toLog = LogRedirection();
  const Case cases[] = {
      {kCmdCp, 1, "a b", ShellLine(kCmdCp, "a b", toLog),
       CmdPath(kCmdSh) + " -c \"" + CmdPath(kCmdCp) + " -p a b\n", "."},
      {kCmdCp, 2, "a b", ShellLine(kCmdCp, "a b", toLog),
       CmdPath(kCmdSh) + " -c \"" + CmdPath(kCmdCp) + " -p a b\n", "."},
      {kCmdCp, 0, "a b", ShellLine(kCmdCp, "a b", kDiscard), "", ""},
      {kCmdCp, 3, "a b", ShellLine(kCmdCp, "a b", ""), "", ""},
      {-kCmdCat, 2, "a >> b", ShellLine(kCmdCat, "a >> b", ""), "", ""},
      {-kCmdCat, 0, "a", ShellLine(kCmdCat, "a", kDiscard), "", ""},
      {0, 0, "echo hi", std::string("echo hi") + kDiscard, "", ""},
      {0, 1, "echo hi", "echo hi", "", ""},
      {1, 1, "echo hi", "echo hi" + toLog, "echo hi\n", "."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    unlink(log.path().c_str());
    HostRecorder host;
    testing::internal::CaptureStdout();
    EXPECT_EQ(SysCmd(c.index, c.severity, "%s", c.args), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.dots);
    ASSERT_EQ(host.lines.size(), 1u);
    EXPECT_EQ(host.lines[0], c.line);
    EXPECT_EQ(log.Read(), c.logged);
  }
}

TEST_F(SysCmdTest, WithoutTheLogOutputIsDiscardedAndNothingDotted) {
  LogScope log;
  flUseLog = 0;
  HostRecorder host;
  testing::internal::CaptureStdout();
  SysCmd(kCmdChmod, 1, "644 f");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], ShellLine(kCmdChmod, "644 f", " 1>>/dev/null 2>>/dev/null"));
}

TEST_F(SysCmdTest, AProgramNameTheShellWouldReadIsNotPutOnTheLine) {
  LogScope log;
  char odd[] = "set\"up;x";
  my_name = odd;
  HostRecorder host;
  SysCmd(kCmdChmod, 1, "644 f");
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], ShellLine(kCmdChmod, "644 f", " 1>>/dev/null 2>>/dev/null"));
}

TEST_F(SysCmdTest, PercentSignsInArgumentsStayAsTheyAre) {
  HostRecorder host;
  SysCmd(kCmdTouch, 0, "%s", "/tmp/50%d");
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], ShellLine(kCmdTouch, "/tmp/50%d", kDiscard));
}

// ---------------------------------------------------------------------------
// Failures are judged by the exit status.

TEST_F(SysCmdTest, AFailedCommandIsReportedBySeverity) {
  LogScope log;
  struct Case {
    int severity;
    std::string logged;
  };
  const Case cases[] = {
      {0, ""},
      {1, "WARNING_MSG: chmod: exit status 3\n"},
      {3, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.severity);
    unlink(log.path().c_str());
    HostRecorder host;
    host.exitStatuses = {3};
    EXPECT_EQ(SysCmd(kCmdChmod, c.severity, "644 f"), 3);
    EXPECT_EQ(log.Read(), c.logged);
  }
}

TEST_F(SysCmdTest, AFatalCommandThatFailsEndsTheRunWithStatusOne) {
  LogScope log;
  flSysCmdLog = 1;
  ScratchDir dir;
  const std::string out = dir.File("stdout");
  EXPECT_EXIT(
      {
        HostRecorder host;
        host.exitStatuses = {1};
        if (std::freopen(out.c_str(), "w", stdout) == nullptr) std::_Exit(99);
        SysCmd(kCmdChmod, 2, "755 /nonexistent");
        std::_Exit(98);
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EQ(ReadWholeFile(out), ".ERROR: chmod: exit status 1\n");
  const std::string logged = log.Read();
  EXPECT_NE(logged.find("ERROR: chmod: exit status 1\n"), std::string::npos) << logged;
}

TEST_F(SysCmdTest, AnUnloggedFatalCommandStillEndsTheRun) {
  LogScope log;
  flSysCmdLog = 1;
  EXPECT_EXIT(
      {
        HostRecorder host;
        host.exitStatuses = {1};
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(99);
        SysCmd(-kCmdCat, 2, "a >> b");
        std::_Exit(98);
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EQ(log.Read(), "ERROR: cat: exit status 1\n");  // no command line logged
}

int KilledBySignal(const char*) { return SIGKILL; }  // wait status of a kill -9
int CannotStart(const char*) {
  errno = EAGAIN;
  return -1;
}

TEST_F(SysCmdTest, SignalsAndCommandsThatCannotStartAreFailures) {
  LogScope log;
  HostOps ops = RealHostOps();
  ops.pfnSystem = KilledBySignal;
  HostOps saved = SetHostOps(ops);
  EXPECT_EQ(SysCmd(kCmdChmod, 1, "644 f"), 128 + SIGKILL);
  ops.pfnSystem = CannotStart;
  SetHostOps(ops);
  EXPECT_EQ(SysCmd(kCmdChmod, 1, "644 f"), -1);
  SetHostOps(saved);
  EXPECT_EQ(log.Read(), "WARNING_MSG: chmod: killed by signal 9\n"
                        "WARNING_MSG: chmod: could not be started (" +
                            std::string(std::strerror(EAGAIN)) + ")\n");
}

TEST_F(SysCmdTest, AFreeCommandLineIsNamedByItsFirstWord) {
  LogScope log;
  HostRecorder host;
  host.exitStatuses = {1};
  EXPECT_EQ(SysCmd(1, 1, "false now"), 1);
  EXPECT_EQ(log.Read(), "WARNING_MSG: false: exit status 1\n");
}

TEST_F(SysCmdTest, ACommandMissingOnTheHostEndsTheRunWithStatusOne) {
  ComList[44].pPath = nullptr;  // pkgadd
  EXPECT_EXIT(SysCmd(44, 0, "x"), testing::ExitedWithCode(1),
              "^ERROR: unable to locate system command 'pkgadd'\n$");
  EXPECT_EXIT(GetCmdResponse(44, "", "x"), testing::ExitedWithCode(1),
              "^ERROR: unable to locate system command 'pkgadd'\n$");
  EXPECT_EXIT(SysCmd(90, 0, "x"), testing::ExitedWithCode(1), "system command '90'");
  EXPECT_EXIT(SysCmd(-90, 0, "x"), testing::ExitedWithCode(1), "system command '-90'");
  EXPECT_EXIT(GetCmdResponse(-3, "", "x"), testing::ExitedWithCode(1), "system command '-3'");
  ComList[kCmdSh].pPath = nullptr;
  EXPECT_EXIT(SysCmd(kCmdChmod, 0, "x"), testing::ExitedWithCode(1), "system command 'sh'");
}

// ---------------------------------------------------------------------------
// Lines that do not fit are never run.

TEST_F(SysCmdTest, ALineOfExactlyTheLimitRunsAndOneMoreIsRefused) {
  const size_t base = ShellLine(kCmdRmR, "", kDiscard).size();
  ASSERT_LT(base, static_cast<size_t>(kCmdLineSize));
  const std::string fits(kCmdLineSize - 1 - base, 'a');
  {
    HostRecorder host;
    EXPECT_EQ(SysCmd(kCmdRmR, 0, "%s", fits.c_str()), 0);
    ASSERT_EQ(host.lines.size(), 1u);
    EXPECT_EQ(host.lines[0].size(), static_cast<size_t>(kCmdLineSize - 1));
  }
  {
    HostRecorder host;
    EXPECT_NE(SysCmd(kCmdRmR, 0, "%s", (fits + "a").c_str()), 0);
    EXPECT_TRUE(host.lines.empty());
  }
}

TEST_F(SysCmdTest, ARefusedLineIsAFailureUnderTheSeverityRules) {
  LogScope log;
  flSysCmdLog = 1;
  const std::string huge(5000, 'x');
  {
    HostRecorder host;
    testing::internal::CaptureStdout();
    EXPECT_NE(SysCmd(kCmdRmR, 1, "/tmp/%s", huge.c_str()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(host.lines.empty());
    EXPECT_EQ(log.Read(), "WARNING_MSG: rm: command line too long\n");
  }
  EXPECT_EXIT(
      {
        HostRecorder host;
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(99);
        SysCmd(kCmdRmR, 2, "/tmp/%s", huge.c_str());
        std::_Exit(host.lines.empty() ? 98 : 97);
      },
      testing::ExitedWithCode(1), "");
  {
    HostRecorder host;
    EXPECT_EQ(GetCmdResponse(kCmdPs, "", "%s", huge.c_str()), nullptr);
    EXPECT_TRUE(host.pipeLines.empty());
  }
}

// ---------------------------------------------------------------------------
// Settling delays.

TEST_F(SysCmdTest, RowsSleepTheirDelayAfterEachRunFailedOrNot) {
  table.SetPath(2, "/opt/lp/bin");   // cancel
  table.SetPath(22, "/opt/lp/bin");  // lpstat
  struct Case {
    int row;
    int status;
    std::vector<unsigned> sleeps;
  };
  const Case cases[] = {
      {2, 0, {2}}, {22, 0, {1}}, {22, 1, {1}}, {kCmdChmod, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    HostRecorder host;
    host.exitStatuses = {c.status};
    SysCmd(c.row, 0, "x");
    EXPECT_EQ(host.sleeps, c.sleeps);
  }
}

TEST_F(SysCmdTest, WaitingForAProcessGivesUpAfterTenRetries) {
  LogScope log;
  ComList[kCmdChmod].Delay = -1;
  HostRecorder host;
  EXPECT_EQ(SysCmd(kCmdChmod, 0, "x"), 0);
  EXPECT_EQ(host.pipeLines, std::vector<std::string>(11, CmdPath(kCmdPs) + " -ace "));
  EXPECT_EQ(host.sleeps, std::vector<unsigned>(10, 1));
  EXPECT_EQ(log.Read(), "ERROR: Time out for command chmod\n");
}

TEST_F(SysCmdTest, WaitingForAProcessEndsWhenItAppears) {
  LogScope log;
  ComList[kCmdChmod].Delay = -1;
  HostRecorder host;
  host.pipeOutputs = {"", "", "  PID CLS PRI TTY          TIME CMD\n 4242 TS   19 ?        00:00:00 chmod\n"};
  SysCmd(kCmdChmod, 0, "x");
  EXPECT_EQ(host.pipeLines.size(), 3u);
  EXPECT_EQ(host.sleeps, (std::vector<unsigned>{1, 1}));
  EXPECT_EQ(log.Read(), "");
}

// ---------------------------------------------------------------------------
// Reading a command's output.

constexpr char kPsOutput[] =
    "    PID CLS PRI TTY          TIME CMD\n"
    "      1 TS   19 ?        00:00:01 init\n"
    "    212 TS   19 ?        00:00:00 lpd\n"
    "    300 TS   19 ?        00:00:00 lpd.old\n"
    "   1045 TS   19 pts/0    00:00:00 lpd\n";

TEST_F(SysCmdTest, ResponsesKeepTheMatchingLinesInOrder) {
  HostRecorder host;
  host.pipeOutputs = {kPsOutput};
  ResponseNode* list = GetCmdResponse(kCmdPs, "lpd", "%s", "");
  ASSERT_EQ(host.pipeLines.size(), 1u);
  EXPECT_EQ(host.pipeLines[0], CmdPath(kCmdPs) + " -ace ");
  EXPECT_EQ(Texts(list), (std::vector<std::string>{
                             "    212 TS   19 ?        00:00:00 lpd\n",
                             "    300 TS   19 ?        00:00:00 lpd.old\n",
                             "   1045 TS   19 pts/0    00:00:00 lpd\n",
                         }));
  for (ResponseNode* n = list; n != nullptr; n = n->pNext)
    EXPECT_EQ(n->pText, reinterpret_cast<char*>(n + 1));  // text in the node's block
  FreeResponseList(list);
}

TEST_F(SysCmdTest, ResponsesWithoutPatternKeepEveryLine) {
  const std::string longLine(5000, 'z');
  for (const char* pattern : {static_cast<const char*>(nullptr), ""}) {
    HostRecorder host;
    host.pipeOutputs = {"one\ntwo\n" + longLine + "\nlast"};
    ResponseNode* list = GetCmdResponse(0, pattern, "echo %d", 5);
    EXPECT_EQ(host.pipeLines, std::vector<std::string>{"echo 5"});
    std::vector<std::string> texts = Texts(list);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[0], "one\n");
    EXPECT_EQ(texts[2], longLine.substr(0, kCmdLineSize - 1));  // read in pieces
    EXPECT_EQ(texts[3], longLine.substr(kCmdLineSize - 1) + "\n");
    EXPECT_EQ(texts[4], "last");
    FreeResponseList(list);
  }
  FreeResponseList(nullptr);
}

FILE* NoPipe(const char*) { return nullptr; }

TEST_F(SysCmdTest, APipeThatCannotBeOpenedGivesNoResponse) {
  HostOps ops = RealHostOps();
  ops.pfnPopen = NoPipe;
  HostOps saved = SetHostOps(ops);
  EXPECT_EQ(GetCmdResponse(kCmdPs, "", "%s", ""), nullptr);
  SetHostOps(saved);
}

TEST_F(SysCmdTest, GetCmdGivesTheCommandText) {
  char* chmod = GetCmd(kCmdChmod);
  EXPECT_EQ(std::string(chmod), CmdPath(kCmdChmod) + " ");
  PutMem(chmod);
  char* cp = GetCmd(kCmdCpR);
  EXPECT_EQ(std::string(cp), CmdPath(kCmdCpR) + " -pr");
  PutMem(cp);
  ComList[44].pPath = nullptr;
  EXPECT_EQ(GetCmd(44), nullptr);
  EXPECT_EQ(GetCmd(0), nullptr);
  EXPECT_EQ(GetCmd(82), nullptr);
}

// The real seam runs real commands: a real exit status is what SysCmd judges.
TEST_F(SysCmdTest, TheRealHostIsJudgedByExitStatus) {
  ScratchDir dir;
  std::string file = dir.Write("f", "");
  EXPECT_EQ(SysCmd(kCmdChmod, 0, "600 %s", file.c_str()), 0);
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_NE(SysCmd(kCmdChmod, 0, "600 %s", dir.File("missing").c_str()), 0);
  EXPECT_EQ(SysCmd(0, 0, "exit 7"), 7);
}

}  // namespace
