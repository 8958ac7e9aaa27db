#include "RootFile.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "test_support.h"

namespace {

// What the rule says of each kind of file, judged from its status and by an
// open that judges the very file it opened.
TEST(RootFile, OnlyRootsRegularFileWithOneLinkThatNobodyElseWrites) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make files of other owners";
  struct Case {
    const char* what;
    const char* plant;  // shell set-up in the folder; the file judged is "f"
    const char* why;    // "" when root's own
    const char* whyWhenOthersMayWrite;
  } cases[] = {
      {"root's own", "echo x > f; chmod 644 f", "", ""},
      {"read-only for all", "echo x > f; chmod 400 f", "", ""},
      {"group-writable", "echo x > f; chmod 664 f", "it is writable by others than root (mode 0664)", ""},
      {"world-writable", "echo x > f; chmod 646 f", "it is writable by others than root (mode 0646)", ""},
      {"another user's", "echo x > f; chown 65534 f", "it is not owned by root (uid 65534)",
       "it is not owned by root (uid 65534)"},
      {"a second name", "echo x > f; ln f g", "it has 2 links", "it has 2 links"},
      {"a link to root's file", "echo x > g; ln -s g f", "it is a symbolic link", "it is a symbolic link"},
      {"a FIFO", "mkfifo f", "it is not a regular file", "it is not a regular file"},
      {"a folder", "mkdir f", "it is not a regular file", "it is not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    ASSERT_EQ(std::system(("cd " + dir.path() + " && " + c.plant).c_str()), 0);
    const std::string f = dir.path() + "/f";
    struct stat st;
    ASSERT_EQ(lstat(f.c_str(), &st), 0);
    EXPECT_EQ(WhyNotRootsFile(st), c.why);
    EXPECT_EQ(WhyNotRootsFile(st, OthersMayWrite::kYes), c.whyWhenOthersMayWrite);
    std::string why;
    const int fd = OpenRootsFileAt(AT_FDCWD, f.c_str(), O_RDONLY, &why);
    EXPECT_EQ(fd >= 0, c.why[0] == '\0');
    EXPECT_EQ(why, c.why);
    if (fd >= 0) close(fd);
  }
}

TEST(RootFile, OnlyRootsFolderThatNobodyElseWrites) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to make folders of other owners";
  const std::pair<const char*, const char*> cases[] = {
      {"mkdir f; chmod 755 f", ""},
      {"mkdir f; chmod 1777 f", "it is writable by others than root (mode 1777)"},
      {"mkdir f; chmod 775 f", "it is writable by others than root (mode 0775)"},
      {"mkdir f; chown 65534 f", "it is not owned by root (uid 65534)"},
      {"mkdir g; ln -s g f", "it is a symbolic link"},
      {"echo x > f", "it is not a folder"},
  };
  for (const auto& [plant, why] : cases) {
    SCOPED_TRACE(plant);
    ScratchDir dir;
    ASSERT_EQ(std::system(("cd " + dir.path() + " && " + plant).c_str()), 0);
    struct stat st;
    ASSERT_EQ(lstat((dir.path() + "/f").c_str(), &st), 0);
    EXPECT_EQ(WhyNotRootsFolder(st), why);
  }
}

TEST(RootFile, NothingThereIsSaidAsSuch) {
  ScratchDir dir;
  std::string why;
  EXPECT_EQ(OpenRootsFileAt(AT_FDCWD, (dir.path() + "/none").c_str(), O_RDONLY, &why), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(why, "No such file or directory");
}

}  // namespace
