#include "ReplacingFile.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "test_support.h"

namespace {

// Names in the folder other than . and ..
int EntriesIn(const std::string& dir) {
  int n = 0;
  DIR* d = opendir(dir.c_str());
  while (const dirent* e = d != nullptr ? readdir(d) : nullptr)
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) ++n;
  if (d != nullptr) closedir(d);
  return n;
}

// Whatever stands at the target, the new text arrives as a file of its own
// with its mode, or nothing changes; the victim behind a planted link is
// never written, and no new file is left beside the target.
TEST(ReplacingFile, ReplacesWhatStandsThereWithoutFollowingIt) {
  struct Case {
    const char* what;
    const char* plant;  // shell set-up in the folder; the target is "t"
    bool replaced;
  } cases[] = {
      {"nothing", "true", true},
      {"an earlier file", "echo old > t; chmod 600 t", true},
      {"a link to a victim", "ln -s victim t", true},
      {"a dangling link", "ln -s gone t", true},
      {"a link into a folder", "mkdir d; ln -s d t", true},
      {"a folder", "rm victim; mkdir t", false},
      {"a FIFO", "mkfifo t", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    dir.Write("victim", "secret");
    std::string out;
    ASSERT_EQ(RunProgram({"sh", "-c", std::string("cd '") + dir.path() + "' && " + c.plant}, "", &out), 0) << out;
    const int before = EntriesIn(dir.path());
    const std::string target = dir.File("t");
    EXPECT_EQ(ReplaceFileText(target.c_str(), 0640, "new"), c.replaced);
    struct stat st;
    if (c.replaced) {
      ASSERT_EQ(lstat(target.c_str(), &st), 0);
      EXPECT_TRUE(S_ISREG(st.st_mode));
      EXPECT_EQ(st.st_mode & 07777, 0640u);
      EXPECT_EQ(ReadWholeFile(target), "new");
    }
    if (access(dir.File("victim").c_str(), F_OK) == 0) {
      EXPECT_EQ(ReadWholeFile(dir.File("victim")), "secret");
    }
    EXPECT_EQ(EntriesIn(dir.path()), before + (std::strcmp(c.what, "nothing") == 0 ? 1 : 0));
  }
}

// A file never committed leaves the target as it was and nothing beside it.
TEST(ReplacingFile, AnUncommittedWriteLeavesTheOldFile) {
  ScratchDir dir;
  const std::string target = dir.Write("t", "old");
  {
    ReplacingFile file(target.c_str());
    ASSERT_NE(file.get(), nullptr);
    std::fputs("half", file.get());
  }
  EXPECT_EQ(ReadWholeFile(target), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

}  // namespace
