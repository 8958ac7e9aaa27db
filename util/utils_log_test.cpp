#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "MemMgr.h"
#include "test_support.h"
#include "utils.h"

namespace {

class LogTest : public testing::Test {
 protected:
  LogScope log;
  ScratchDir dir;

  struct stat Lstat() const {
    struct stat st = {};
    EXPECT_EQ(lstat(log.path().c_str(), &st), 0);
    return st;
  }
};

TEST_F(LogTest, NothingIsWrittenWhileLoggingIsOff) {
  flUseLog = 0;
  PutLogMsg("hidden\n");
  struct stat st;
  EXPECT_NE(lstat(log.path().c_str(), &st), 0);
}

TEST_F(LogTest, MessagesAreAppendedExactlyAsFormatted) {
  PutLogMsg("initializing system\n");
  PutLogMsg("%s: %d%%", "step", 50);
  PutLogMsg("%s\n", "100% done");
  EXPECT_EQ(log.Read(), "initializing system\nstep: 50%100% done\n");
}

TEST_F(LogTest, TheFirstMessageOfARunEmptiesAnOldLog) {
  FILE* f = std::fopen(log.path().c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("from an earlier run\n", f);
  std::fclose(f);
  PutLogMsg("new\n");
  EXPECT_EQ(log.Read(), "new\n");
}

TEST_F(LogTest, ANewLogIsWritableByEveryone) {
  mode_t old = umask(022);
  PutLogMsg("x\n");
  umask(old);
  struct stat st = Lstat();
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0666u);
}

// Whatever another user planted at the log's name is removed before the
// first message; the planted target keeps its content.
TEST_F(LogTest, APlantedSymbolicLinkIsNotWrittenThrough) {
  std::string victim = dir.Write("victim", "precious\n");
  ASSERT_EQ(symlink(victim.c_str(), log.path().c_str()), 0);
  PutLogMsg("initializing system\n");
  EXPECT_EQ(ReadWholeFile(victim), "precious\n");
  EXPECT_TRUE(S_ISREG(Lstat().st_mode));
  EXPECT_EQ(log.Read(), "initializing system\n");
}

TEST_F(LogTest, APlantedHardLinkIsNotWrittenThrough) {
  std::string victim = dir.Write("victim", "precious\n");
  ASSERT_EQ(link(victim.c_str(), log.path().c_str()), 0);
  PutLogMsg("initializing system\n");
  EXPECT_EQ(ReadWholeFile(victim), "precious\n");
  EXPECT_EQ(Lstat().st_nlink, 1u);
  EXPECT_EQ(log.Read(), "initializing system\n");
}

TEST_F(LogTest, APlantedFifoIsReplacedWithoutBlocking) {
  ASSERT_EQ(mkfifo(log.path().c_str(), 0666), 0);
  PutLogMsg("x\n");
  ASSERT_TRUE(S_ISREG(Lstat().st_mode));  // reading a fifo would block
  EXPECT_EQ(log.Read(), "x\n");
}

TEST_F(LogTest, AsRootAnotherUsersFileIsReplaced) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a file away";
  FILE* f = std::fopen(log.path().c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("theirs\n", f);
  std::fclose(f);
  ASSERT_EQ(chown(log.path().c_str(), 65534, 65534), 0);
  PutLogMsg("ours\n");
  EXPECT_EQ(Lstat().st_uid, 0u);
  EXPECT_EQ(log.Read(), "ours\n");
}

TEST_F(LogTest, ALinkPlantedDuringTheRunIsNotFollowed) {
  PutLogMsg("first\n");
  std::string victim = dir.Write("victim", "precious\n");
  ASSERT_EQ(unlink(log.path().c_str()), 0);
  ASSERT_EQ(symlink(victim.c_str(), log.path().c_str()), 0);
  testing::internal::CaptureStderr();
  PutLogMsg("second\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: couldn't open " + log.path() + "\n");
  EXPECT_EQ(ReadWholeFile(victim), "precious\n");
}

TEST_F(LogTest, ALogThatCannotBeOpenedCostsOnlyTheMessage) {
  std::string name = log.name() + "-nodir/x";
  my_name = name.data();
  testing::internal::CaptureStderr();
  PutLogMsg("lost\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: couldn't open /tmp/" + name + ".log\n");
}

TEST(GetEnvTest, CopiesTheValueOrGivesNull) {
  setenv("SETUP_TEST_VALUE", "a%sb", 1);
  char* value = GetEnv("SETUP_TEST_VALUE");
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "a%sb");
  EXPECT_NE(value, std::getenv("SETUP_TEST_VALUE"));
  PutMem(value);
  unsetenv("SETUP_TEST_VALUE");
  EXPECT_EQ(GetEnv("SETUP_TEST_VALUE"), nullptr);
}

}  // namespace
