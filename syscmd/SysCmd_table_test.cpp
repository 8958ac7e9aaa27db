// Tests of the host command table: its rows, and how each row is resolved
// to a directory of this host (system directories before PATH, the shell,
// the log started at initialisation).
#include "SysCmd.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace
