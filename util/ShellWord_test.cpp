#include "ShellWord.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "test_support.h"

namespace {

TEST(ShellWord, ClassesOfText) {
  struct Case {
    const char* text;
    ShellWordClass cls;
  } cases[] = {
      {"/opt/My_Dir-2.0+x,y@h:z=1", kShellPlain}, {"lib/*.so", kShellPattern}, {"a\tb", kShellPattern},
      {"~user/%x#", kShellPattern},               {"/srv/My Disk", kShellQuoted}, {"/tmp/$(id)", kShellQuoted},
      {"/media/\xc3\xa9t\xc3\xa9", kShellQuoted},  {"it's", kShellQuoted},      {"a\nb", kShellRefused},
      {"\x1b[2J", kShellRefused},                  {"a\x7f", kShellRefused},    {"", kShellRefused},
  };
  for (const Case& c : cases) EXPECT_EQ(JudgeShellWord(c.text), c.cls) << c.text;
  EXPECT_EQ(JudgeShellWord(nullptr), kShellRefused);
  EXPECT_EQ(ShellWord("/opt/vpxx", 2), "/opt/vpxx");  // plain words keep today's lines
  EXPECT_EQ(ShellWord("a\nb", 2), "");
}

// Every hostile text reaches the command of a real two-shell line (as the
// runner builds it) and of a pipe line as one literal word, and runs nothing.
TEST(ShellWord, QuotedWordsReachTheCommandLiterally) {
  ScratchDir dir;
  const std::string marker = dir.File("ran");
  const std::string texts[] = {
      "/srv/My Disk", "$(touch " + marker + ")", "`touch " + marker + "`", "it's \"quoted\" \\ and $HOME",
      "a;touch " + marker, "*", "'\\''", "/media/\xc3\xa9t\xc3\xa9 \\$ \\` !",
  };
  for (const std::string& text : texts) {
    const std::string out = dir.File("out");
    const std::string inner = "/bin/sh -c \"printf %s " + ShellWord(text.c_str(), 2) + " > " + out + "\"";
    ASSERT_EQ(std::system(inner.c_str()), 0) << inner;
    EXPECT_EQ(ReadWholeFile(out), text) << inner;
    const std::string pipe = "printf %s " + ShellWord(text.c_str(), 1) + " > " + out;
    ASSERT_EQ(std::system(pipe.c_str()), 0) << pipe;
    EXPECT_EQ(ReadWholeFile(out), text) << pipe;
  }
  EXPECT_TRUE(ReadWholeFile(marker).empty());
  EXPECT_NE(access(marker.c_str(), F_OK), 0) << "a quoted word ran a command";
}

TEST(ShellWord, ArgumentsThatTheOuterShellWouldRewrite) {
  for (const char* ok : {"-e 's/@V@/3.00/' -e 's/x$/y/'", "-e 's/a/b/g;s/$/ end/'", "s/\\./,/", ""})
    EXPECT_TRUE(IsSafeShellArguments(ok)) << ok;
  for (const char* bad : {"-e \"s/a/b/\"", "-e `id`", "'$(id)'", "'${HOME}'", "'$HOME'", "'$1'", "'$!N'", "\\$x",
                          "\\\"", "a\nb", "\x1b"})
    EXPECT_FALSE(IsSafeShellArguments(bad)) << bad;
}

}  // namespace
