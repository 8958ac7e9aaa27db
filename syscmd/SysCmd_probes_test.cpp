#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "MemMgr.h"
#include "SysCmd.h"
#include "test_support.h"

namespace {

class ProbeTest : public testing::Test {
 protected:
  void SetUp() override { table.ResolveFromHost(); }
  ComListScope table;
};

TEST_F(ProbeTest, UserNameIsTheFirstLineOfWhoami) {
  const std::pair<std::string, std::string> cases[] = {
      {"root\n", "root"}, {"admin\r\nmore\n", "admin"}, {"", "(null)"}, {"\n", "(null)"}};
  for (const auto& [output, expected] : cases) {
    HostRecorder host;
    host.pipeOutputs = {output};
    EXPECT_EQ(Take(GetUserName()), expected);
    EXPECT_EQ(host.pipeLines, std::vector<std::string>{CmdPath(kCmdWhoami) + " "});
  }
  ComList[kCmdWhoami].pPath = nullptr;
  HostRecorder host;
  EXPECT_EQ(GetUserName(), nullptr);
  EXPECT_TRUE(host.pipeLines.empty());
}

TEST_F(ProbeTest, LprngIsFoundByItsVersionLine) {
  table.SetPath(kCmdLpd, "/usr/sbin");
  const std::pair<const char*, bool> cases[] = {
      {"lpd (LPRng) 3.8.C\n", true},
      {"lpd: invalid option -- 'V'\nusage: lpd [-dl] [port]\n", false},
      {"", false},
  };
  for (const auto& [output, expected] : cases) {
    HostRecorder host;
    host.pipeOutputs = {output};
    EXPECT_EQ(SniffLprng(), expected) << output;
    EXPECT_EQ(host.pipeLines, std::vector<std::string>{"/usr/sbin/lpd   -V 2>&1"});
  }
}

TEST_F(ProbeTest, WithoutTheCommandsNothingIsRun) {
  ComList[kCmdLpd].pPath = nullptr;
  ComList[kCmdCupsd].pPath = nullptr;
  HostRecorder host;
  EXPECT_FALSE(SniffLprng());
  EXPECT_FALSE(SniffCUPS());
  EXPECT_TRUE(host.pipeLines.empty());
  table.SetPath(kCmdCupsd, "/usr/sbin");
  EXPECT_TRUE(SniffCUPS());
  EXPECT_TRUE(host.pipeLines.empty());  // cupsd is never run
}

}  // namespace
