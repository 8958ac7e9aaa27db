#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SysCmd.h"
#include "test_support.h"
#include "utils.h"

namespace {

class FileOpsTest : public testing::Test {
 protected:
  void SetUp() override { table.ResolveFromHost(); }
  ComListScope table;
  LogScope log;
  ScratchDir dir;
};

TEST_F(FileOpsTest, CreateFileRunsOnlyWhatIsNeeded) {
  const std::string missing = dir.File("new/sub");
  const std::string target = missing + "/f";
  const std::string existing = dir.path();
  const std::string r = LogRedirection();
  struct Case {
    const char* what;
    std::string dir;
    const char* name;
    const char* mode;
    const char* owner;
    const char* group;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"existing directory, nothing to set", existing, nullptr, nullptr, nullptr, nullptr, {}},
      {"existing directory, mode only", existing, nullptr, "755", nullptr, nullptr,
       {ShellLine(kCmdChmod, "755 " + existing, r)}},
      {"everything", missing, "f", "644", "root", "sys",
       {ShellLine(kCmdMkdir, missing, r), ShellLine(kCmdTouch, target, r),
        ShellLine(kCmdChmod, "644 " + target, r), ShellLine(kCmdChown, "root " + target, r),
        ShellLine(kCmdChgrp, "sys " + target, r)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostRecorder host;
    CreateFile(c.dir.c_str(), c.name, c.mode, c.owner, c.group);
    EXPECT_EQ(host.lines, c.lines);
  }
}

TEST_F(FileOpsTest, CreateFileEndsTheRunWhenACommandFails) {
  EXPECT_EXIT(
      {
        HostRecorder host;
        host.exitStatuses = {1};
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(99);
        CreateFile(dir.File("new").c_str(), nullptr, nullptr);
        std::_Exit(98);
      },
      testing::ExitedWithCode(1), "");
}

TEST_F(FileOpsTest, ATargetTooLongForTheLineIsNeverRun) {
  const std::string name(5000, 'n');
  EXPECT_EXIT(
      {
        HostRecorder host;
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(99);
        CreateFile(dir.path().c_str(), name.c_str(), "644");
        std::_Exit(98);
      },
      testing::ExitedWithCode(1), "");
}

TEST_F(FileOpsTest, DeleteFileRemovesWhatExists) {
  dir.Write("old/file", "");
  const std::string r = LogRedirection();
  struct Case {
    const char* what;
    const char* dir;
    const char* name;
    std::vector<std::string> lines;
  };
  const std::string old = dir.File("old");
  const Case cases[] = {
      {"dir and name", dir.path().c_str(), "old", {ShellLine(kCmdRmR, old, r)}},
      {"full path", nullptr, old.c_str(), {ShellLine(kCmdRmR, old, r)}},
      {"dir alone", old.c_str(), nullptr, {ShellLine(kCmdRmR, old, r)}},
      {"missing", dir.path().c_str(), "gone", {}},
      {"nothing", nullptr, nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HostRecorder host;
    DeleteFile(c.dir, c.name);
    EXPECT_EQ(host.lines, c.lines);
  }
}

TEST_F(FileOpsTest, AFailedRemovalIsLoggedAndTheRunGoesOn) {
  dir.Write("old", "");
  HostRecorder host;
  host.exitStatuses = {1};
  DeleteFile(dir.path().c_str(), "old");
  EXPECT_EQ(log.Read(), "WARNING_MSG: rm: exit status 1\n");
}

}  // namespace
