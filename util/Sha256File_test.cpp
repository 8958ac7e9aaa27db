// Tests of the digests of files: what is refused, many files at once, and
// when a digest taken ahead is used.
#include "Sha256.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

TEST(Sha256, Files) {
  ScratchDir dir;
  std::string hex;
  ASSERT_TRUE(Sha256File(dir.Write("abc", "abc").c_str(), &hex));
  EXPECT_EQ(hex, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_FALSE(Sha256File(dir.File("missing").c_str(), &hex));
  // What is not a regular file is refused at once, never waited on, and a
  // link is not followed: by one digest, many, or hashing ahead.
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  ASSERT_EQ(symlink("abc", dir.File("link").c_str()), 0);
  for (const char* name : {"fifo", "link"}) {
    const std::string path = dir.File(name);
    EXPECT_FALSE(Sha256File(path.c_str(), &hex)) << name;
    Sha256Ahead({path});
    EXPECT_EQ(Sha256Files({path}), std::vector<std::string>{""}) << name;
  }
}

// A digest taken ahead is used only when a later change must move the
// file's change time: a time that falls in the second of the hashing, or
// shows no nanoseconds (a file system that keeps whole seconds), might not.
TEST(Sha256, AheadOnlyWhereTheChangeTimeIsFineEnough) {
  const timespec now{1000, 500000000};
  const struct {
    timespec changed;
    bool settled;
  } cases[] = {
      {{999, 999999999}, true},
      {{999, 0}, false},           // whole seconds
      {{1000, 1}, false},          // the second of the hashing
      {{1000, 600000000}, false},  // later than the clock
  };
  for (const auto& c : cases)
    EXPECT_EQ(Sha256StampSettled(c.changed, now), c.settled) << c.changed.tv_sec << "." << c.changed.tv_nsec;
}

// Many files at once: each digest lands in its own place, whichever thread
// took the file, and one that cannot be read leaves its place empty.
TEST(Sha256, ManyFilesAtOnce) {
  ScratchDir dir;
  std::vector<std::string> paths, want;
  for (int i = 0; i < 40; ++i) {
    const std::string name = "f" + std::to_string(i);
    const std::string content(1000 * i, static_cast<char>('a' + i % 26));
    paths.push_back(i == 17 ? dir.File("missing") : dir.Write(name, content));
    std::string hex;
    want.push_back(Sha256File(paths.back().c_str(), &hex) ? hex : "");
  }
  EXPECT_EQ(Sha256Files(paths), want);
  EXPECT_TRUE(want[17].empty());
  EXPECT_TRUE(Sha256Files({}).empty());
}

// A file hashed ahead and changed afterwards is hashed again, the digest
// being that of what it holds now: changed at once, within the clock tick
// of its writing (which leaves its times as they were), or later.
TEST(Sha256, AheadDigestOfAChangedFileIsNotUsed) {
  ScratchDir dir;
  const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const struct {
    const char* change;
    const char* before;
    std::function<void(const std::string&)> apply;
  } cases[] = {
      {"rewritten in place", "xyz",
       [](const std::string& p) {
         FILE* f = std::fopen(p.c_str(), "r+");
         ASSERT_NE(f, nullptr);
         std::fputs("abc", f);
         std::fclose(f);
       }},
      {"cut short", "abcdef", [](const std::string& p) { ASSERT_EQ(truncate(p.c_str(), 3), 0); }},
      {"replaced", "xyz",
       [&](const std::string& p) { ASSERT_EQ(std::rename(dir.Write("other", "abc").c_str(), p.c_str()), 0); }},
      {"unchanged", "abc", [](const std::string&) {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    for (int ms : {0, 1, 30}) {
      const std::string path = dir.Write("f" + std::to_string(++n), c.before);
      Sha256Ahead({path});
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
      c.apply(path);
      EXPECT_EQ(Sha256Files({path}), std::vector<std::string>{abc}) << c.change << " after " << ms << " ms";
    }
  }
}

}  // namespace
