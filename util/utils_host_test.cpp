#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "MemMgr.h"
#include "SysCmd.h"
#include "test_support.h"
#include "utils.h"

namespace {

std::string Cwd() {
  char* cwd = getcwd(nullptr, 0);
  std::string s = cwd;
  std::free(cwd);
  return s;
}

// Runs the test body inside a fresh directory; the old working directory
// comes back afterwards.
class InScratchDir : public testing::Test {
 protected:
  void SetUp() override {
    old_ = Cwd();
    ASSERT_EQ(mkdir(dir.File("mnt").c_str(), 0755), 0);
    ASSERT_EQ(chdir(dir.File("mnt").c_str()), 0);
    here_ = Cwd();  // as the system names it
    parent_ = here_.substr(0, here_.rfind('/'));
  }
  void TearDown() override { ASSERT_EQ(chdir(old_.c_str()), 0); }
  ScratchDir dir;
  std::string old_, here_, parent_;
};

using ToolPathTest = InScratchDir;

TEST_F(ToolPathTest, IsTheAbsoluteDirectoryOfTheProgram) {
  const std::pair<const char*, std::string> cases[] = {
      {"/opt/inst/setup", "/opt/inst"},
      {"/setup", "/"},
      {"setup", here_},
      {"./setup", here_},
      {"cd/setup", here_ + "/cd"},
      {".tmp/setup", here_ + "/.tmp"},
      {"./cd/setup", here_ + "/cd"},
      {"./cd/./sub/setup", here_ + "/cd/sub"},
      {"../setup", parent_},
      {"../other/setup", parent_ + "/other"},
      {".././mnt/cd/setup", here_ + "/cd"},
  };
  for (const auto& [invocation, expected] : cases) {
    EXPECT_EQ(Take(GetToolPath(invocation)), expected) << invocation;
  }
}

using ExistingPathTest = InScratchDir;

TEST_F(ExistingPathTest, IsTheLongestExistingLeadingPart) {
  ASSERT_EQ(mkdir(dir.File("opt").c_str(), 0755), 0);
  const std::string opt = dir.File("opt");
  struct Case {
    std::string path;
    std::string expected;
    int flag;  // starts as -1: untouched unless the whole path exists
  };
  const Case cases[] = {
      {opt + "/new/dir", opt, -1},
      {opt, opt, 1},
      {opt + "/", opt, 1},
      {opt + "//new", opt, -1},
      {"/", "/", 1},
      {"missing/sub", ".", -1},
      {".", ".", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    int flag = -1;
    EXPECT_EQ(Take(FindExistingPath(c.path.c_str(), &flag)), c.expected);
    EXPECT_EQ(flag, c.flag);
  }
}

}  // namespace
