// Tests of the command runner: the shell line it builds, its redirections
// and log, how failures are judged, the lines it refuses, the rows'
// settling delays and the reading of a command's output.
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

std::vector<std::string> Texts(ResponseNode* list) {
  std::vector<std::string> out;
  for (ResponseNode* n = list; n != nullptr; n = n->pNext) out.emplace_back(n->pText);
  return out;
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

