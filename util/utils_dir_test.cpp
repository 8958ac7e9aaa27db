#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "MemMgr.h"
#include "test_support.h"
#include "utils.h"

namespace {

TEST(GetDirFileList, EmptyDirectoryHoldsTheTwoDotEntries) {
  ScratchDir dir;
  char* list = GetDirFileList(dir.path().c_str());
  ASSERT_NE(list, nullptr);
  std::string text = list;
  PutMem(list);
  // The order is the directory's own; both dot entries and the framing
  // blanks are there.
  EXPECT_TRUE(text == " . .. " || text == " .. . ") << text;
}

TEST(GetDirFileList, EveryEntryFramedByBlanks) {
  ScratchDir dir;
  dir.Write("alpha", "");
  dir.Write("beta", "");
  mkdir(dir.File("sub").c_str(), 0755);
  char* list = GetDirFileList(dir.path().c_str());
  ASSERT_NE(list, nullptr);
  EXPECT_NE(FindToken("alpha", list), 0u);
  EXPECT_NE(FindToken("beta", list), 0u);
  EXPECT_NE(FindToken("sub", list), 0u);
  EXPECT_EQ(FindToken("alp", list), 0u);
  EXPECT_EQ(list[0], ' ');
  EXPECT_EQ(list[std::string(list).size() - 1], ' ');
  PutMem(list);
  EXPECT_EQ(GetDirFileList((dir.path() + "/missing").c_str()), nullptr);
  EXPECT_EQ(GetDirFileList(nullptr), nullptr);
}

TEST(FindFile, LooksNamesUpAsWholeEntries) {
  ScratchDir dir;
  dir.Write("lib/x", "");
  dir.Write("File", "");
  const char* d = dir.path().c_str();
  EXPECT_TRUE(FindFile(d, "File"));
  EXPECT_FALSE(FindFile(d, "file"));  // case matters
  EXPECT_FALSE(FindFile(d, "Fil"));
  EXPECT_TRUE(FindFile(d, "lib/x"));   // x in d/lib
  EXPECT_FALSE(FindFile(d, "lib/y"));
  EXPECT_TRUE(FindFile(nullptr, (dir.path() + "/lib/x").c_str()));
  EXPECT_TRUE(FindFile((dir.path() + "/lib").c_str(), ""));  // the path itself
  EXPECT_TRUE(FindFile((dir.path() + "/lib").c_str(), nullptr));
  EXPECT_FALSE(FindFile((dir.path() + "/nope").c_str(), nullptr));
  EXPECT_FALSE(FindFile(nullptr, ""));
  EXPECT_FALSE(FindFile(nullptr, nullptr));
}

TEST(FindFile, TrailingSlashNameAsksWhetherTheDirectoryCanBeListed) {
  ScratchDir dir;
  dir.Write("sub/f", "");
  EXPECT_TRUE(FindFile(dir.path().c_str(), "sub/"));
  EXPECT_FALSE(FindFile(dir.path().c_str(), "none/"));
  EXPECT_TRUE(FindFile("/", "/"));
  EXPECT_TRUE(FindFile(nullptr, "/tmp"));
}

TEST(FindFile, OverlongJoinIsRefusedNotOverflowed) {
  ScratchDir dir;
  std::string name = std::string(300, 'n') + "/x";
  EXPECT_FALSE(FindFile(dir.path().c_str(), name.c_str()));
  std::string deep = dir.path() + "/" + std::string(300, 'd') + "/x";
  EXPECT_FALSE(FindFile(nullptr, deep.c_str()));
}

}  // namespace
