#include "TerminalCharset.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "utils.h"

namespace {

// What a child with the locale variables given writes to its standard
// output and error: "caf\xE9 \xA9", then, in hex, the line typed (input).
std::string ChildWrites(const char* lcAll, const char* lcCtype, const char* lang, const std::string& input) {
  int out[2], in[2];
  if (pipe(out) != 0 || pipe(in) != 0) return "no pipe";
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(out[1], 2);
    dup2(in[0], 0);
    for (const auto& [name, value] : {std::pair{"LC_ALL", lcAll}, {"LC_CTYPE", lcCtype}, {"LANG", lang}}) {
      if (value != nullptr) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    }
    UseTerminalCharset();
    std::printf("caf\xE9 ");
    std::fflush(stdout);
    std::fprintf(stderr, "\xA9|");
    char line[64];
    if (Gets(line, sizeof line) != nullptr)
      for (const char* p = line; *p != '\0'; ++p) std::printf("%02X", static_cast<unsigned char>(*p));
    std::fflush(stdout);
    _exit(0);
  }
  close(out[1]);
  close(in[0]);
  if (write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) return "no input";
  close(in[1]);
  std::string text;
  char buf[256];
  for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
  close(out[0]);
  waitpid(pid, nullptr, 0);
  return text;
}

// Only a UTF-8 codeset converts, as the C library finds it (LC_ALL, then
// LC_CTYPE, then LANG); elsewhere the ISO 8859-1 bytes go out as they are.
// Typed UTF-8 comes back as ISO 8859-1: an accented answer is the same
// answer under either codeset; what ISO 8859-1 cannot hold is '?'.
TEST(TerminalCharset, OnlyAUtf8LocaleConvertsBothWays) {
  const std::string latin1 = "caf\xE9 \xA9|";
  const std::string utf8 = "caf\xC3\xA9 \xC2\xA9|";
  const struct {
    const char *lcAll, *lcCtype, *lang;
    bool converts;
  } cases[] = {
      {nullptr, nullptr, "fr_FR", false},       {nullptr, nullptr, nullptr, false},
      {nullptr, nullptr, "fr_FR.UTF-8", true},  {nullptr, nullptr, "de_DE.utf8@euro", true},
      {nullptr, nullptr, "fr_FR.ISO-8859-1", false}, {"C", nullptr, "fr_FR.UTF-8", false},
      {nullptr, "C.UTF-8", "fr_FR", true},      {"", "", "C.UTF-8", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.lang ? c.lang : "-") + " LC_ALL=" + (c.lcAll ? c.lcAll : "-") +
                 " LC_CTYPE=" + (c.lcCtype ? c.lcCtype : "-"));
    if (c.converts) {
      // é typed, a euro sign (no ISO 8859-1 letter), and a stray byte.
      EXPECT_EQ(ChildWrites(c.lcAll, c.lcCtype, c.lang, "\xC3\xA9\xE2\x82\xAC\xE9\n"), utf8 + "E93FE9");
    } else {
      EXPECT_EQ(ChildWrites(c.lcAll, c.lcCtype, c.lang, "\xE9\n"), latin1 + "E9");
    }
  }
}

// A name may not drive the terminal: the control characters (127 too) are
// '?', the blank and the ISO 8859-1 letters stay.
TEST(TerminalCharset, NamesAreShownWithoutControls) {
  EXPECT_EQ(ShownWithoutControls(std::string("/opt/a\tb\nc\x1b[2J\x7f d\xE9\x80", 19)), "/opt/a?b?c?[2J? d\xE9\x80");
  EXPECT_EQ(ShownWithoutControls(std::string("a\0b", 3)), "a?b");
}

}  // namespace
