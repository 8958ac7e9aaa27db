#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "MemMgr.h"
#include "test_support.h"
#include "utils.h"

namespace {

// Reads every logical line of path with GetFileLine.
std::vector<std::string> LogicalLines(const std::string& path) {
  std::vector<std::string> lines;
  EXPECT_TRUE(OpenInputFile(path.c_str(), 0));
  while (GetFileLine()) lines.emplace_back(LineBuf);
  return lines;
}

// A program started with its standard descriptors closed gets them back on
// /dev/null: the next file it opens is no standard stream.
TEST(OpenStandardStreamsDeathTest, ClosedDescriptorsAreReopened) {
  EXPECT_EXIT(
      {
        close(0);
        close(1);
        OpenStandardStreams();
        FILE* f = std::fopen("/dev/zero", "r");
        std::exit(f != nullptr && fileno(f) > 2 && std::getchar() == EOF ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(GetFileLine, JoinsBackslashContinuations) {
  ScratchDir dir;
  std::string path = dir.Write("list", "c one \\\n  two \\\nthree\nnext\n");
  std::vector<std::string> lines = LogicalLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "c one \\\n  two \\\nthree\n");
  EXPECT_EQ(lines[1], "next\n");
  EXPECT_EQ(FileStatus, 1);
  EXPECT_EQ(pIn, nullptr);
}

TEST(GetFileLine, RecordsTheLengthInFrontOfTheLastSegment) {
  ScratchDir dir;
  std::string path = dir.Write("list", "ab\\\ncd\n");
  ASSERT_TRUE(OpenInputFile(path.c_str(), 0));
  ASSERT_TRUE(GetFileLine());
  EXPECT_EQ(LineLen, 4);
  ASSERT_FALSE(GetFileLine());
  EXPECT_FALSE(GetFileLine());  // stays at its end
}

TEST(GetFileLine, LongPhysicalLineComesInPieces) {
  ScratchDir dir;
  std::string path = dir.Write("list", std::string(600, 'x') + "\n");
  std::vector<std::string> lines = LogicalLines(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(kMaxFileLine, 'x'));
  EXPECT_EQ(lines[1], std::string(90, 'x') + "\n");
}

TEST(GetFileLine, ContinuationsStopAtTheEndOfTheSharedBuffer) {
  ScratchDir dir;
  std::string text;
  for (int i = 0; i < 20; ++i) text += std::string(400, 'a') + "\\\n";
  text += "end\n";
  std::string path = dir.Write("list", text);
  std::vector<std::string> lines = LogicalLines(path);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_LE(lines[0].size(), static_cast<size_t>(kLineBufSize - 1));
  std::string all;
  for (const std::string& l : lines) all += l;
  EXPECT_EQ(all, text);  // nothing lost, nothing written past the buffer
}

TEST(OpenInputFile, MissingFileReportsByChoice) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(OpenInputFile("/nonexistent/dir/list", 0));
  EXPECT_EQ(FileStatus, 2);
  EXPECT_STREQ(LineBuf, "");
  EXPECT_FALSE(OpenInputFile("/nonexistent/dir/list", 1));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "WARNING: can't open file, /nonexistent/dir/list\n");
  EXPECT_STREQ(InputFileName, "/nonexistent/dir/list");
}

TEST(OpenInputFileDeathTest, FatalChoiceEndsWithStatusOne) {
  EXPECT_EXIT(OpenInputFile("/nonexistent/pkg.list", 2), testing::ExitedWithCode(1),
              "^ERROR: can't open file, /nonexistent/pkg.list\n$");
}

TEST(GetFileContent, ReadsAtMost4095Bytes) {
  ScratchDir dir;
  dir.Write("big", std::string(5000, 'z'));
  ASSERT_TRUE(GetFileContent(dir.path().c_str(), "big"));
  EXPECT_EQ(std::string(LineBuf), std::string(kLineBufSize - 1, 'z'));
  dir.Write("empty", "");
  ASSERT_TRUE(GetFileContent(dir.path().c_str(), "empty"));
  EXPECT_STREQ(LineBuf, "");
  ASSERT_TRUE(GetFileContent(dir.File("big").c_str(), nullptr));
  EXPECT_FALSE(GetFileContent(dir.path().c_str(), "missing"));
}

TEST(GetFileContent, RefusesWhatIsNotARegularFile) {
  ScratchDir dir;
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  EXPECT_FALSE(GetFileContent(dir.path().c_str(), "fifo"));  // never blocks
  EXPECT_FALSE(GetFileContent(dir.path().c_str(), "."));
  std::string longName(5000, 'n');
  EXPECT_FALSE(GetFileContent(dir.path().c_str(), longName.c_str()));
}

TEST(GetSavedFileContent, SizesFromMissingToWhole) {
  ScratchDir dir;
  const char* d = dir.path().c_str();
  EXPECT_EQ(GetSavedFileContent(d, "missing"), nullptr);
  EXPECT_EQ(SavedFileSize, 0);
  dir.Write("empty", "");
  EXPECT_EQ(GetSavedFileContent(d, "empty"), nullptr);
  EXPECT_EQ(SavedFileSize, 0);
  dir.Write("one", "x");
  char* one = GetSavedFileContent(d, "one");
  ASSERT_NE(one, nullptr);
  EXPECT_STREQ(one, "");
  EXPECT_EQ(SavedFileSize, 1);
  PutMem(one);
  std::string body(70000, 'q');
  dir.Write("big", body);
  char* big = GetSavedFileContent(d, "big");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(std::string(big), body);
  EXPECT_EQ(SavedFileSize, 70000);
  PutMem(big);
  std::string longName(300, 'n');
  EXPECT_EQ(GetSavedFileContent(d, longName.c_str()), nullptr);
}

TEST(FileSearch, FirstLineHoldingThePattern) {
  ScratchDir dir;
  std::string path = dir.Write("vprint", "#!/bin/sh\nexport X\ncd /opt/Vexla/vpxx\ncd /other\n");
  EXPECT_STREQ(FileSearch(path.c_str(), "cd ", 0), "cd /opt/Vexla/vpxx\n");
  EXPECT_STREQ(FileSearch(path.c_str(), nullptr, 0), "#!/bin/sh\n");
  EXPECT_EQ(FileSearch(path.c_str(), "absent", 0), nullptr);
  EXPECT_EQ(FileSearch(dir.File("none").c_str(), "cd ", 0), nullptr);
}

TEST(GetFileType, KindsWithoutFollowingLinks) {
  ScratchDir dir;
  dir.Write("file", "");
  mkdir(dir.File("dir").c_str(), 0755);
  ASSERT_EQ(symlink(dir.File("dir").c_str(), dir.File("link").c_str()), 0);
  EXPECT_EQ(GetFileType(dir.File("none").c_str()), 0);
  EXPECT_EQ(GetFileType(dir.File("dir").c_str()), 1);
  EXPECT_EQ(GetFileType(dir.File("link").c_str()), 2);
  EXPECT_EQ(GetFileType(dir.File("file").c_str()), 3);
  dir.Write("sized", "12345");
  EXPECT_EQ(GetFileSize(dir.File("sized").c_str()), 5);
  EXPECT_EQ(GetFileSize(dir.File("none").c_str()), 0);
}

TEST(CreateTextFile, WritesTheTextWithItsPermissions) {
  ScratchDir dir;
  std::string path = dir.File(".vp_cfg");
  ASSERT_TRUE(CreateTextFile(path.c_str(), "wt", 0644, "%s", " LPRng "));
  EXPECT_EQ(ReadWholeFile(path), " LPRng ");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(CreateTextFile(dir.File("no/such").c_str(), "wt", 0644, "x"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: couldn't open " + dir.File("no/such") + "\n");
}

// A file limit the size of a full disk: the write fails, the old text stays.
TEST(CreateTextFileDeathTest, FullDiskIsNotASuccess) {
  ScratchDir dir;
  const std::string path = dir.Write("full", "old");
  EXPECT_EXIT(
      {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{};
        small.rlim_cur = small.rlim_max = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool written = CreateTextFile(path.c_str(), "wt", 0, "%s", std::string(10000, 'x').c_str());
        std::exit(written || ReadWholeFile(path) != "old" ? 1 : 0);
      },
      testing::ExitedWithCode(0), "ERROR: couldn't write " + path + "\n");
}

TEST(OpenFile, ClosesThePreviousStreamAndReportsByChoice) {
  ScratchDir dir;
  std::string path = dir.Write("f", "x");
  FILE* first = OpenFile(nullptr, path.c_str(), "rt", 0);
  ASSERT_NE(first, nullptr);
  FILE* second = OpenFile(first, path.c_str(), "rt", 0);  // first is closed here
  ASSERT_NE(second, nullptr);
  std::fclose(second);
  testing::internal::CaptureStderr();
  EXPECT_EQ(OpenFile(nullptr, dir.File("none").c_str(), "rt", 1), nullptr);
  EXPECT_EQ(OpenFile(nullptr, dir.File("none").c_str(), "rt", 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: can't open file, " + dir.File("none") + "\n");
}

TEST(OpenFileDeathTest, FatalChoiceIsASystemError) {
  EXPECT_EXIT(OpenFile(nullptr, "/nonexistent/x", "rt", 2), testing::ExitedWithCode(1),
              "can't open file, /nonexistent/x : No such file or directory");
}

}  // namespace
