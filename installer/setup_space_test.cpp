#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "SysCmd.h"
#include "installer.h"
#include "test_support.h"

namespace {

std::string Df(const std::string& device, double avail) {
  return "Filesystem 1K-blocks Used Available Use% Mounted on\n" + device + " 900000 1000 " +
         std::to_string(static_cast<long>(avail)) + " 1% /x\n";
}

class FreeSpace : public CommandTableTest {
 protected:
  void SetUp() override {
    CommandTableTest::SetUp();
    pToolPath = const_cast<char*>(medium.path().c_str());
    pTmpDir = const_cast<char*>(area.path().c_str());
    workDir = area.path() + "/VexlaInstall";
    installDir = target.path();
    pInstallDir = const_cast<char*>(installDir.c_str());
  }

  void Sizes(const char* isize, const char* tsize) {
    medium.Write("isize", isize);
    medium.Write("tsize", tsize);
  }

  // Runs the check with the queued command outputs; returns whether it came
  // back (a refusal ends the process, which the death tests observe).
  // (True when there is room for keepNeed more as well.)
  bool Check(std::vector<std::string> outputs, bool stdoutToStderr = false, double keepNeed = 0) {
    // In a death test only standard error can be matched: the messages go
    // to standard output, so they are sent there too.
    if (stdoutToStderr) dup2(2, 1);
    HostRecorder host;
    host.pipeOutputs = std::move(outputs);
    return FreeSpaceForInstall(workDir.c_str(), installDir.c_str(), "Vexla", keepNeed);
  }

  ScratchDir medium, area, target;
  std::string workDir, installDir;
};

TEST_F(FreeSpace, DifferentPartitionsEachNeedTheirOwnRoom) {
  Sizes("1000", "500");
  // 540 is exactly the need of the work side: enough.
  Check({Df("/dev/a", 540), Df("/dev/b", 1040)});
  EXPECT_EXIT(Check({Df("/dev/a", 539), Df("/dev/b", 5000)}), testing::ExitedWithCode(1),
              "");
  EXPECT_EXIT(Check({Df("/dev/a", 5000), Df("/dev/b", 1039)}), testing::ExitedWithCode(1), "");
}

// The saved earlier installation is counted on the installation side only,
// after the installation's own need: 1040 + 300 is enough, one less is not.
TEST_F(FreeSpace, TheSavedCopyIsCountedBesideTheNeed) {
  Sizes("1000", "500");
  EXPECT_TRUE(Check({Df("/dev/a", 540), Df("/dev/b", 1340)}, false, 300));
  EXPECT_FALSE(Check({Df("/dev/a", 540), Df("/dev/b", 1339)}, false, 300));
  EXPECT_TRUE(Check({Df("/dev/a", 1880), Df("/dev/a", 1880), Df("/dev/a", 1880)}, false, 300));
  EXPECT_FALSE(Check({Df("/dev/a", 1879), Df("/dev/a", 1879), Df("/dev/a", 1879)}, false, 300));
}

TEST_F(FreeSpace, MessagesNameTheRightDirectories) {
  Sizes("1000", "500");
  EXPECT_EXIT(Check({Df("/dev/a", 10), Df("/dev/b", 5000)}, true), testing::ExitedWithCode(1),
              "There isn't enough space in " + area.path() + " .*at least 5.400000e\\+02 bytes");
  EXPECT_EXIT(Check({Df("/dev/a", 5000), Df("/dev/b", 10)}, true), testing::ExitedWithCode(1),
              "There isn't enough space in " + installDir + " .*install area should be at least 1.040000e\\+03");
  EXPECT_EXIT(Check({Df("/dev/a", 10), Df("/dev/a", 10), Df("/dev/a", 10)}, true), testing::ExitedWithCode(1),
              "working directory, " + workDir + " on the same partition.*" + installDir +
                  " this install requires 1.580000e\\+03 bytes");
}

TEST_F(FreeSpace, OnePartitionAddsTheNeeds) {
  Sizes("7960", "5960");  // needs 8000 and 6000
  // An existing product directory of 3000 counts as room: 13000 < 14000.
  mkdir((installDir + "/Vexla").c_str(), 0755);
  EXPECT_EXIT(Check({Df("/dev/a", 10000), Df("/dev/a", 10000), "3000\t/x\n", Df("/dev/a", 10000)}),
              testing::ExitedWithCode(1), "");
  Check({Df("/dev/a", 11000), Df("/dev/a", 11000), "3000\t/x\n", Df("/dev/a", 11000)});  // 14000: enough
}

TEST_F(FreeSpace, OnePartitionWithNothingPresentCountsTheFreeSpaceOnce) {
  Sizes("4960", "4960");  // 10000 in all
  Check({Df("/dev/a", 10000), Df("/dev/a", 10000), Df("/dev/a", 10000)});
  EXPECT_EXIT(Check({Df("/dev/a", 9999), Df("/dev/a", 9999), Df("/dev/a", 9999)}), testing::ExitedWithCode(1), "");
}

TEST_F(FreeSpace, UnmeasurableWorkSideSkipsTheCheck) {
  Sizes("100000000", "100000000");
  Check({""});
}

TEST_F(FreeSpace, MissingSizeFileEndsTheRun) {
  medium.Write("tsize", "1");
  EXPECT_EXIT(Check({}, true), testing::ExitedWithCode(1), "missing isize");
  ScratchDir dos;
  dos.Write("ISIZE", "1");
  dos.Write("TSIZE", "1");
  pToolPath = const_cast<char*>(dos.path().c_str());
  Check({Df("/dev/a", 100), Df("/dev/b", 100)});  // the DOS names are read too
}

TEST(FreeSpaceMessages, ShortageTextsNameAreaAndAmount) {
  pTmpDir = const_cast<char*>("/tmp");
  std::string text;
  char buf[2048];
  std::snprintf(buf, sizeof buf, NlsSetupStrCvt(49), pTmpDir, 540.0);
  text = buf;
  EXPECT_NE(text.find("There isn't enough space in /tmp"), std::string::npos);
  EXPECT_NE(text.find("5.400000e+02 bytes"), std::string::npos);
}

}  // namespace
