#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "Fd.h"
#include "guards.h"
#include "test_support.h"

namespace {

// The holder's file names a process only as a positive number and a line
// end in a file root alone could have written; anything else names none,
// so that nobody can make a run wait on a process of their choosing.
TEST(LockHolderNamed, OnlyAPositiveNumberInRootsOwnFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only root's own file names a holder";
  const struct {
    const char* text;
    mode_t mode;
    long holder;
  } cases[] = {
      {"4242\n", 0644, 4242}, {"4242", 0644, 0},   {"-7\n", 0644, 0},   {"0\n", 0644, 0},
      {"42x\n", 0644, 0},     {"", 0644, 0},       {"4242\n", 0666, 0},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    const std::string path = dir.Write(kLockHolderName, c.text);
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    Fd folder(open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    EXPECT_EQ(LockHolderNamed(folder.get()), c.holder) << '"' << c.text << "\" mode " << std::oct << c.mode;
  }
}

}  // namespace
