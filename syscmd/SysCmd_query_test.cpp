#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemMgr.h"
#include "SysCmd.h"
#include "test_support.h"

namespace {

class QueryTest : public testing::Test {
 protected:
  void SetUp() override { table.ResolveFromHost(); }
  ComListScope table;
  HostRecorder host;
};


TEST_F(QueryTest, ProcessIdsOfExactlyThatCommandName) {
  host.pipeOutputs = {Ps({{1, "init"}, {212, "lpd"}, {300, "lpd.old"}, {1045, "lpd"}, {77, "xlpd"}})};
  EXPECT_EQ(Take(GetSysPsIdList("lpd")), " 212 1045 ");
  ASSERT_EQ(host.pipeLines.size(), 1u);
  EXPECT_EQ(host.pipeLines[0], CmdPath(kCmdPs) + " -ace ");
}

TEST_F(QueryTest, NoProcessGivesNull) {
  host.pipeOutputs = {Ps({{1, "init"}, {300, "lpd.old"}}), "", "lpd\n212 lpd\n"};
  EXPECT_EQ(GetSysPsIdList("lpd"), nullptr);
  EXPECT_EQ(GetSysPsIdList("lpd"), nullptr);  // no output at all
  EXPECT_EQ(GetSysPsIdList("lpd"), nullptr);  // lines of fewer than six words
}

TEST_F(QueryTest, RunningProgramsAreReportedOneLineEach) {
  host.pipeOutputs = {Ps({{1, "init"}}), Ps({{77, "vpqadmin"}, {78, "vpqadmin"}})};
  EXPECT_EQ(Take(CheckProcTableForExecs("VPrintD,vpqadmin")), "vpqadmin ( 77 78 )\n");

  host.pipeOutputs = {Ps({{5, "VPrintD"}}), Ps({{77, "vpqadmin"}})};
  EXPECT_EQ(Take(CheckProcTableForExecs("VPrintD,vpqadmin")), "VPrintD ( 5 )\nvpqadmin ( 77 )\n");

  host.pipeLines.clear();
  EXPECT_EQ(CheckProcTableForExecs(",,VPrintD,"), nullptr);
  EXPECT_EQ(host.pipeLines.size(), 1u);  // empty items are not asked for
}

TEST_F(QueryTest, ALongReportKeepsWholeLinesOnly) {
  std::vector<std::pair<int, std::string>> many;
  for (int pid = 10000; pid < 10060; ++pid) many.emplace_back(pid, "VPrintD");
  std::string names;
  for (int i = 0; i < 5; ++i) {
    host.pipeOutputs.push_back(Ps(many));
    names += "VPrintD,";
  }
  std::string report = Take(CheckProcTableForExecs(names.c_str()));
  EXPECT_LE(report.size(), 1023u);
  EXPECT_EQ(report.back(), '\n');
  EXPECT_EQ(report.find("VPrintD ( 10000"), 0u);
}

struct DfCase {
  const char* what;
  std::string output;
  unsigned char result;
  double avail;
  std::string line;
};

TEST_F(QueryTest, FreeSpaceIsTheAvailColumnOfTheFirstDataLine) {
  const std::string linuxLine = "/dev/vda       264212084 16586960  83750228  17% /\n";
  const DfCase cases[] = {
      {"procps df", "Filesystem     1K-blocks     Used Available Use% Mounted on\n" + linuxLine, 1,
       83750228, linuxLine},
      {"posix df", "Filesystem 1024-blocks Used Available Capacity Mounted on\n/dev/sda1 100 60 40 60% /opt\n",
       1, 40, "/dev/sda1 100 60 40 60% /opt\n"},
      {"short header word", "Filesystem Size Used Avail Use% Mounted on\n/dev/vda 252G 16G 80G 17% /\n", 1,
       80, "/dev/vda 252G 16G 80G 17% /\n"},
      {"lower case", "fs blocks avail\nx 1 2.5\n", 1, 2.5, "x 1 2.5\n"},
      {"no avail column", "Filesystem 1K-blocks Used Free\n/dev/vda 1 2 3\n", 0, 0, ""},
      {"too short a word", "Filesystem av\n/dev/vda 1\n", 0, 0, ""},
      {"header only", "Filesystem     1K-blocks     Used Available Use% Mounted on\n", 1, 0, ""},
      {"no output", "", 0, 0, ""},
      {"wrapped data line", "Filesystem 1K-blocks Used Available Use% Mounted on\n/dev/mapper/long\n 10 5 4 50% /\n",
       0, 0, "/dev/mapper/long\n"},
  };
  for (const DfCase& c : cases) {
    SCOPED_TRACE(c.what);
    host.pipeOutputs = {c.output};
    host.pipeLines.clear();
    DiskSpaceInfo info;
    info.Avail = -1;
    EXPECT_EQ(GetDiskSpace("/opt", &info), c.result);
    EXPECT_EQ(info.Avail, c.avail);
    EXPECT_EQ(info.szDfLine, c.line);
    EXPECT_EQ(host.pipeLines, std::vector<std::string>{CmdPath(kCmdDf) + "  /opt"});
  }
}

TEST_F(QueryTest, ALongDfLineIsKeptUpTo511Characters) {
  std::string line = "/dev/" + std::string(600, 'n') + " 1 2 3 4% /\n";
  host.pipeOutputs = {"Filesystem 1K-blocks Used Available Use% Mounted on\n" + line};
  DiskSpaceInfo info;
  EXPECT_EQ(GetDiskSpace("/", &info), 1);
  EXPECT_EQ(std::string(info.szDfLine), line.substr(0, 511));
  EXPECT_EQ(info.Avail, 3);
}

TEST_F(QueryTest, DirectorySizeIsTheLeadingNumberOfDu) {
  host.pipeOutputs = {"123456\t/opt/Vexla\n", ""};
  EXPECT_EQ(DUPath("/opt/Vexla"), 123456);
  EXPECT_EQ(DUPath("/missing"), 0);
  EXPECT_EQ(host.pipeLines[0], CmdPath(kCmdDu) + " -s /opt/Vexla");
}

}  // namespace
