#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "installer.h"
#include "test_support.h"

namespace {

TEST(StripToBaseName, CutsTheProductTreeAway) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"/opt/Vexla/vpxx/", "/opt"}, {"/opt/", "/opt"},       {"/", "/"},
      {"/opt/Vexla", "/opt"},       {"/usr/local", "/usr/local"}, {"/a/vpxx/Vexla", "/a"},
      {"/Vexla/vpxx", "/"},         {"vexla/", "vexla"},
  };
  for (const Case& c : cases) {
    std::string text = c.in;
    EXPECT_STREQ(StripToBaseName(text.data()), c.out) << c.in;
  }
  EXPECT_EQ(StripToBaseName(nullptr), nullptr);
}

// Paths are compared as the host would follow them: the existing part
// resolved, links included, the part still to be made as it reads; a
// folder's name that merely begins another is not a folder above it.
TEST(ResolvedPath, FollowsWhatExistsAndReadsTheRest) {
  ScratchDir dir;
  dir.Write("real/f", "");
  ASSERT_EQ(symlink("real", dir.File("link").c_str()), 0);
  char base[PATH_MAX];
  ASSERT_NE(realpath(dir.path().c_str(), base), nullptr);
  const std::string b = base;
  EXPECT_EQ(ResolvedPath(dir.File("link/new/../x").c_str()), b + "/real/x");
  EXPECT_EQ(ResolvedPath(dir.File("missing/../../link/f").c_str()), b.substr(0, b.rfind('/')) + "/link/f");
  EXPECT_EQ(ResolvedPath("relative"), "");
  EXPECT_TRUE(ResolvedWithin(dir.File("link/new").c_str(), dir.File("real").c_str()));
  EXPECT_FALSE(ResolvedWithin(dir.File("realm").c_str(), dir.File("real").c_str()));
  EXPECT_TRUE(ResolvedWithin("/x", "/"));
}

TEST(DirectoryText, OnlyCharactersThatAreSafeInAShellLine) {
  EXPECT_EQ(CheckDirectoryText("/opt/My_Dir-2.0+x,y@h:z=1"), nullptr);
  for (const char* bad : {"/opt/my dir", "/opt/'x'", "/opt/$HOME", "/opt/`id`", "/opt;rm", "/opt/\"q\"",
                          "/opt/a\\b", "/opt/\xe9t\xe9", "/opt/*", "/opt/a|b", "/opt/a&b", "/opt/\n", ""}) {
    EXPECT_NE(CheckDirectoryText(bad), nullptr) << bad;
  }
  EXPECT_EQ(CheckDirectoryText("/opt"), nullptr);
  EXPECT_NE(CheckDirectoryText(std::string(kMaxDirText + 1, 'd').c_str()), nullptr);
  EXPECT_EQ(CheckDirectoryText(std::string(kMaxDirText, 'd').c_str()), nullptr);
}

// Runs ReadCommandLine on the words given, from a fresh installer state.
struct CommandLine {
  std::vector<std::string> words;
  unsigned char cleanWork = 1;
  unsigned char spaceCheck = 1;

  explicit CommandLine(std::vector<std::string> w) : words(std::move(w)) {
    pInstallDir = nullptr;
    flMenu = 0;
    pTmpDir = const_cast<char*>("/tmp");
    pVexlaInstallDir = nullptr;
    std::vector<char*> argv{const_cast<char*>("setup")};
    for (std::string& s : words) argv.push_back(s.data());
    ReadCommandLine(static_cast<int>(argv.size()), argv.data(), &cleanWork, &spaceCheck);
  }
};

TEST(ReadCommandLine, InstallDirectoryIsTheBaseOfTheProductTree) {
  // pInstallDir points into the words, which live as long as each line.
  CommandLine tree({"install", "/opt/Vexla/vpxx/"});
  EXPECT_STREQ(pInstallDir, "/opt");
  CommandLine slash({"install", "/opt/"});
  EXPECT_STREQ(pInstallDir, "/opt");
  CommandLine root({"install", "/"});
  EXPECT_STREQ(pInstallDir, "/");
  CommandLine last({"install"});
  EXPECT_EQ(pInstallDir, nullptr);
}

TEST(ReadCommandLine, WordsActInOrder) {
  ScratchDir area;
  CommandLine line({area.path(), "manual", "no_space_check", "menu"});
  EXPECT_EQ(line.cleanWork, 0);
  EXPECT_EQ(line.spaceCheck, 0);
  EXPECT_EQ(flMenu, 1);
  EXPECT_EQ(std::string(pTmpDir), area.path());
  EXPECT_EQ(std::string(pVexlaInstallDir), area.path() + "/VexlaInstall");
  CommandLine plain({});
  EXPECT_EQ(plain.cleanWork, 1);
  EXPECT_EQ(plain.spaceCheck, 1);
  EXPECT_EQ(flMenu, 0);
}

TEST(ReadCommandLine, ARelativeWorkAreaIsMadeAbsolute) {
  ScratchDir area;
  const int back = open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_GE(back, 0);
  ASSERT_EQ(chdir(area.path().c_str()), 0);
  ASSERT_EQ(mkdir("w", 0700), 0);
  CommandLine line({"./w/../w"});
  char real[PATH_MAX];
  ASSERT_NE(realpath(area.path().c_str(), real), nullptr);
  EXPECT_EQ(std::string(pTmpDir), std::string(real) + "/w");
  EXPECT_EQ(std::string(pVexlaInstallDir), std::string(real) + "/w/VexlaInstall");
  EXPECT_EQ(fchdir(back), 0);
  close(back);
}

TEST(ReadCommandLineDeathTest, VersionGoesToStandardError) {
  EXPECT_EXIT(CommandLine({"-v"}), testing::ExitedWithCode(0), "^setup 3.00.42\n$");
  EXPECT_EXIT(CommandLine({"manual", "-v", "/nonexistent"}), testing::ExitedWithCode(0), "3.00.42");
  for (const char* help : {"--help", "-h"}) {
    EXPECT_EXIT(
        {
          std::freopen("/dev/null", "w", stdout);
          CommandLine({help});
        },
        testing::ExitedWithCode(0), "");
  }
}

TEST(ReadCommandLineDeathTest, MissingWorkAreaEndsSilentlyWithTwo) {
  EXPECT_EXIT(CommandLine({"/nonexistent/area"}), testing::ExitedWithCode(2), "^$");
  EXPECT_EXIT(CommandLine({"-V"}), testing::ExitedWithCode(2), "^$");
  EXPECT_EXIT(CommandLine({"/nonexistent/area", "-v"}), testing::ExitedWithCode(2), "^$");
}

TEST(ReadCommandLineDeathTest, UnsafeOrOverlongDirectoriesAreRefused) {
  EXPECT_EXIT(CommandLine({"install", "/opt/my dir"}), testing::ExitedWithCode(2), "refused: /opt/my dir");
  EXPECT_EXIT(CommandLine({"install", "/opt;reboot"}), testing::ExitedWithCode(2), "letters, digits");
  EXPECT_EXIT(CommandLine({"install", "opt"}), testing::ExitedWithCode(2), "full path");
  EXPECT_EXIT(CommandLine({"/tmp/$(id)"}), testing::ExitedWithCode(2), "refused");
  std::string deep = "/" + std::string(kMaxDirText + 10, 'd');
  EXPECT_EXIT(CommandLine({"install", deep}), testing::ExitedWithCode(2), "too long");
  EXPECT_EXIT(CommandLine({deep}), testing::ExitedWithCode(2), "too long");
}

TEST(TestConfigFlag, AskWhetherTheMarkerIsThere) {
  ScratchDir dir;
  dir.Write(".StandAlone", "");
  EXPECT_TRUE(TestConfigFlag(dir.path().c_str(), ".StandAlone"));
  EXPECT_FALSE(TestConfigFlag(dir.path().c_str(), ".StandAloneDb"));
  EXPECT_FALSE(TestConfigFlag("", ".StandAlone"));  // no application directory yet
}

}  // namespace
